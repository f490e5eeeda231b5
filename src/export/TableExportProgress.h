#pragma once

#include <string>

/// What the export shows while it runs: the window's progress bar and labels, the command line's lines.
/// Every call has a default that does nothing.
class TableExportProgress {
public:
    virtual ~TableExportProgress() = default;

    /// The export begins with tables entries ("Aguarde, iniciando...").
    virtual void started(int tables) { (void)tables; }
    /// Entry index (from 0) is about to be exported (the window selects it).
    virtual void entryStarted(int index, const std::string& displayName) {
        (void)index;
        (void)displayName;
    }
    /// done of rows rows of entry index's table are written; called at the table's start and now and then
    /// inside it, so a long table shows its progress.
    virtual void rowsWritten(int index, const std::string& table, long long done, long long rows) {
        (void)index;
        (void)table;
        (void)done;
        (void)rows;
    }
    /// Entry index is written (the bar advances by one; "Recebendo dados da tabela " + table, and the
    /// percentage of index of tables).
    virtual void entryDone(int index, int tables, const std::string& table) {
        (void)index;
        (void)tables;
        (void)table;
    }
    /// Every table is written ("100%").
    virtual void finished() {}
    /// After the closing message: labels and bar as at the start, every entry back in the list of
    /// available tables.
    virtual void reset() {}
};
