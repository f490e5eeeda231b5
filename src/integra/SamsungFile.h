#pragma once

#include "integra/CustomerFormat.h"

/// The Samsung fixed-width text file: its lines grouped by invoice number, each invoice item filled from
/// the line that opens it and one line item per file line. Blank lines carry nothing and are skipped.
class SamsungFile : public CustomerFormat {
public:
    const Names& names() const override;
    int progressSteps(const CustomerText& text) const override;
    std::string build(const CustomerText& text, MerlinRequestDocument& doc, WalkContext& ctx) const override;
};
