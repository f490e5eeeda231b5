#include "retorno/RegistrationScan.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorRowReader.h"
#include "data/OrientadorTable.h"
#include "data/RecordTable.h"
#include "data/TDM.h"
#include "retorno/PendingReturns.h"
#include "retorno/ReturnRunLock.h"
#include "retorno/ReturnSender.h"
#include "retorno/ReturnedProcesses.h"
#include "retorno/ScanSources.h"

#include <algorithm>

namespace {

constexpr int NoField = -1;

// Where each list value sits in a row read with ScanSource::fieldsRead().
struct Layout {
    int registro = NoField;
    int nrProcesso = NoField;
    int dataProcesso = NoField;
    int nrProtocolo = NoField;
    int dataProcessamento = NoField;
    int dataTransmissao = NoField;
    int year = NoField;
    std::vector<int> selection;
};

int indexOf(const std::vector<std::string>& fields, const std::string& field) {
    if (field.empty())
        return NoField;
    const auto it = std::find(fields.begin(), fields.end(), field);
    return it == fields.end() ? NoField : static_cast<int>(it - fields.begin());
}

Layout layoutOf(const ScanSource& s) {
    const std::vector<std::string> fields = s.fieldsRead();
    Layout l;
    l.registro = indexOf(fields, s.registro);
    l.nrProcesso = indexOf(fields, s.nrProcesso);
    l.dataProcesso = indexOf(fields, s.dataProcesso.field);
    l.nrProtocolo = indexOf(fields, s.nrProtocolo);
    l.dataProcessamento = indexOf(fields, s.dataProcessamento.field);
    l.dataTransmissao = indexOf(fields, s.dataTransmissao.field);
    l.year = indexOf(fields, s.yearField);
    for (const std::string& f : s.manualSelection)
        l.selection.push_back(indexOf(fields, f));
    return l;
}

const std::string& at(const std::vector<std::string>& row, int index) {
    static const std::string none;
    return index >= 0 && static_cast<size_t>(index) < row.size() ? row[static_cast<size_t>(index)] : none;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool validDate(int day, int month, int year) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= days[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string dateOf(const ScanDateSource& source, const std::vector<std::string>& row, int index, const ScanSource& s,
                   const std::string& identifier) {
    if (source.kind == ScanDate::None)
        return std::string();
    return RegistrationScan::listDate(at(row, index), source.kind == ScanDate::DayMonthYear8,
                                      "campo " + source.field + " do processo " + s.kind + " " + trim(identifier));
}

ReturnEntry entryWith(const ScanSource& s, const Layout& l, const std::vector<std::string>& row) {
    ReturnEntry e;
    e.kind = s.kind;
    e.registro = at(row, l.registro);
    e.nrProcesso = at(row, l.nrProcesso);
    e.nrProtocolo = at(row, l.nrProtocolo);
    e.dataProcesso = dateOf(s.dataProcesso, row, l.dataProcesso, s, e.registro);
    e.dataProcessamento = dateOf(s.dataProcessamento, row, l.dataProcessamento, s, e.registro);
    e.dataTransmissao = dateOf(s.dataTransmissao, row, l.dataTransmissao, s, e.registro);
    e.anoRegistro = trim(charSub(at(row, l.year), static_cast<size_t>(s.yearFirst - 1), 4));
    return e;
}

// The texts of fields in every row of the open table (within its filter), read with one statement.
std::vector<std::vector<std::string>> readRows(OrientadorTable& table, const std::vector<std::string>& fields) {
    std::vector<std::size_t> columns;
    for (const std::string& name : fields) {
        const OrientadorField* wanted = &table.field(name);
        columns.push_back(static_cast<std::size_t>(wanted - table.fields().data()));
    }
    std::vector<std::vector<std::string>> rows;
    OrientadorRowReader reader(table);
    while (reader.next()) {
        std::vector<std::string> row;
        row.reserve(columns.size());
        for (const std::size_t c : columns)
            row.emplace_back(reader.text(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool selectedManually(const Layout& l, const std::vector<std::string>& row) {
    for (int index : l.selection)
        if (at(row, index).empty())
            return false;
    return true;
}

} // namespace

std::string RegistrationScan::listDate(const std::string& text, bool dayMonthYear8, const std::string& what) {
    if (trim(text).empty())
        return std::string();
    // The DI keeps ddmmyyyy in eight characters: characters 1-2, 3-4 and 5-8 become dd/mm/yyyy.
    const std::string date = dayMonthYear8 ? charSub(text, 0, 2) + "/" + charSub(text, 2, 2) + "/" + charSub(text, 4, 4)
                                           : charSub(trim(text), 0, 10);
    const bool shaped = date.size() == 10 && isDigit(date[0]) && isDigit(date[1]) && date[2] == '/' &&
                        isDigit(date[3]) && isDigit(date[4]) && date[5] == '/' && isDigit(date[6]) &&
                        isDigit(date[7]) && isDigit(date[8]) && isDigit(date[9]);
    if (!shaped || !validDate(std::stoi(date.substr(0, 2)), std::stoi(date.substr(3, 2)), std::stoi(date.substr(6, 4))))
        throw AppError("'" + (dayMonthYear8 ? date : text) + "' não é uma data válida (" + what + ")");
    return date;
}

ReturnEntry RegistrationScan::entryOf(const ScanSource& source, const std::vector<std::string>& row) {
    return entryWith(source, layoutOf(source), row);
}

std::unordered_set<std::string> RegistrationScan::returnedKeys() {
    PendingReturns pending(m_ctx.platform);
    ReturnedProcesses returned(m_ctx.dm);
    {
        // Accepted processes whose row is still pending are written first; while another program runs
        // a return, the pending list is its to change, and it is only read here.
        ReturnRunLock lock(m_ctx.platform);
        if (lock.held())
            for (const std::string& failure : pending.flush(returned).failures)
                m_ctx.logs.error(ReturnSender::InsertProcedure, failure);
    }
    std::unordered_set<std::string> keys = returned.allKeys();
    for (const PendingReturns::Entry& e : pending.entries())
        keys.insert(ReturnedProcesses::key(e.kind, e.identifier));
    returned.close();
    return keys;
}

void RegistrationScan::scan(RecordSet& list, bool automatic) {
    OrientadorDatabase& con = m_ctx.dm.ADOCon_IMPORT;
    OrientadorTable& tbl = m_ctx.dm.ADOTbl_IMPORT;
    const int steps = static_cast<int>(scanSources().size());
    int step = 0;
    auto advance = [&](const ScanSource& s) {
        if (!automatic)
            m_ctx.op.progressStep(++step, steps, s.progressText, true);
    };
    auto letGo = [&] {
        if (tbl.active()) {
            tbl.setFiltered(false);
            tbl.close();
        }
        if (con.connected())
            con.disconnect();
    };

    auto table = ReturnList::newTable();
    try {
        advance(scanSources().front());
        const std::string folder = m_ctx.settings.read(Settings::Dados, Settings::KeyDados);
        ReturnList::empty(list);
        const std::unordered_set<std::string> returned = returnedKeys();
        for (const ScanSource& s : scanSources()) {
            if (&s != &scanSources().front())
                advance(s);
            letGo();
            con.setConnectionString(OrientadorDatabase::fileConnectionString(folder, s.fileName));
            tbl.setTableName(s.table);
            tbl.setFiltered(false);
            tbl.setFilter(std::string());
            con.connect(m_ctx.platform);
            tbl.open();
            if (automatic) {
                tbl.setFilter(s.automaticFilter);
                tbl.setFiltered(true);
            }
            const std::vector<std::vector<std::string>> rows = readRows(tbl, s.fieldsRead());
            letGo();
            m_ctx.op.processEvents();

            const Layout layout = layoutOf(s);
            for (const std::vector<std::string>& row : rows) {
                if (returned.count(ReturnedProcesses::key(s.kind, at(row, layout.registro))))
                    continue;
                if (!automatic && !selectedManually(layout, row))
                    continue;
                ReturnEntry e = entryWith(s, layout, row);
                e.ticked = automatic;
                ReturnList::append(*table, e, automatic);
            }
        }
    } catch (...) {
        letGo();
        ReturnList::install(list, table);
        throw;
    }
    ReturnList::install(list, table);
}

bool RegistrationScan::manual(RecordSet& list) {
    Operator& op = m_ctx.op;
    op.progressOpen(0, static_cast<int>(scanSources().size()), ProgressTitle);
    try {
        scan(list, false);
    } catch (const std::exception& e) {
        const std::string step = op.progressText();
        m_ctx.logs.reportFailure(FailureHeadline, e.what(), step, step);
        if (op.progressIsOpen())
            op.progressClose();
        return false;
    }
    op.progressClose();
    return true;
}

void RegistrationScan::automatic(RecordSet& list) {
    scan(list, true);
}
