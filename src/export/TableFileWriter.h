#pragma once

#include "data/OrientadorField.h"
#include "export/ExportEncoding.h"

#include <string>
#include <vector>

class OrientadorRowReader;

/// Writes the exported tables into the export file as they are read, one row at a time, so that
/// nothing grows with the rows. Calls come in this order: for each table beginTable, structure, row …,
/// endTable; then finish once. A value the file cannot hold ends the export with an AppError naming
/// table, row and column.
class TableFileWriter {
public:
    virtual ~TableFileWriter() = default;

    /// A table is about to be read (its name is known, it is not open yet).
    virtual void beginTable(const std::string& table) = 0;
    /// The table is open: its columns, in column order.
    virtual void structure(const std::vector<OrientadorField>& fields) = 0;
    /// The reader's current row.
    virtual void row(OrientadorRowReader& reader) = 0;
    virtual void endTable() = 0;
    /// Completes the file's text (the file itself is closed by its owner).
    virtual void finish() = 0;
};

/// The problem of a text bound for the export file as the operator reads it, naming table, row (from 1)
/// and column; row 0 stands for the column's name, row −1 for the table's name. fileKind is "CSV" or
/// "XML".
std::string exportValueProblemText(const std::string& table, long long row, const std::string& column,
                                   const EncodingProblem& problem, const std::string& fileKind);
