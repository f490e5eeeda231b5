#pragma once

#include "integra/CustomerFormat.h"

/// The Honeywell typed-record text file, read in its own order: a header record sets the manufacturer
/// and gross weight of what follows it, an item record opens a line item (and an invoice item when its
/// invoice number changes), and detail and description records complete the item before them. Lines
/// of any other kind are skipped.
class HoneywellFile : public CustomerFormat {
public:
    const Names& names() const override;
    int progressSteps(const CustomerText& text) const override;
    std::string build(const CustomerText& text, MerlinRequestDocument& doc, WalkContext& ctx) const override;
};
