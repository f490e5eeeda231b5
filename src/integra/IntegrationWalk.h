#pragma once

#include "integra/ElementRule.h"
#include "integra/MerlinRequestDocument.h"

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

/// Translates a customer's code into the Merlin code of a registry (the code mapping).
class CodeTranslator {
public:
    virtual ~CodeTranslator() = default;
    virtual std::string merlinCode(std::string_view registry, std::string_view customerCode) = 0;
};

/// What a walk over a customer file needs besides the file.
struct WalkContext {
    CodeTranslator& codes;
    /// The invoice number of records that carry none (Samsung, Synthes).
    std::string randomInvoice;
    /// The current year: ANNO, and the century of two-digit years.
    int year = 0;
    /// Told before each record is handled, with its count from 0 ("Recebendo Linha N"); may be empty.
    std::function<void(int)> recordRead;
};

/// The raw values a record offers to its rules.
class FieldSource {
public:
    virtual ~FieldSource() = default;
    /// The untrimmed text of the rule's field or column.
    virtual std::string_view raw(const ElementRule& rule) const = 0;
};

/// Writes items of a request document from rule lists, keeping what the walk over a file carries from
/// record to record: the current invoice number, the values a record leaves for later ones, and the file
/// line being read (named by failures).
class RuleWriter {
public:
    RuleWriter(MerlinRequestDocument& doc, WalkContext& ctx);

    void write(MerlinRequestDocument::Invoice item, std::span<const ElementRule> rules, const FieldSource& source);
    void write(MerlinRequestDocument::Line item, std::span<const ElementRule> rules, const FieldSource& source);

    /// The value of one rule; false when the element is to be left out (a blank date).
    bool value(const ElementRule& rule, const FieldSource& source, std::string& out);

    std::string invoiceNumber;
    std::array<std::string, 2> carried;
    int fileLine = 0;

private:
    template <class Item> void writeItem(Item item, std::span<const ElementRule> rules, const FieldSource& source);

    MerlinRequestDocument& m_doc;
    WalkContext& m_ctx;
    std::string m_year;
    std::string m_value;
};

/// A text without the blanks and control characters around it (the customer files' notion of empty).
std::string_view trimmedView(std::string_view text);
/// A number as the customer wrote it, every "," replaced by ".", trimmed.
std::string numberText(std::string_view text);
