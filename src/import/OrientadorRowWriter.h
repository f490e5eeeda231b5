#pragma once

#include "import/FieldSources.h"

#include <string>

struct AppContext;
struct TransferProgress;
class RecordSet;

/// The writing side of an Orientador transfer: the table steps of the progress window and the rows of
/// the table open on TDM::ADOTbl_IMPORT with every value of them.
///
/// Values normally go through GRAVACAMPO (copy, literal, flag), which reports a failing field and goes
/// on. A few values are set directly as they are (text, number: no trimming, no "." → ","); a value the
/// field cannot hold is reported the same way, so one bad value costs one field there too.
class OrientadorRowWriter {
public:
    /// "Transferindo a tabela ", the text of every table step.
    static constexpr const char* TableStepText = "Transferindo a tabela ";

    /// tableCount is the number of table steps of one process (the progress window's step count).
    OrientadorRowWriter(AppContext& ctx, TransferProgress& progress, FieldSources sources, int tableCount);

    /// The table step: a row still pending is posted, the cursor is closed and opened again on table,
    /// the shared counter goes up by one and the progress window advances with TableStepText + table.
    /// Throws AppError when the table cannot be opened or the pending row is refused.
    void table(const std::string& name);
    /// The key every new row of the unit begins with (the micro number, the process identifier), set
    /// directly as text so that it is stored exactly as the table preparation looks it up.
    void setRowKey(const std::string& field, const std::string& value);
    /// Begins a new row with the row key; the row before it is posted, then pending window events are
    /// processed. Throws AppError when that row is refused.
    void newRow();
    /// Posts a row still pending.
    void finish();

    /// GRAVACAMPO of the field source of the record set at sourceIndex (FieldSources indexes).
    void copy(const std::string& target, int sourceIndex, const std::string& source);
    /// GRAVACAMPO of a literal value.
    void literal(const std::string& target, const std::string& value);
    /// A Yes/No field set true or false (through GRAVACAMPO).
    void flag(const std::string& target, bool value);
    /// A text set directly, exactly as given.
    void text(const std::string& target, const std::string& value);
    /// A number set directly (a 0 is stored as 0, not left empty).
    void number(const std::string& target, double value);

    /// The record set of a source index.
    RecordSet& source(int index) const { return m_sources.at(index); }
    AppContext& context() const { return m_ctx; }

private:
    AppContext& m_ctx;
    TransferProgress& m_progress;
    FieldSources m_sources;
    int m_tableCount;
    int m_tableStep = 0;
    std::string m_keyField;
    std::string m_keyValue;
};
