#include "integra/SemicolonCsv.h"

namespace {

bool blank(std::span<const std::string_view> fields) {
    for (const std::string_view f : fields)
        for (const char c : f)
            if (c != ' ' && c != '\t')
                return false;
    return true;
}

bool lineBreak(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

SemicolonCsv::SemicolonCsv(std::string_view text) {
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        // One record: fields until a line break outside quotes, or the end of the text.
        const int recordLine = line;
        const size_t first = m_fields.size();
        for (;;) {
            if (i < text.size() && text[i] == '"') {
                const int startLine = line;
                std::string value;
                ++i;
                for (;;) {
                    if (i >= text.size())
                        throw Unterminated{startLine};
                    const char q = text[i];
                    if (q == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            value += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (q == '\n' || (q == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n')))
                        ++line;
                    value += q;
                    ++i;
                }
                // Text after the closing quote, up to the separator, belongs to the field.
                const size_t end = text.find_first_of(";\r\n", i);
                value.append(text.substr(i, (end == std::string_view::npos ? text.size() : end) - i));
                i = end == std::string_view::npos ? text.size() : end;
                m_fields.push_back(m_copies.emplace_back(std::move(value)));
            } else {
                const size_t end = text.find_first_of(";\r\n", i);
                const size_t stop = end == std::string_view::npos ? text.size() : end;
                m_fields.push_back(text.substr(i, stop - i));
                i = stop;
            }
            if (i < text.size() && text[i] == ';') {
                ++i;
                continue; // the next field of this record (an empty one when the record ends here)
            }
            break;
        }
        if (i < text.size() && lineBreak(text[i])) {
            i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            ++line;
        }
        const size_t count = m_fields.size() - first;
        if (blank(std::span<const std::string_view>(m_fields).subspan(first, count)))
            m_fields.resize(first);
        else
            m_records.push_back({recordLine, first, count});
    }
}
