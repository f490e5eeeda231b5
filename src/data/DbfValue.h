#pragma once

#include "data/DbfCodePage.h"
#include "data/DbfField.h"

#include <optional>
#include <string>
#include <string_view>

/// Conversion between the program's texts (UTF-8, dd/mm/yyyy dates, decimal comma or point) and the
/// bytes a dBase field stores. Memo fields hold only their block number here.
class DbfValue {
public:
    /// The stored bytes (exactly field.length) of text. With cut, a character value longer than the
    /// field keeps its first characters (the rule of key searches); without it, it is refused with a
    /// message naming the field and the table.
    static std::string encode(const DbfField& field, const std::string& text, DbfCodePage::Page page,
                              const std::string& table, bool cut = false);
    /// The text of stored bytes: characters without trailing blanks, dates as dd/mm/yyyy (empty when
    /// blank), numbers trimmed, logicals "T", "F" or empty.
    static std::string decode(const DbfField& field, std::string_view bytes, DbfCodePage::Page page);
    /// A number as stored in a field of this width and decimals, right-aligned; refused when the text
    /// is not a number or does not fit.
    static std::string number(const DbfField& field, const std::string& text, const std::string& table);
    /// A decimal text ("," or "." as separator, sign allowed) rounded half up to decimals, in the
    /// digits themselves: "-12,345" with 2 gives "-12.35". nullopt when the text is no number.
    static std::optional<std::string> rounded(const std::string& text, unsigned decimals);
    /// A date text (dd/mm/yyyy, yyyy-mm-dd or yyyymmdd) as yyyymmdd; refused when it is no date.
    static std::string date(const DbfField& field, const std::string& text, const std::string& table);
};
