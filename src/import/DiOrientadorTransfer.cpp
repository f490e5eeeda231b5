#include "import/DiOrientadorTransfer.h"

#include "base/AppContext.h"
#include "base/BusyGuard.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorTable.h"
#include "data/TDM.h"
#include "data/TablePreparation.h"
#include "data/TransferProgress.h"
#include "import/DiOrientadorWriter.h"
#include "import/GRAVACAMPO.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <exception>
#include <vector>

namespace {

const char* const Caption = "Pelomira";
const char* const BaseName = "IMPORT";
const char* const HeadTable = "DECLARAÇÃO_IMPORTAÇÃO";
const char* const OpenFailureProcedure = "Abrindo o Orientador - SISCOMEX";

// The tables a process is cleared from before it is written, in this order (the head table first
// again, now by micro number; COMPENSAÇÃO_CRÉDITO is only cleared).
const char* const PreparedTables[] = {
    "DECLARAÇÃO_IMPORTAÇÃO",
    "PROCESSO_DI",
    "DOCUMENTO_INSTRUÇÃO",
    "EMBALAGEM_CARGA",
    "CARGA_ARMAZÉM",
    "COMPENSAÇÃO_CRÉDITO",
    "PAGAMENTO_TRIBUTOS",
    "OP_ADIÇÃO_DE_IMPORTAÇÃO",
    "DEDUÇÃO_VALORAÇÃO",
    "PAGAMENTO_PREVISTO",
    "DESTAQUE_NCM",
    "DETALHE_MERCADORIA",
    "ACRÉSCIMO_VALORAÇÃO",
    "DOCUMENTO_VINCULADO",
    "ATO_VINCULADO",
    "PAGAMENTO_VINCULADO",
    "TRIBUTO",
    "VALORAÇÃO_NCM",
    "DE_MERCOSUL_DI",
    "DE_MERCOSUL_ADIÇÃO",
};

// The micro numbers of the process's earlier transfers, read from its head rows before the table
// preparation removes them. Leaves the data module's connection on IMPORT.MDB.
std::vector<std::string> earlierMicroNumbers(AppContext& ctx, const std::string& id) {
    OrientadorDatabase& con = ctx.dm.ADOCon_IMPORT;
    OrientadorTable& tbl = ctx.dm.ADOTbl_IMPORT;
    if (con.connected())
        con.disconnect();
    const std::string folder = ctx.settings.read(Settings::Dados, Settings::KeyDados);
    con.setConnectionString(OrientadorDatabase::preparationConnectionString(folder, BaseName));
    con.connect(ctx.platform);
    tbl.setTableName(HeadTable);
    tbl.setFiltered(false);
    tbl.open();
    std::vector<std::string> micros;
    const std::string key = foldCase(trim(id));
    for (tbl.first(); !tbl.eof(); tbl.next())
        if (foldCase(tbl.text("NR_IDENT_USUARIO")) == key)
            micros.push_back(trim(tbl.text("NR_DECL_IMP_MICRO")));
    return micros;
}

// The preparation removes the earlier head rows of a process but clears the other tables only of the
// new micro number: the rows the earlier transfers wrote under their own numbers are removed here, so a
// transfer done again replaces the whole declaration instead of leaving its old rows behind.
void removeEarlierRows(AppContext& ctx, const std::vector<std::string>& micros, const std::string& micro) {
    OrientadorTable& tbl = ctx.dm.ADOTbl_IMPORT;
    for (const std::string& old : micros) {
        if (old.empty() || equalsNoCase(old, micro))
            continue;
        for (const char* table : PreparedTables) {
            tbl.close();
            tbl.setTableName(table);
            tbl.open();
            while (tbl.locate("NR_DECL_IMP_MICRO", old, true))
                tbl.deleteRecord();
        }
    }
}

// Starts DI.EXE from the Orientador's folder; a program that cannot start is reported.
void openOrientador(AppContext& ctx) {
    const std::string folder = ctx.settings.read(Settings::Dados, Settings::KeyDados);
    const auto found = ctx.platform.findFileNoCase(folder, DiOrientadorTransfer::ProgramName);
    const std::string program = found ? *found : joinPath(folder, DiOrientadorTransfer::ProgramName);
    try {
        ctx.op.openWithSystem(program, std::string(), folder);
    } catch (const std::exception& e) {
        ctx.op.message(DiOrientadorTransfer::OpenFailure, Caption, MessageIcon::Error);
        ctx.logs.error(OpenFailureProcedure, e.what());
    }
}

} // namespace

std::string DiOrientadorTransfer::successText(const std::string& list) {
    return "DI(s) " + list + " recebida(s) com êxito ao Orientador - SISCOMEX!";
}

std::string DiOrientadorTransfer::finishedLog(const std::string& list) {
    return "Finalizando Importação de Processos para o SISCOMEX (DI: " + list + ")";
}

std::string DiOrientadorTransfer::failureText(const std::string& step, const std::string& failure) {
    return std::string(TransferFailureHeadline) + "\r\rProcedimento: " + step + "\r" + "ERRO: " + failure;
}

void DiOrientadorTransfer::run(AppContext& ctx, const LoadedProcessDocument& document) {
    BusyGuard busy(BusyText);
    if (!ctx.op.askYesNo(ConfirmText, ConfirmCaption, MessageIcon::Question))
        return;

    TDM& dm = ctx.dm;
    RecordSet& principal = dm.cdsXMLPrincipal;
    TransferProgress progress;
    std::string list;
    try {
        principal.first();
        const std::size_t count = principal.recordCount();
        for (std::size_t i = 0; i < count; ++i) {
            const std::string id = principal.text("ID_PROCESSO");

            progress.reset(DiOrientadorWriter::TableCount);
            ctx.op.progressOpen(0, DiOrientadorWriter::TableCount, PreparingText);
            const std::vector<std::string> earlier = earlierMicroNumbers(ctx, id);
            const std::string micro =
                VERIFICATABELANUMERO(ctx, progress, BaseName, HeadTable, "NR_IDENT_USUARIO", "NR_DECL_IMP_MICRO", id);
            for (const char* table : PreparedTables)
                VERIFICATABELANUMERO(ctx, progress, BaseName, table, "NR_DECL_IMP_MICRO", "", micro);
            removeEarlierRows(ctx, earlier, micro);
            ctx.op.progressClose();

            progress.reset(DiOrientadorWriter::TableCount);
            ctx.op.progressOpen(0, DiOrientadorWriter::TableCount, StartingText);
            DiOrientadorWriter(ctx, progress, document, micro).write();
            dm.ADOCon_IMPORT.disconnect();
            ctx.op.progressClose();

            list += trim(id);
            if (i + 1 < count)
                list += ", ";
            principal.next();
        }
    } catch (const std::exception& e) {
        const std::string step = ctx.op.progressText();
        ctx.op.message(failureText(step, e.what()), Caption, MessageIcon::Error);
        if (dm.ADOTbl_IMPORT.active())
            dm.ADOTbl_IMPORT.cancel();
        ctx.logs.error(step, e.what());
        if (ctx.op.progressIsOpen())
            ctx.op.progressClose();
        return;
    }

    if (ctx.op.showMessage(Caption, successText(list), "", "", OpenButton, OkButton) == OpenButtonResult)
        openOrientador(ctx);
    ctx.logs.activity(finishedLog(list));
}
