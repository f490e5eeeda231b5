#include "base/TextUtils.h"

#include "base/AppError.h"
#include "base/Logs.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == '\0';
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Byte offset of character index n (or the size when the text is shorter).
size_t byteOffset(const std::string& s, size_t n) {
    size_t i = 0;
    while (i < s.size() && n > 0) {
        ++i;
        while (i < s.size() && isContinuation(static_cast<unsigned char>(s[i])))
            ++i;
        --n;
    }
    return i;
}

} // namespace

std::string trimLeft(const std::string& s) {
    size_t b = 0;
    while (b < s.size() && isBlank(s[b]))
        ++b;
    return s.substr(b);
}

std::string trimRight(const std::string& s) {
    size_t e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return s.substr(0, e);
}

std::string trim(const std::string& s) {
    return trimRight(trimLeft(s));
}

std::string replaceAll(const std::string& text, const std::string& what, const std::string& with) {
    if (what.empty())
        return text;
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t p; (p = text.find(what, from)) != std::string::npos; from = p + what.size()) {
        out.append(text, from, p - from);
        out += with;
    }
    out.append(text, from, std::string::npos);
    return out;
}

std::string replaceNoCase(const std::string& text, const std::string& what, const std::string& with) {
    if (what.empty())
        return text;
    const std::string folded = foldCase(text);
    const std::string key = foldCase(what);
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t p; (p = folded.find(key, from)) != std::string::npos; from = p + key.size()) {
        out.append(text, from, p - from);
        out += with;
    }
    out.append(text, from, std::string::npos);
    return out;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t p = text.find(separator, from);
        if (p == std::string::npos) {
            parts.push_back(text.substr(from));
            return parts;
        }
        parts.push_back(text.substr(from, p - from));
        from = p + 1;
    }
}

std::string quotedForMessage(const std::string& value, size_t maxChars) {
    const size_t length = charCount(value);
    std::string shown = length > maxChars ? value.substr(0, byteOffset(value, maxChars)) : value;
    for (char& c : shown)
        if (c == '\r' || c == '\n' || c == '\t' || c == '\0')
            c = ' ';
    if (length > maxChars)
        return "'" + shown + "…' (" + std::to_string(length) + " caracteres)";
    return "'" + shown + "'";
}

size_t charCount(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if (!isContinuation(c))
            ++n;
    return n;
}

