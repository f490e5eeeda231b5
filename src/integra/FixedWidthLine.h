#pragma once

#include <string>
#include <string_view>
#include <vector>

/// One line of a fixed-width customer file. Positions count characters from 1; a field that runs past
/// the end of the line is cut there, and one that starts past it is empty.
class FixedWidthLine {
public:
    /// The line must outlive this object.
    explicit FixedWidthLine(std::string_view line);

    /// length characters from position (from 1), untrimmed.
    std::string_view field(int position, int length) const;
    /// The first characters of the line (the record-type tests of typed files).
    bool startsWith(std::string_view prefix) const { return m_line.substr(0, prefix.size()) == prefix; }
    std::string_view text() const { return m_line; }

private:
    std::string_view m_line;
    // Byte offset of each character, filled only for lines that are not plain ASCII (where a
    // character is a byte and positions are offsets).
    std::vector<size_t> m_offsets;
};
