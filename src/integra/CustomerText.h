#pragma once

#include <string>
#include <string_view>
#include <vector>

/// The text of a customer file as lines of UTF-8. Customers write their files with whatever their
/// systems use: UTF-8 is kept as it is (its byte-order mark dropped), UTF-16 with a byte-order mark is
/// converted, and anything else is read as windows-1252, the code page of the office's Windows machines.
/// Lines end at CR LF, LF or CR; a line break at the very end does not start another line.
class CustomerText {
public:
    explicit CustomerText(std::string bytes);
    CustomerText(const CustomerText&) = delete;
    CustomerText& operator=(const CustomerText&) = delete;

    /// The lines, pointing into the text this object holds.
    const std::vector<std::string_view>& lines() const { return m_lines; }
    const std::string& text() const { return m_text; }

    static std::string toUtf8(std::string bytes);
    static std::vector<std::string_view> splitLines(std::string_view text);

private:
    std::string m_text;
    std::vector<std::string_view> m_lines;
};
