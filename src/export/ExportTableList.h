#pragma once

#include <optional>
#include <string>
#include <vector>

class Settings;

/// The tables the export offers: section Tabelas of the settings, keys Tabela1 … Tabela28, each value
/// a display name, ";" and the table's name in TABSISCO.MDB. Read at the moment of use.
class ExportTableList {
public:
    static constexpr int KeyCount = 28;
    static constexpr const char* KeyPrefix = "Tabela";

    /// The display names (what comes before the first ";") in key order; a value without ";" and a
    /// missing key add nothing.
    static std::vector<std::string> displayNames(const Settings& settings);

    /// The table of a display name: from the first key whose value is that display name followed by
    /// ";", the rest of the value, trimmed. nullopt when no key holds the name. The whole name is
    /// matched, so a shorter name never takes the key of a longer one that begins like it, whatever
    /// the order of the keys.
    static std::optional<std::string> tableOf(const Settings& settings, const std::string& displayName);

    /// The order of the lists of the export window and of the export itself: alphabetical, with
    /// accented letters among their plain ones and without regard to case ("ÓRGÃOS" between "NVE" and
    /// "PAÍS"); names equal that way keep a fixed order by their bytes.
    static bool alphabeticalLess(const std::string& a, const std::string& b);
    static void sortAlphabetically(std::vector<std::string>& names);
};
