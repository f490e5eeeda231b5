#include "integra/CustomerText.h"

#include "base/TextUtils.h"

#include <cstdint>

namespace {

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        std::uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF)
            u = 0xFFFD; // half of a pair: the character is lost, the text around it is not
        appendUtf8(out, u);
    }
    if (i < bytes.size())
        appendUtf8(out, 0xFFFD); // an odd last byte
    return out;
}

} // namespace

std::string CustomerText::toUtf8(std::string bytes) {
    const std::string_view b(bytes);
    if (b.substr(0, 3) == "\xEF\xBB\xBF") {
        std::string rest = bytes.substr(3);
        return isValidUtf8(rest) ? rest : windows1252ToUtf8(rest);
    }
    if (b.substr(0, 2) == "\xFF\xFE")
        return utf16ToUtf8(b.substr(2), false);
    if (b.substr(0, 2) == "\xFE\xFF")
        return utf16ToUtf8(b.substr(2), true);
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
