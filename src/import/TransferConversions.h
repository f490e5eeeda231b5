#pragma once

#include <optional>
#include <string>

// Value conversions of the Orientador transfers besides the text routines (zero padding, fixed-point
// digits, dates) they share with the rest of the program.

/// "SIM" → true, "NAO" → false, anything else → nothing (the flag is left as it is).
std::optional<bool> simNaoFlag(const std::string& value);
/// Every "|" of a Merlin text becomes a line break (carriage return + line feed).
std::string restoreLineBreaks(const std::string& text);
/// A literal for a record set command text: between single quotes, inner quotes doubled.
std::string quotedLiteral(const std::string& value);
/// True when value is not empty and occurs inside list ("3" in "1;3;4"); an empty value occurs nowhere.
bool occursIn(const std::string& value, const std::string& list);

class RecordSet;
/// A field of the current row read as a whole number; throws AppError naming the field, the process
/// and the value when it is not one ("VIA_TRANSPORTE do processo 222 inválido: 'aéreo' não é …").
long long wholeNumber(const RecordSet& set, const std::string& field, const std::string& process);
