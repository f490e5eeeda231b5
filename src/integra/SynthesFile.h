#pragma once

#include "integra/CustomerFormat.h"

/// The Synthes semicolon file: a header record naming the columns, then one record per invoice line,
/// grouped by the FATURA column when the file has one (in file order otherwise).
class SynthesFile : public CustomerFormat {
public:
    const Names& names() const override;
    int progressSteps(const CustomerText& text) const override;
    std::string build(const CustomerText& text, MerlinRequestDocument& doc, WalkContext& ctx) const override;
};
