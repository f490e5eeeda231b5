#pragma once

#include "integra/MerlinRecordTable.h"
#include "integra/MerlinRequestLayout.h"

#include <string_view>

/// Where the value of one request element comes from.
enum class ValueFrom {
    Text,         // the field, trimmed
    Number,       // the field with every "," replaced by ".", trimmed
    Mapped,       // the field, trimmed, translated by the code mapping of the rule's registry, trimmed
    Fixed,        // the rule's text
    Invoice,      // the current invoice number
    Year,         // the current year, four digits
    DayMonthYear, // ddmmyyyy → yyyy-mm-dd; the element is left out when the field is blank
    DayMonthYY,   // ddmmyy → yyyy-mm-dd, century by the two-digit year; left out when the year is blank
    Carried,      // a value an earlier record left for the ones after it (slot in the rule's position)
};

/// One element of an invoice or line item and where its value comes from: a field of a fixed-width
/// line (position from 1 and length) or a column of a semicolon file (by name). The customer Parts'
/// field tables are written as lists of these, in element order.
struct ElementRule {
    const MerlinElement* element;
    ValueFrom from;
    int position = 0;
    int length = 0;
    const char* column = nullptr;
    std::string_view text; // Fixed: the value; Mapped: the registry (FABRICANTE, EXPORTADOR, UNIDADE)

    static constexpr ElementRule field(const MerlinElement& e, ValueFrom from, int position, int length,
                                       std::string_view registry = {}) {
        return {&e, from, position, length, nullptr, registry};
    }
    static constexpr ElementRule inColumn(const MerlinElement& e, ValueFrom from, const char* name,
                                          std::string_view registry = {}) {
        return {&e, from, 0, 0, name, registry};
    }
    static constexpr ElementRule fixed(const MerlinElement& e, std::string_view value) {
        return {&e, ValueFrom::Fixed, 0, 0, nullptr, value};
    }
    static constexpr ElementRule of(const MerlinElement& e, ValueFrom from) { return {&e, from, 0, 0, nullptr, {}}; }
    static constexpr ElementRule carried(const MerlinElement& e, int slot) {
        return {&e, ValueFrom::Carried, slot, 0, nullptr, {}};
    }
};

/// What the customers' rule tables are written with.
namespace rules {

using R = ElementRule;
using V = ValueFrom;
inline constexpr const MerlinRecordType& Inv = merlin::LYT_INVOICEDATA;
inline constexpr const MerlinRecordType& Det = merlin::LYT_INVOICEDETAILDATA;

/// An invoice value common to every integration, with the value the request layout gives it.
consteval ElementRule common(const MerlinElement& e) {
    return ElementRule::fixed(e, merlin::request::commonValue(e));
}

} // namespace rules
