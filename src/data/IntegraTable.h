#pragma once

#include <string>

class IntegraDatabase;
class IntegraRows;

/// The statement of one Integra table (sqlDsUnidade, sqlDsPais …) bound to the one connection and
/// feeding the table's in-memory rows. Its command text starts as "SELECT * FROM " + table.
///
/// Opening runs the command text into the rows unless they are already filled; closing empties the
/// rows. A query closes, sets the command text and opens; an executed statement closes first, so the
/// rows never show a state older than the change, and leaves the command text alone, so a later
/// opening never runs a change twice.
class IntegraTable {
public:
    IntegraTable(IntegraDatabase& database, std::string tableName, IntegraRows& rows);

    const std::string& tableName() const { return m_tableName; }
    const std::string& commandText() const { return m_commandText; }
    IntegraDatabase& database() { return m_database; }
    IntegraRows& rows() { return m_rows; }

    void open();
    void close();
    /// Close, run sql, open: the rows hold its result.
    IntegraRows& query(const std::string& sql);
    /// Close and run a statement that changes the database; gives the number of rows it changed.
    unsigned long long execute(const std::string& sql);

    /// "SELECT * FROM " + table.
    std::string selectAllSql() const;

private:
    IntegraDatabase& m_database;
    std::string m_tableName;
    IntegraRows& m_rows;
    std::string m_commandText;
};
