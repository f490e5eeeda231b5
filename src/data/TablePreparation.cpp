#include "data/TablePreparation.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorTable.h"
#include "data/TDM.h"
#include "data/TransferProgress.h"
#include "platform/Paths.h"

#include <ctime>

namespace {

const char* const CheckingTable = "Verificando dados da tabela ";
constexpr int LastSequence = 99999;

// Steps shared by both routines: the file and table of the process are opened and every row of the
// process is removed.
void openAndClear(AppContext& ctx, const std::string& baseName, const std::string& table, const std::string& keyField,
                  const std::string& keyValue) {
    const std::string key = trim(keyValue);
    // A blank key would match every row without one: rows typed into the Orientador by hand.
    if (key.empty())
        throw AppError("A chave " + keyField + " está em branco: nenhuma linha da tabela " + trim(table) +
                       " foi excluída");
    openPreparationTable(ctx, baseName, table);
    OrientadorTable& tbl = ctx.dm.ADOTbl_IMPORT;
    while (tbl.locate(keyField, key, true))
        tbl.deleteRecord();
}

std::string twoDigitYear(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    return zeroPadLeft(std::to_string((local.tm_year + 1900) % 100), 2);
}

// The sequences of year yy that the numbers of a column carry ("00013/26" → 13).
std::set<int> sequencesOfYear(const std::vector<std::string>& numbers, const std::string& yy) {
    std::set<int> taken;
    for (const auto& raw : numbers) {
        const std::string n = trim(raw);
        if (n.size() != 8 || n[5] != '/' || n.compare(6, 2, yy) != 0)
            continue;
        bool digits = true;
        for (size_t i = 0; i < 5; ++i)
            digits = digits && n[i] >= '0' && n[i] <= '9';
        if (digits)
            taken.insert(std::stoi(n.substr(0, 5)));
    }
    return taken;
}

} // namespace

void openPreparationTable(AppContext& ctx, const std::string& baseName, const std::string& table) {
    OrientadorDatabase& con = ctx.dm.ADOCon_IMPORT;
    OrientadorTable& tbl = ctx.dm.ADOTbl_IMPORT;
    if (con.inTransaction()) {
        // The transfer's unit is being written on this connection: the removal belongs to it.
        if (!equalsNoCase(fileNameOf(con.path()), trim(baseName) + ".mdb"))
            throw AppError("A gravação em andamento no arquivo " + con.fileName() + " não inclui o arquivo " +
                           trim(baseName) + ".MDB");
        if (tbl.active())
            tbl.close();
    } else {
        // Opened afresh: nothing another operation left behind is relied on.
        if (con.connected())
            con.disconnect();
        if (tbl.active())
            tbl.close();
        const std::string folder = ctx.settings.read(Settings::Dados, Settings::KeyDados);
        con.setConnectionString(OrientadorDatabase::preparationConnectionString(folder, baseName));
    }
    tbl.setTableName(trim(table));
    tbl.setFiltered(false);
    tbl.setFilter(std::string());
    con.connect(ctx.platform);
    tbl.open();
}

std::string nextMicroNumber(long long lastSequence, const std::string& yy, const std::set<int>& taken) {
    auto number = [&](long long sequence) { return zeroPadLeft(std::to_string(sequence), 5) + "/" + yy; };
    long long sequence = lastSequence < 0 ? 1 : lastSequence + 1;
    if (sequence < 1)
        sequence = 1;
    while (sequence <= LastSequence && taken.count(static_cast<int>(sequence)))
        ++sequence;
    if (sequence <= LastSequence)
        return number(sequence);
    // Five digits are all the number has room for: past the last one, the lowest sequence of the year
    // that no row carries is used, so no declaration ever shares its number with another.
    for (int s = 1; s <= LastSequence; ++s)
        if (!taken.count(s))
            return number(s);
    throw AppError("Não há mais números livres para o ano " + yy + ": as sequências 00001 a 99999 já estão em uso");
}

void VERIFICATABELA(AppContext& ctx, TransferProgress& progress, const std::string& baseName, const std::string& table,
                    const std::string& keyField, int stepCount, const std::string& keyValue) {
    // The step comes first: while a table is cleared, the window names that table, not the one before.
    progress.step(ctx.op, CheckingTable + table, stepCount);
    openAndClear(ctx, baseName, table, keyField, keyValue);
}

std::string VERIFICATABELANUMERO(AppContext& ctx, TransferProgress& progress, const std::string& baseName,
                                 const std::string& table, const std::string& keyField, const std::string& numberField,
                                 const std::string& keyValue) {
    progress.step(ctx.op, CheckingTable + table);
    openAndClear(ctx, baseName, table, keyField, keyValue);
    OrientadorTable& tbl = ctx.dm.ADOTbl_IMPORT;
    const std::string numberName = trim(numberField).empty() ? keyField : numberField;
    const std::string yy = twoDigitYear(progress.now());

    // The last row decides; a last row whose number is not readable is named in ERRO.CSV and the row
    // before it decides instead, so one odd row typed into the Orientador does not stop every transfer.
    long long lastSequence = 0;
    long long fromEnd = 0; // rows read back from the last; the table is counted only to name an odd row
    for (tbl.last(); !tbl.bof(); tbl.prior(), ++fromEnd) {
        const std::string key = tbl.text(keyField);
        if (trim(key).empty())
            break;
        const std::string lastNumber = tbl.text(numberName);
        try {
            lastSequence = toInteger(charSub(lastNumber, 0, 5));
            break;
        } catch (const AppError&) {
            const long long position = tbl.recordCount() - fromEnd;
            ctx.logs.error(CheckingTable + table, "O número '" + lastNumber + "' da linha " + std::to_string(position) +
                                                      " da tabela " + table + " (" + keyField + " '" + key +
                                                      "', campo " + numberName +
                                                      ") não começa com uma sequência de cinco algarismos; o "
                                                      "número novo foi contado das outras linhas");
        }
    }
    // The numbers of the year in use are read only when the next one is taken already.
    std::string number = nextMicroNumber(lastSequence, yy, {});
    if (tbl.hasTrimmedText(numberName, number))
        number = nextMicroNumber(lastSequence, yy, sequencesOfYear(tbl.columnTexts(numberName), yy));
    return number;
}
