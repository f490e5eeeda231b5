#include "integra/CustomerText.h"

#include "base/TextUtils.h"

std::string CustomerText::toUtf8(std::string bytes) {
    const std::string_view b(bytes);
    if (b.substr(0, 3) == "\xEF\xBB\xBF") {
        std::string rest = bytes.substr(3);
        return isValidUtf8(rest) ? rest : windows1252ToUtf8(rest);
    }
    if (b.substr(0, 2) == "\xFF\xFE")
        return *utf16ToUtf8(b.substr(2), false, false);
    if (b.substr(0, 2) == "\xFE\xFF")
        return *utf16ToUtf8(b.substr(2), true, false);
    if (isValidUtf8(bytes))
        return bytes;
    return windows1252ToUtf8(b);
}

std::vector<std::string_view> CustomerText::splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

CustomerText::CustomerText(std::string bytes) : m_text(toUtf8(std::move(bytes))), m_lines(splitLines(m_text)) {}
