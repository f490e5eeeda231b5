#pragma once

#include "data/OrientadorField.h"

#include <string>
#include <variant>

/// A value as an Orientador file stores it: null, whole number, floating number or text. Dates are
/// stored as yyyy-mm-dd (hh:mm:ss) texts, Yes/No as −1 / 0.
using OrientadorValue = std::variant<std::monostate, long long, double, std::string>;

/// The stored form of a text bound for a field, converted by the field's kind. A blank text gives null.
/// With checkWidth, a text longer than a text field's width is refused (blanks beyond it are dropped)
/// and a memo is cut to its width. Throws AppError naming the field for a value it cannot hold.
OrientadorValue orientadorStoredValue(const OrientadorField& field, const std::string& text, bool checkWidth);
/// The stored form of a number bound for a field. Throws AppError naming the field when it cannot hold it.
OrientadorValue orientadorStoredNumber(const OrientadorField& field, double value);
/// A stored value as text: numbers with "," as decimal separator, Yes/No as "True"/"False", dates as
/// dd/mm/yyyy (with hh:mm:ss when the time is not midnight), null as "".
std::string orientadorValueText(const OrientadorField& field, const OrientadorValue& value);

/// A decimal number as text with "," as separator and at most 15 significant digits ("1234,56").
std::string orientadorDecimalText(double value);
/// dd/mm/yyyy [hh:mm[:ss]] or yyyy-mm-dd [hh:mm[:ss]] as yyyy-mm-dd [hh:mm:ss]; false when the text is
/// not a date of the calendar.
bool orientadorParseDate(const std::string& text, std::string& stored);
