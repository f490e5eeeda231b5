#pragma once

#include <optional>
#include <string>

// The value conversions the Orientador transfers apply before a value is written.

/// yyyy-mm-dd → ddmmyyyy (characters 9–10, 6–7 and 1–4); an empty text stays empty.
std::string diDate(const std::string& ymd);
/// The value left-padded with "0" to n characters (never cut).
std::string padZeros(const std::string& value, std::size_t n);
/// A decimal text as t digits with d implied decimals and no separator: split at the first "." or ",",
/// the integer part left-padded to t − d digits, the fraction right-padded to d digits; neither is cut.
/// 12.5 as fixed 15.5 is 000000001250000.
std::string fixedDigits(const std::string& value, std::size_t t, std::size_t d);
/// "SIM" → true, "NAO" → false, anything else → nothing (the flag is left as it is).
std::optional<bool> simNaoFlag(const std::string& value);
/// Every "|" of a Merlin text becomes a line break (carriage return + line feed).
std::string restoreLineBreaks(const std::string& text);
/// A literal for a record set command text: between single quotes, inner quotes doubled.
std::string quotedLiteral(const std::string& value);
/// True when value is not empty and occurs inside list ("3" in "1;3;4"); an empty value occurs nowhere.
bool occursIn(const std::string& value, const std::string& list);
/// A number written out with "," as decimal separator, at most fifteen significant digits and never in
/// exponent form (710.45 → "710,45", 0 → "0").
std::string localeDecimal(double value);
