#pragma once

#include <chrono>
#include <string>
#include <unordered_set>

class TDM;

/// The processes already returned to Merlin: the Integra table GERADOS, reached through the data
/// module's sqlDsGerados statement and its cdsGerados rows.
///
/// A process counts as returned when GERADOS holds a row with its kind and its identifier, trimmed.
/// The database compares texts exactly, case included, except that trailing blanks do not count; the
/// keys of allKeys() compare the same way, so the scan can test thousands of rows against one read of
/// the table instead of one statement per row.
class ReturnedProcesses {
public:
    explicit ReturnedProcesses(TDM& dm) : m_dm(dm) {}

    /// "SELECT * FROM GERADOS WHERE TIPO_PROC = 'LI' AND NR_PROC = '123456'": kind and trimmed
    /// identifier quoted (embedded quotes doubled).
    static std::string selectSql(const std::string& kind, const std::string& identifier);
    /// "INSERT INTO GERADOS VALUES ('LI', '123456', '03/05/2026')": kind, trimmed identifier, date.
    static std::string insertSql(const std::string& kind, const std::string& identifier,
                                 const std::string& monthDayYear);
    /// The local date of a moment as mm/dd/yyyy, the form the database takes date literals in.
    static std::string monthDayYear(std::chrono::system_clock::time_point when);
    /// The key under which a kind and an identifier are found in allKeys(): the identifier trimmed, as
    /// the test sends it; trailing blanks of the stored texts do not count, as in the database.
    static std::string key(const std::string& kind, const std::string& identifier);

    /// The already-returned test for one process, one statement. The GERADOS rows are closed again.
    bool contains(const std::string& kind, const std::string& identifier);
    /// Records one returned process with the date given (mm/dd/yyyy).
    void record(const std::string& kind, const std::string& identifier, const std::string& monthDayYear);
    /// The keys of every row of GERADOS, read with one statement.
    std::unordered_set<std::string> allKeys();
    /// Closes the GERADOS datasets.
    void close();

private:
    TDM& m_dm;
};
