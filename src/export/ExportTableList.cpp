#include "export/ExportTableList.h"

#include "base/Settings.h"
#include "base/TextUtils.h"
#include "export/ExportEncoding.h"

#include <algorithm>

namespace {

// The plain lower-case letter of a Latin-1 letter; other characters stay as they are.
char32_t sortKey(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 'a';
    if (c < 0xC0 || c > 0xFF || c == 0xD7 || c == 0xF7)
        return c;
    static const char plain[] = "aaaaaaaceeeeiiiidnooooo.ouuuuyts"  // C0 … DF
                                "aaaaaaaceeeeiiiidnooooo.ouuuuyty"; // E0 … FF
    const char p = plain[c - 0xC0];
    return p == 't' || p == 's' || p == 'd' ? c : static_cast<char32_t>(p);
}

std::vector<char32_t> sortKeys(const std::string& text) {
    std::vector<char32_t> keys;
    keys.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = 0;
        const std::size_t length = decodeUtf8(text, pos, c);
        if (length == 0) {
            keys.push_back(static_cast<unsigned char>(text[pos]));
            ++pos;
            continue;
        }
        keys.push_back(sortKey(c));
        pos += length;
    }
    return keys;
}

} // namespace

std::vector<std::string> ExportTableList::displayNames(const Settings& settings) {
    std::vector<std::string> names;
    for (int i = 1; i <= KeyCount; ++i) {
        const std::string value = settings.read(Settings::Tabelas, KeyPrefix + std::to_string(i));
        const auto separator = value.find(';');
        if (separator != std::string::npos)
            names.push_back(value.substr(0, separator));
    }
    return names;
}

std::optional<std::string> ExportTableList::tableOf(const Settings& settings, const std::string& displayName) {
    const std::string prefix = displayName + ";";
    for (int i = 1; i <= KeyCount; ++i) {
        const std::string value = settings.read(Settings::Tabelas, KeyPrefix + std::to_string(i));
        if (startsWith(value, prefix))
            return trim(value.substr(prefix.size()));
    }
    return std::nullopt;
}

bool ExportTableList::alphabeticalLess(const std::string& a, const std::string& b) {
    const std::vector<char32_t> ka = sortKeys(a);
    const std::vector<char32_t> kb = sortKeys(b);
    if (ka != kb)
        return std::lexicographical_compare(ka.begin(), ka.end(), kb.begin(), kb.end());
    return a < b;
}

void ExportTableList::sortAlphabetically(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), alphabeticalLess);
}
