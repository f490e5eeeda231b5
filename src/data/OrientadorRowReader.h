#pragma once

#include "data/OrientadorField.h"

#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;
class OrientadorTable;

/// Reads every row of an open Orientador table once, first to last in table order (within the
/// table's filter when it is on), with one statement and without moving the table's cursor: the way to
/// walk a code table of hundreds of thousands of rows in memory that does not grow with them. The
/// values read as the cursor gives them (OrientadorTable::text).
///
/// The statement holds a read on the file until the reader is gone; the table must stay open and the
/// connection connected meanwhile.
class OrientadorRowReader {
public:
    explicit OrientadorRowReader(OrientadorTable& table);
    ~OrientadorRowReader();
    OrientadorRowReader(const OrientadorRowReader&) = delete;
    OrientadorRowReader& operator=(const OrientadorRowReader&) = delete;

    /// Moves to the next row; false after the last one. Throws AppError when the file cannot be read.
    bool next();
    /// The row number of the current row, counted from 1.
    long long rowNumber() const { return m_rowNumber; }
    /// The value of column i (in the table's column order) as text, empty for null. The text lives
    /// until the next call of next().
    std::string_view text(std::size_t column);
    bool isNull(std::size_t column) const;
    const std::vector<OrientadorField>& fields() const { return m_fields; }

private:
    OrientadorTable& m_table;
    std::vector<OrientadorField> m_fields;
    sqlite3_stmt* m_stmt = nullptr;
    std::vector<std::string> m_scratch;
    long long m_rowNumber = 0;
};
