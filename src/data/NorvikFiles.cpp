#include "data/NorvikFiles.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/ClipperLocks.h"
#include "data/NorvikTable.h"
#include "data/TDM.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

namespace {

const char* const WorkFileName = "RIADIC_TEMP.DBF";

// A file of the folder, whatever the case of its name on disk (the workstations write capitals).
std::string fileIn(AppContext& ctx, const std::string& folder, const std::string& name) {
    const auto found = ctx.platform.findFileNoCase(folder, name);
    return found ? *found : joinPath(folder, name);
}

void bindAndOpen(AppContext& ctx, NorvikTable& vk, const std::string& folder, const std::string& base,
                 const std::vector<std::string>& indices) {
    vk.table.close();
    const std::string file = fileIn(ctx, folder, base + ".DBF");
    // Bound at the first open; a folder changed in VORDA.INI since then moves the binding along, so no
    // step writes into the old folder while another writes into the new one.
    if (vk.fileName.empty() || vk.fileName != file) {
        vk.fileName = file;
        vk.indexFiles.clear();
        for (const std::string& index : indices)
            vk.indexFiles.push_back(fileIn(ctx, folder, index + ".NTX"));
    }
    vk.table.open(vk.fileName, vk.indexFiles, true);
    if (vk.table.indexCount() > 0)
        vk.table.setActiveIndex(0);
}

} // namespace

