#include "import/OrientadorRowWriter.h"

#include "base/AppContext.h"
#include "base/Operator.h"
#include "data/OrientadorTable.h"
#include "data/TDM.h"
#include "data/TransferProgress.h"
#include "import/GRAVACAMPO.h"

#include <exception>

OrientadorRowWriter::OrientadorRowWriter(AppContext& ctx, TransferProgress& progress, FieldSources sources,
                                         int tableCount)
    : m_ctx(ctx), m_progress(progress), m_sources(sources), m_tableCount(tableCount) {}

void OrientadorRowWriter::table(const std::string& name) {
    OrientadorTable& tbl = m_ctx.dm.ADOTbl_IMPORT;
    finish();
    tbl.close();
    tbl.setTableName(name);
    tbl.open();
    ++m_progress.counter;
    // The shared counter also counts every field written; the window shows how many of the tables
    // are done, so its percentage stays within 100.
    ++m_tableStep;
    m_ctx.op.progressStep(m_tableStep, m_tableCount, TableStepText + name, true);
    m_ctx.op.processEvents();
}

void OrientadorRowWriter::setRowKey(const std::string& field, const std::string& value) {
    m_keyField = field;
    m_keyValue = value;
}

void OrientadorRowWriter::newRow() {
    m_ctx.dm.ADOTbl_IMPORT.insert();
    if (!m_keyField.empty())
        text(m_keyField, m_keyValue);
    // Between rows the windows get their turn, so the program stays drawn during a long declaration.
    m_ctx.op.processEvents();
}

void OrientadorRowWriter::finish() {
    OrientadorTable& tbl = m_ctx.dm.ADOTbl_IMPORT;
    if (tbl.state() == OrientadorTable::State::Insert || tbl.state() == OrientadorTable::State::Edit)
        tbl.post();
}

void OrientadorRowWriter::copy(const std::string& target, int sourceIndex, const std::string& source) {
    GRAVACAMPO(m_ctx, m_progress, m_sources, source, target, true, sourceIndex);
}

void OrientadorRowWriter::literal(const std::string& target, const std::string& value) {
    GRAVACAMPO(m_ctx, m_progress, m_sources, value, target, false);
}

void OrientadorRowWriter::flag(const std::string& target, bool value) {
    literal(target, value ? "True" : "False");
}

void OrientadorRowWriter::text(const std::string& target, const std::string& value) {
    try {
        m_ctx.dm.ADOTbl_IMPORT.setText(target, value);
    } catch (const std::exception& e) {
        reportFieldFailure(m_ctx, m_progress, target, e.what());
    }
}

void OrientadorRowWriter::number(const std::string& target, double value) {
    try {
        m_ctx.dm.ADOTbl_IMPORT.setNumber(target, value);
    } catch (const std::exception& e) {
        reportFieldFailure(m_ctx, m_progress, target, e.what());
    }
}
