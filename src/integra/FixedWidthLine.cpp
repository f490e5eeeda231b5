#include "integra/FixedWidthLine.h"

FixedWidthLine::FixedWidthLine(std::string_view line) : m_line(line) {
    bool ascii = true;
    for (const char c : line)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return;
    for (size_t i = 0; i < line.size(); ++i)
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80)
            m_offsets.push_back(i);
}

std::string_view FixedWidthLine::field(int position, int length) const {
    if (position < 1 || length <= 0)
        return {};
    const size_t first = static_cast<size_t>(position - 1);
    const size_t count = static_cast<size_t>(length);
    if (m_offsets.empty())
        return first >= m_line.size() ? std::string_view() : m_line.substr(first, count);
    if (first >= m_offsets.size())
        return {};
    const size_t begin = m_offsets[first];
    const size_t end = first + count >= m_offsets.size() ? m_line.size() : m_offsets[first + count];
    return m_line.substr(begin, end - begin);
}
