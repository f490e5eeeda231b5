#include "export/ExportEncoding.h"

#include <cstdio>

namespace {

// Characters of code page 1252 bytes 80 to 9F; 0 where the code page defines no character.
constexpr char32_t HighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool plainAscii(unsigned char c) {
    return c < 0x80;
}

} // namespace

std::size_t decodeUtf8(std::string_view text, std::size_t pos, char32_t& character) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        character = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    character = c;
    return length;
}

int cp1252Byte(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<int>(character);
    for (int i = 0; i < 32; ++i)
        if (HighControls[i] != 0 && HighControls[i] == character)
            return 0x80 + i;
    return -1;
}

EncodingProblem appendCp1252(std::string_view utf8, std::string& out) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        // Runs of plain ASCII are the usual content and go across in one piece.
        std::size_t run = pos;
        while (run < utf8.size() && plainAscii(static_cast<unsigned char>(utf8[run])))
            ++run;
        out.append(utf8.data() + pos, run - pos);
        pos = run;
        if (pos >= utf8.size())
            break;
        char32_t c = 0;
        const std::size_t length = decodeUtf8(utf8, pos, c);
        if (length == 0)
            return {EncodingProblem::Kind::InvalidUtf8, static_cast<unsigned char>(utf8[pos])};
        const int b = cp1252Byte(c);
        if (b < 0)
            return {EncodingProblem::Kind::NotInCodePage, c};
        out.push_back(static_cast<char>(b));
        pos += length;
    }
    return {};
}

EncodingProblem appendCsvField(std::string_view utf8, std::string& out) {
    // The characters that decide the quoting are ASCII, so they cannot hide inside a longer sequence.
    if (utf8.find_first_of(";\"\r\n") == std::string_view::npos)
        return appendCp1252(utf8, out);
    out.push_back('"');
    std::size_t pos = 0;
    for (;;) {
        const std::size_t quote = utf8.find('"', pos);
        const std::string_view part =
            utf8.substr(pos, quote == std::string_view::npos ? std::string_view::npos : quote - pos);
        if (const EncodingProblem problem = appendCp1252(part, out))
            return problem;
        if (quote == std::string_view::npos)
            break;
        out.append("\"\"");
        pos = quote + 1;
    }
    out.push_back('"');
    return {};
}

EncodingProblem appendXmlEscaped(std::string_view utf8, std::string& out, bool attribute) {
    std::size_t pos = 0;
    std::size_t plainFrom = 0;
    const auto flush = [&] { out.append(utf8.data() + plainFrom, pos - plainFrom); };
    while (pos < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[pos]);
        const char* entity = nullptr;
        if (c >= 0x20 && c < 0x80) {
            if (c == '&')
                entity = "&amp;";
            else if (c == '<')
                entity = "&lt;";
            else if (c == '>')
                entity = "&gt;";
            else if (c == '"' && attribute)
                entity = "&quot;";
            if (!entity) {
                ++pos;
                continue;
            }
        } else if (c == '\r') {
            entity = "&#13;";
        } else if (c == '\n' || c == '\t') {
            if (attribute)
                entity = c == '\n' ? "&#10;" : "&#9;";
            else {
                ++pos;
                continue;
            }
        } else if (c < 0x20) {
            return {EncodingProblem::Kind::NotAllowedInXml, c};
        } else {
            char32_t ch = 0;
            const std::size_t length = decodeUtf8(utf8, pos, ch);
            if (length == 0)
                return {EncodingProblem::Kind::InvalidUtf8, c};
            if (ch == 0xFFFE || ch == 0xFFFF)
                return {EncodingProblem::Kind::NotAllowedInXml, ch};
            pos += length;
            continue;
        }
        flush();
        out.append(entity);
        ++pos;
        plainFrom = pos;
    }
    flush();
    return {};
}

std::string codePointText(char32_t character) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(character));
    return text;
}
