#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How a value of an Orientador table is put into the export files. The values arrive as UTF-8; the
// XML file is UTF-8, the CSV file is in Windows code page 1252, which is what Merlin reads. Nothing is
// ever replaced silently: a value that a file cannot hold is reported by the character that stands in
// the way, and the caller refuses the export naming table, row and column.

/// Why a value cannot be written.
struct EncodingProblem {
    enum class Kind {
        None,
        InvalidUtf8,     // the stored bytes are not UTF-8 text
        NotInCodePage,   // a character code page 1252 has no byte for
        NotAllowedInXml, // a control character XML 1.0 cannot carry, not even as a reference
    };
    Kind kind = Kind::None;
    char32_t character = 0; // the offending character (InvalidUtf8: the first bad byte)

    explicit operator bool() const { return kind != Kind::None; }
};

/// The character at position pos of a UTF-8 text and the number of bytes it takes; 0 bytes for a
/// malformed sequence (an overlong form, a surrogate, a code point past U+10FFFF, a cut sequence).
std::size_t decodeUtf8(std::string_view text, std::size_t pos, char32_t& character);

/// The code page 1252 byte of a character, or -1 when the code page has none for it. The five bytes
/// the code page leaves undefined (81, 8D, 8F, 90, 9D) are never produced.
int cp1252Byte(char32_t character);

/// Appends the UTF-8 text converted to code page 1252.
EncodingProblem appendCp1252(std::string_view utf8, std::string& out);

/// Appends one CSV field in code page 1252. A value holding the separator ";", a double quote, a
/// carriage return or a line feed is enclosed in double quotes and its quotes are doubled (the common
/// CSV quoting; a value without those characters is written as it is). Nothing is appended after it.
EncodingProblem appendCsvField(std::string_view utf8, std::string& out);

/// Appends the text for XML character data (attribute: for a value between double quotes): &, <, >
/// (and " in attributes) as entities, a carriage return as &#13; so that a parser gives it back
/// instead of folding it into the line feed; tab and line feed stay as they are.
EncodingProblem appendXmlEscaped(std::string_view utf8, std::string& out, bool attribute = false);

/// "U+00E9" for a character.
std::string codePointText(char32_t character);