std::string charSub(const std::string& s, size_t first, size_t count) {
    const size_t b = byteOffset(s, first);
    if (count == std::string::npos)
        return s.substr(b);
    const size_t e = b + byteOffset(s.substr(b), count);
    return s.substr(b, e - b);
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::optional<std::string> utf16ToUtf8(std::string_view units, bool bigEndian, bool strict) {
    auto unit = [&](size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(units[i]), b = static_cast<unsigned char>(units[i + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    std::string out;
    out.reserve(units.size());
    size_t i = 0;
    for (; i + 1 < units.size(); i += 2) {
        std::uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < units.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            if (strict)
                return std::nullopt;
            u = 0xFFFD;
        }
        appendUtf8(out, u);
    }
    if (i < units.size()) {
        if (strict)
            return std::nullopt;
        appendUtf8(out, 0xFFFD);
    }
    return out;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    // 0x80–0x9F as windows-1252 has them; its five unassigned bytes keep their Latin-1 meaning.
    static const char16_t c1[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const unsigned char c : bytes)
        appendUtf8(out, c >= 0x80 && c < 0xA0 ? c1[c - 0x80] : c);
    return out;
}

bool isValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t len;
        unsigned min;
        unsigned cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size())
            return false;
        for (size_t k = 1; k < len; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if (!isContinuation(d))
                return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

long long toInteger(const std::string& text) {
    const std::string t = trim(text);
    long long value = 0;
    const char* b = t.data();
    const char* e = t.data() + t.size();
    if (b != e && *b == '+')
        ++b;
    const auto r = std::from_chars(b, e, value);
    if (t.empty() || r.ec != std::errc() || r.ptr != e)
        throw AppError(quotedForMessage(text) + " não é um valor inteiro válido");
    return value;
}

double toDecimal(const std::string& text) {
    std::string t = trim(text);
    for (char& c : t)
        if (c == ',')
            c = '.';
    double value = 0;
    const char* b = t.data();
    const char* e = t.data() + t.size();
    if (b != e && *b == '+')
        ++b;
    const auto r = std::from_chars(b, e, value, std::chars_format::fixed);
    if (t.empty() || r.ec != std::errc() || r.ptr != e || !std::isfinite(value))
        throw AppError(quotedForMessage(text) + " não é um valor numérico válido");
    return value;
}

std::string TROCACARACTER(const std::string& text, const std::string& oldText, const std::string& newText,
                          Logs* reporter) {
    try {
        return replaceNoCase(text, oldText, newText);
    } catch (const std::exception& e) {
        if (reporter)
            reporter->reportFailure("OCORREU UM ERRO", e.what(), "Função TROCACARACTER");
        return std::string();
    }
}

std::string zeroPadLeft(const std::string& text, size_t length) {
    const size_t n = charCount(text);
    return n >= length ? text : std::string(length - n, '0') + text;
}

std::string zeroPadRight(const std::string& text, size_t length) {
    const size_t n = charCount(text);
    return n >= length ? text : text + std::string(length - n, '0');
}

std::string blankPad(const std::string& text, size_t length) {
    std::string head = charSub(text, 0, length);
    const size_t n = charCount(head);
    return n >= length ? head : head + std::string(length - n, ' ');
}

std::string fixedPointDigits(const std::string& number, size_t totalDigits, size_t decimals) {
    const size_t intDigits = totalDigits > decimals ? totalDigits - decimals : 0;
    const size_t p = number.find_first_of(".,");
    if (p != std::string::npos)
        return zeroPadLeft(number.substr(0, p), intDigits) + zeroPadRight(number.substr(p + 1), decimals);
    return zeroPadLeft(trim(number), intDigits) + zeroPadRight("0", decimals);
}

std::string dateToDayMonthYear(const std::string& ymd) {
    auto part = [&](size_t from, size_t count) { return from < ymd.size() ? ymd.substr(from, count) : std::string(); };
    return part(8, 2) + part(5, 2) + part(0, 4);
}

int findInList(const std::vector<std::string>& values, const std::string& value, int count) {
    for (int i = 0; i < count && i < static_cast<int>(values.size()); ++i)
        if (values[static_cast<size_t>(i)] == value)
            return i;
    return -1;
}

int findInList(const std::vector<std::vector<std::string>>& rows, const std::string& value, int count) {
    for (int i = 0; i < count && i < static_cast<int>(rows.size()); ++i) {
        const auto& row = rows[static_cast<size_t>(i)];
        if (!row.empty() && row.front() == value)
            return i;
    }
    return -1;
}

std::vector<std::string> groupLinesByColumn(const std::vector<std::string>& lines, int column) {
    std::vector<std::string> result;
    if (lines.empty() || column < 0)
        return result;
    auto fieldOf = [column](const std::string& line) {
        const auto fields = split(line, ';');
        return static_cast<size_t>(column) < fields.size() ? fields[static_cast<size_t>(column)] : std::string();
    };
    std::vector<std::string> keys;
    std::map<std::string, std::vector<std::string>> groups;
    std::vector<std::string> withoutKey;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string key = fieldOf(lines[i]);
        if (key.empty()) {
            withoutKey.push_back(lines[i]);
            continue;
        }
        auto [it, inserted] = groups.try_emplace(key);
        if (inserted)
            keys.push_back(key);
        it->second.push_back(lines[i]);
    }
    for (const auto& key : keys)
        for (const auto& line : groups[key])
            result.push_back(line);
    result.insert(result.end(), withoutKey.begin(), withoutKey.end());
    return result;
}

std::string fieldTypeDisplayName(const std::string& typeName) {
    static const std::map<std::string, std::string> names = {
        {"ftUnknown", "Unknown"},
        {"ftString", "String"},
        {"ftSmallint", "Smallint"},
        {"ftInteger", "Integer"},
        {"ftWord", "Word"},
        {"ftBoolean", "Boolean"},
        {"ftFloat", "Float"},
        {"ftCurrency", "Currency"},
        {"ftBCD", "BCD"},
        {"ftDate", "Date"},
        {"ftTime", "Time"},
        {"ftDateTime", "DateTime"},
        {"ftBytes", "Bytes"},
        {"ftVarBytes", "VarBytes"},
        {"ftAutoInc", "Auto Increment"},
        {"ftBlob", "Blob"},
        {"ftMemo", "Memo"},
        {"ftGraphic", "Bitmap"},
        {"ftFmtMemo", "Formated Text Memo"},
        {"ftParadoxOle", "Paradox OLE"},
        {"ftDBaseOle", "dBase OLE"},
        {"ftTypeBinary", "Typed Binary"},
        {"ftCursor", "Output Cursor (Oracle)"},
        {"ftFixedChar", "Fixed Char"},
        {"ftWideString", "Wide String"},
        {"ftLargeint", "Int64 Large Integer"},
        {"ftADT", "Abstract Data Type"},
        {"ftArray", "Array"},
        {"ftReference", "REF"},
        {"ftDataSet", "DataSet"},
        {"ftOraBlob", "Blob (Oracle 8)"},
        {"ftOraClob", "Clob (Oracle 8)"},
        {"ftVariant", "Unknown or Undeterminated"},
        {"ftInterface", "References to Interfaces"},
        {"ftIDispatch", "References to IDispatch interfaces"},
        {"ftGuid", "GUID Values"},
        {"ftTimeStamp", "DateTime accessed through dbExpress"},
        {"ftFMTBcd", "Decimal that is too large for ftBCD"},
    };
    const auto it = names.find(typeName);
    return it == names.end() ? std::string() : it->second;
}

std::string windowsVersionName(int platformId, unsigned major, unsigned minor, const std::string& servicePack) {
    std::string name;
    std::string spText;
    if (platformId == 1) {
        if (major == 4) {
            if (minor == 0)
                name = (startsWith(servicePack, "B") || startsWith(servicePack, "C")) ? "95 OSR2" : "95";
            else if (minor == 10)
                name = startsWith(servicePack, "A") ? "98 SE" : "98";
            else if (minor == 90)
                name = "ME";
        } else {
            name = "9x version (unknown)";
        }
    } else if (platformId == 2) {
        spText = servicePack;
        if (major <= 4)
            name = "NT";
        else if (major == 5 && minor == 0)
            name = "2000";
        else if (major == 5 && minor == 1)
            name = "XP";
        else if (major == 5 && minor == 2)
            name = "Server 2003";
        else if (major == 6 && minor == 0)
            name = "Vista";
        else
            name = "Future Windows version (unknown)";
    }
    return "Microsoft Windows " + name + " - " + spText;
}

std::string progressPercentText(long long current, long long total) {
    if (total <= 0)
        return "0%";
    // The whole percentage, never rounded up: 2 of 3 is 66%, 199 of 200 is 99%.
    const long long whole = current * 100 / total;
    return std::to_string(whole) + "%";
}
