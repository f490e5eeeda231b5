#pragma once

#include "data/IntegraDatabase.h"

#include <memory>
#include <string>

class RecordSet;
class RecordTable;

/// The statement of one Integra table (sqlDsUnidade, sqlDsPais …) bound to the one connection and
/// feeding the table's in-memory record set (cdsUnidade, cdsPais …). Its command text starts as
/// "SELECT * FROM " + table.
///
/// Opening runs the command text into the rows unless they are already filled; closing empties the
/// rows. A query closes, sets the command text and opens; an executed statement closes first, so the
/// rows never show a state older than the change, and leaves the command text alone, so a later
/// opening never runs a change twice.
class IntegraTable {
public:
    IntegraTable(IntegraDatabase& database, std::string tableName, RecordSet& rows);

    const std::string& tableName() const { return m_tableName; }
    const std::string& commandText() const { return m_commandText; }
    IntegraDatabase& database() { return m_database; }
    RecordSet& rows() { return m_rows; }

    void open();
    void close();
    /// Close, run sql, open: the rows hold its result, the first row current.
    RecordSet& query(const std::string& sql);
    /// Close and run a statement that changes the database; gives the number of rows it changed.
    unsigned long long execute(const std::string& sql);

    /// "SELECT * FROM " + table.
    std::string selectAllSql() const;

    /// The search window's query: rows whose column, upper-cased, contains the upper-cased text
    /// ("SELECT * FROM T WHERE UPPER (C) LIKE '%TEXT%'"); every row when column is empty. The text is
    /// upper-cased with its accented letters, as the database's UPPER does, so "ção" finds "AÇÃO".
    /// Throws AppError for a column name that is not a plain identifier.
    std::string searchSql(const std::string& column, const std::string& text) const;

    /// A query result as record set rows. Columns of the same name (two COUNTs) get "_2", "_3" …
    static std::shared_ptr<RecordTable> toRecordTable(const IntegraResult& result);

private:
    IntegraDatabase& m_database;
    std::string m_tableName;
    RecordSet& m_rows;
    std::string m_commandText;
};
