#include "retorno/ReturnedProcesses.h"

#include "base/TextUtils.h"
#include "data/IntegraDatabase.h"
#include "data/IntegraTable.h"
#include "data/RecordSet.h"
#include "data/TDM.h"

#include <cstdio>
#include <ctime>

namespace {

// Trailing blanks do not count in the database's comparison of texts.
std::string withoutTrailingBlanks(const std::string& s) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] == ' ')
        --end;
    return s.substr(0, end);
}

} // namespace

std::string ReturnedProcesses::selectSql(const std::string& kind, const std::string& identifier) {
    return "SELECT * FROM GERADOS WHERE TIPO_PROC = " + IntegraDatabase::quote(kind) + " AND " +
           "NR_PROC = " + IntegraDatabase::quote(trim(identifier));
}

std::string ReturnedProcesses::insertSql(const std::string& kind, const std::string& identifier,
                                         const std::string& monthDayYear) {
    return "INSERT INTO GERADOS VALUES (" + IntegraDatabase::quote(kind) + ", " +
           IntegraDatabase::quote(trim(identifier)) + ", " + IntegraDatabase::quote(monthDayYear) + ")";
}

std::string ReturnedProcesses::monthDayYear(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    return text;
}

std::string ReturnedProcesses::key(const std::string& kind, const std::string& identifier) {
    return withoutTrailingBlanks(kind) + '\x1f' + trim(identifier);
}

bool ReturnedProcesses::contains(const std::string& kind, const std::string& identifier) {
    close();
    RecordSet& rows = m_dm.sqlDsGerados.query(selectSql(kind, identifier));
    const bool found = !rows.isEmpty();
    close();
    return found;
}

void ReturnedProcesses::record(const std::string& kind, const std::string& identifier,
                               const std::string& monthDayYear) {
    close();
    m_dm.sqlDsGerados.execute(insertSql(kind, identifier, monthDayYear));
}

std::unordered_set<std::string> ReturnedProcesses::allKeys() {
    close();
    const IntegraResult result = m_dm.sqlConIntegra.query("SELECT TIPO_PROC, NR_PROC FROM GERADOS");
    std::unordered_set<std::string> keys;
    keys.reserve(result.rows.size());
    for (const IntegraRow& row : result.rows)
        if (row.size() >= 2 && row[0] && row[1])
            keys.insert(withoutTrailingBlanks(*row[0]) + '\x1f' + withoutTrailingBlanks(*row[1]));
    return keys;
}

void ReturnedProcesses::close() {
    m_dm.sqlDsGerados.close();
}