namespace NorvikFiles {

std::string fixedWidth(const std::string& value, std::size_t n) {
    return blankPad(value, n);
}

std::string codeOfWidth(const std::string& value, std::size_t n) {
    return zeroPadLeft(value, n);
}

void openTable(AppContext& ctx, NorvikTable& vk, const std::string& base, const std::vector<std::string>& indices) {
    bindAndOpen(ctx, vk, ctx.settings.norvikFolder(), base, indices);
}

void openWorkFile(AppContext& ctx, NorvikTable& vk) {
    vk.table.close();
    vk.fileName = fileIn(ctx, ctx.platform.programFolder(), WorkFileName);
    vk.indexFiles.clear();
    vk.table.open(vk.fileName, {}, true);
}

std::string nextFreeCode(AppContext& ctx, NorvikTable& vk, const std::string& base,
                         const std::vector<std::string>& indices, std::size_t width, const std::string& codeField) {
    openTable(ctx, vk, base, indices);
    std::string code;
    for (long long n = 1;; ++n) {
        code = codeOfWidth(std::to_string(n), width);
        if (code.size() > width)
            throw AppError("Não há mais códigos livres de " + std::to_string(width) + " dígitos na tabela " +
                           vk.table.fileName() + ".");
        if (!vk.table.locate({codeField}, {code}, true))
            break;
    }
    vk.table.close();
    return code;
}

std::string codeLookup(AppContext& ctx, NorvikTable& vk, const std::string& base,
                       const std::vector<std::string>& indices, const std::string& resultField,
                       const std::vector<std::pair<std::string, std::size_t>>& keyFields,
                       const std::vector<std::string>& values) {
    openTable(ctx, vk, base, indices);
    std::vector<std::string> names, padded;
    for (std::size_t i = 0; i < keyFields.size() && i < 5; ++i) {
        if (keyFields[i].first.empty())
            break;
        names.push_back(keyFields[i].first);
        padded.push_back(fixedWidth(i < values.size() ? values[i] : std::string(), keyFields[i].second));
    }
    if (vk.table.locate(names, padded, false))
        return vk.table.text(resultField);
    return "0";
}

void removeProcessRows(AppContext& ctx, NorvikTable& vk, const std::string& base,
                       const std::vector<std::string>& indices, const std::string& keyField,
                       const std::string& keyValue) {
    openTable(ctx, vk, base, indices);
    vk.table.beginBatch();
    try {
        while (vk.table.locate({keyField}, {keyValue}, true))
            vk.table.deleteRecord();
    } catch (...) {
        vk.table.endBatch();
        vk.table.close();
        throw;
    }
    vk.table.endBatch();
    vk.table.close();
}

const std::vector<std::pair<std::string, std::vector<std::string>>>& processTables() {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> tables = {
        {"RICUST", {"RICUST"}},
        {"RIITDE", {"RIITDE"}},
        {"RIADI6", {"RIADI6"}},
        {"RIADI5", {"RIADI5"}},
        {"RIADI4", {"RIADI4"}},
        {"RIADI3", {"RIADI3"}},
        {"RIADI2", {"RIADI2"}},
        {"RIREG6", {"RIREG6"}},
        {"RIREG5", {"RIREG5"}},
        {"RIREG4", {"RIREG4"}},
        {"RIREG3", {"RIREG3"}},
        {"RIREG2", {"RIREG2"}},
        {"RIITEM", {"RIIT01", "RIIT02", "RIIT03", "RIIT04"}},
        {"RICAMB", {"RICAMB"}},
        {"RIPARC", {"RIPARC"}},
        {"RIFOBS", {"RIFOBS"}},
    };
    return tables;
}

std::string presenceText(const std::string& processId) {
    return "Declaração de Importação \r" + processId + "\rjá existente no NORVIK!";
}

namespace {

NorvikTable& tableObject(TDM& dm, const std::string& base) {
    NorvikTable* const all[] = {&dm.vkRICUST, &dm.vkRIITDE, &dm.vkRIADI6, &dm.vkRIADI5, &dm.vkRIADI4, &dm.vkRIADI3,
                                &dm.vkRIADI2, &dm.vkRIREG6, &dm.vkRIREG5, &dm.vkRIREG4, &dm.vkRIREG3, &dm.vkRIREG2,
                                &dm.vkRIITEM, &dm.vkRICAMB, &dm.vkRIPARC, &dm.vkRIFOBS};
    for (NorvikTable* t : all)
        if (t->name() == "vk" + base)
            return *t;
    throw AppError("Tabela do NORVIK desconhecida: " + base);
}

} // namespace

Presence processPresenceCheck(AppContext& ctx, const std::string& keyField, const std::string& keyValue,
                              const std::string& processId, bool& overwritten) {
    NorvikTable& regi = ctx.dm.vkRIREGI;
    const std::vector<std::string> regiIndices = {"RIREGI", "RIFOLL"};
    openTable(ctx, regi, "RIREGI", regiIndices);
    const std::string key = trim(keyValue);
    try {
        while (regi.table.locate({keyField}, {key}, true)) {
            const int answer =
                ctx.op.showMessage(PresenceTitle, presenceText(processId), "", "", CancelButton, OverwriteButton);
            if (answer != 0)
                return Presence::Stop; // RIREGI stays open, as it always did
            overwritten = true;
            const int total = 16;
            int step = 0;
            ctx.op.progressOpen(0, total, CheckingTitle);
            ctx.op.progressStep(++step, total, CheckingStep + regi.table.fileName(), true);
            regi.table.setActiveIndex(0);
            regi.table.beginBatch();
            regi.table.deleteRecord();
            for (const auto& [base, indices] : processTables()) {
                ctx.op.progressStep(std::min(++step, total), total, CheckingStep + base + ".DBF", true);
                ctx.op.processEvents();
                removeProcessRows(ctx, tableObject(ctx.dm, base), base, indices, "REGISTRO", key);
            }
            ctx.op.progressClose();
        }
    } catch (...) {
        regi.table.endBatch();
        regi.table.close();
        throw;
    }
    regi.table.endBatch();
    regi.table.close();
    return Presence::GoOn;
}

CreationLock::CreationLock(AppContext& ctx, const std::string& base) {
    m_file.open(fileIn(ctx, ctx.settings.norvikFolder(), base + ".DBF"), true);
    m_file.lock(ClipperLocks::Base - 1, 1, true, ClipperLocks::TimeoutMs);
}

double exchangeRate(AppContext& ctx, const std::string& currency, const std::string& date) {
    NorvikTable& vk = ctx.dm.vkRITAXA;
    openTable(ctx, vk, "RITAXA", {"RITAXA"});
    double rate = 0;
    if (vk.table.locate({"CODIGO", "DATA"}, {fixedWidth(currency, 3), date}, false)) {
        const std::string text = trim(vk.table.text("TX_REAL"));
        rate = text.empty() ? 0 : toDecimal(replaceAll(text, ".", ","));
    }
    vk.table.close();
    return rate;
}

double convertAmount(AppContext& ctx, const std::string& date, const std::string& from, const std::string& to,
                     double amount) {
    const double rate1 = exchangeRate(ctx, from, date);
    const double rate2 = exchangeRate(ctx, to, date);
    if (rate1 == 0 || rate2 == 0)
        return 0;
    if (trim(from) == NationalCurrency)
        return amount / rate2;
    if (trim(to) == NationalCurrency)
        return amount * rate1;
    return amount * rate1 / rate2;
}

} // namespace NorvikFiles
