#pragma once

#include <span>
#include <string_view>

// The record types of Merlin's receiveMerlinRequest operation: the vocabulary (element names and value
// types) of the request document. Header-only and free of the rest of the program, so merlin-sim checks
// requests against the very table the integrations write from.

/// The value type of an element.
enum class MerlinType {
    String,      // text
    Decimal,     // a decimal number, "." as separator
    DateTime,    // an XML date-time; the integrations write yyyy-mm-dd
    StringArray, // a repeated text element
    RecordArray, // a repeated nested record (MerlinElement::record names it)
    Record,      // one nested record (MerlinElement::record names it)
};

/// One element of a record type, in its place.
struct MerlinElement {
    std::string_view name;
    MerlinType type;
    std::string_view record; // the nested record type of Record and RecordArray; empty otherwise
};

/// A record type: its name and its elements in order.
struct MerlinRecordType {
    std::string_view name;
    std::span<const MerlinElement> elements;

    /// The element of that name, or nullptr. Names compare exactly (the service is case-sensitive).
    constexpr const MerlinElement* find(std::string_view element) const {
        for (const MerlinElement& e : elements)
            if (e.name == element)
                return &e;
        return nullptr;
    }
    /// The element's position from 1, or 0.
    constexpr int position(std::string_view element) const {
        int n = 1;
        for (const MerlinElement& e : elements) {
            if (e.name == element)
                return n;
            ++n;
        }
        return 0;
    }
};

/// The element of a record type, looked up while compiling: a name the record does not have stops the
/// build, so a misspelt element can never reach a request document.
consteval const MerlinElement& merlinElement(const MerlinRecordType& record, std::string_view name) {
    for (const MerlinElement& e : record.elements)
        if (e.name == name)
            return e;
    throw "element not in the record type"; // not a constant expression: the build stops here
}

/// "string", "decimal", "dateTime", "array of string", "array of X" or "X".
inline std::string_view merlinTypeName(MerlinType type) {
    switch (type) {
    case MerlinType::String:
        return "string";
    case MerlinType::Decimal:
        return "decimal";
    case MerlinType::DateTime:
        return "dateTime";
    case MerlinType::StringArray:
        return "array of string";
    case MerlinType::RecordArray:
        return "array";
    case MerlinType::Record:
        return "record";
    }
    return "";
}
