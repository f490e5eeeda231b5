#pragma once

#include "platform/ProgramVersion.h"
#include "platform/TextCase.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Logs;

// Text and value routines shared by every part of the program. Texts are UTF-8; lengths and
// positions count characters, not bytes.

std::string trim(const std::string& s);
std::string trimLeft(const std::string& s);
std::string trimRight(const std::string& s);
/// Every occurrence of what replaced by with, case sensitive.
std::string replaceAll(const std::string& text, const std::string& what, const std::string& with);
/// Every occurrence of what replaced by with, without regard to case. An empty what changes nothing.
std::string replaceNoCase(const std::string& text, const std::string& what, const std::string& with);
std::vector<std::string> split(const std::string& text, char separator);
/// A value as a message quotes it: in single quotes, line breaks and tabs shown as blanks, cut after
/// maxChars characters ("…" and the whole length follow). A huge or many-line value keeps the message,
/// the terminal and the error log readable.
std::string quotedForMessage(const std::string& value, size_t maxChars = 120);
/// Number of characters (code points) of a UTF-8 text.
size_t charCount(const std::string& s);
/// Characters [first, first + count) of a UTF-8 text, positions from 0; clipped to the text.
std::string charSub(const std::string& s, size_t first, size_t count = std::string::npos);
/// True when the bytes are well-formed UTF-8.
bool isValidUtf8(const std::string& s);
/// A windows-1252 text (ISO-8859-1 included: its C1 range is read as windows-1252, which is what
/// Windows programs writing "ISO-8859-1" really send) as UTF-8.
std::string windows1252ToUtf8(std::string_view bytes);
/// Appends one character (a code point up to U+10FFFF) to a UTF-8 text.
void appendUtf8(std::string& out, char32_t codePoint);
/// UTF-16 code units (after the byte-order mark) as UTF-8. A lone surrogate or an odd last byte
/// makes the answer nullopt when strict, and is U+FFFD otherwise (the text around it is kept).
std::optional<std::string> utf16ToUtf8(std::string_view units, bool bigEndian, bool strict);
/// Whole number in decimal, blanks around it allowed; throws AppError naming the text otherwise.
long long toInteger(const std::string& text);
/// Decimal number with "," or "." as decimal separator; throws AppError naming the text otherwise.
double toDecimal(const std::string& text);

/// Replaces every occurrence of old by new without regard to case. When the replacement fails the
/// operator is told and ERRO.CSV gets a line (through reporter, when given) and the result is empty.
std::string TROCACARACTER(const std::string& text, const std::string& oldText, const std::string& newText,
                          Logs* reporter = nullptr);

/// Prepends "0" until the text has at least length characters; a longer text is returned unchanged.
std::string zeroPadLeft(const std::string& text, size_t length);
/// Appends "0" until the text has at least length characters; a longer text is returned unchanged.
std::string zeroPadRight(const std::string& text, size_t length);
/// The first length characters, filled with blanks up to length (a fixed-width field).
std::string blankPad(const std::string& text, size_t length);
/// A decimal text as a digit string of totalDigits digits with `decimals` implied decimals and no
/// separator: 12,5 with 7.2 gives 0001250. Neither part is ever cut.
std::string fixedPointDigits(const std::string& number, size_t totalDigits, size_t decimals);
/// yyyy-mm-dd → ddmmyyyy (characters 9–10, 6–7 and 1–4). No check of the input.
std::string dateToDayMonthYear(const std::string& ymd);

/// Index of the first of the first count values equal to value, or −1.
int findInList(const std::vector<std::string>& values, const std::string& value, int count);
/// The same over the first column of a table.
int findInList(const std::vector<std::vector<std::string>>& rows, const std::string& value, int count);
/// Drops the header line, then gathers the lines by the distinct non-empty values of field column
/// (";"-separated, from 0) in order of first appearance; lines with that field empty come last.
std::vector<std::string> groupLinesByColumn(const std::vector<std::string>& lines, int column);

/// Display text of a dataset field type name ("ftString" → "String"); empty for unknown names.
std::string fieldTypeDisplayName(const std::string& typeName);

/// The name of a Windows version from the values the system reports.
/// platformId: 1 for the 9x family, 2 for the NT family.
std::string windowsVersionName(int platformId, unsigned major, unsigned minor, const std::string& servicePack);

/// The percentage text of a progress step: 2 of 3 gives "66%", 0 of 0 gives "0%".
std::string progressPercentText(long long current, long long total);
