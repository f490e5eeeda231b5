#include "import/DiNorvikTransfer.h"

#include "base/AppContext.h"
#include "base/BusyGuard.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/NorvikFiles.h"
#include "data/TDM.h"
#include "data/TransferProgress.h"
#include "import/DiNorvikWriter.h"
#include "import/GRAVACAMPO.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <exception>

namespace {

const char* const Caption = "Pelomira";

bool openNorvik(AppContext& ctx) {
    const std::string folder = ctx.settings.norvikFolder();
    const auto found = ctx.platform.findFileNoCase(folder, DiNorvikTransfer::ProgramName);
    const std::string program = found ? *found : joinPath(folder, DiNorvikTransfer::ProgramName);
    try {
        ctx.op.openWithSystem(program, std::string(), folder);
        return true;
    } catch (const std::exception& e) {
        ctx.op.message(DiNorvikTransfer::OpenFailure, Caption, MessageIcon::Error);
        ctx.logs.error("Abrindo o NORVIK", e.what());
        return false;
    }
}

} // namespace

std::string DiNorvikTransfer::successText(const std::string& list) {
    return "DI(s) " + list + " recebida(s) com êxito no NORVIK!";
}

std::string DiNorvikTransfer::finishedLog(const std::string& list) {
    return "Finalizando Importação de Processos para o NORVIK (DI: " + list + ")";
}

TransferOutcome DiNorvikTransfer::run(AppContext& ctx, const LoadedProcessDocument& document) {
    BusyGuard busy(BusyText);
    if (!ctx.op.askYesNo(ConfirmText, ConfirmCaption, MessageIcon::Question))
        return TransferOutcome::notConfirmed();
    TransferOutcome outcome;

    RecordSet& principal = ctx.dm.cdsXMLPrincipal;
    TransferProgress progress;
    std::string list;
    try {
        (void)ctx.settings.norvikFolder();
        principal.first();
        for (; !principal.eof(); principal.next()) {
            const std::string id = principal.text("ID_PROCESSO");
            const std::string registro = DiNorvikWriter::processKey(id);
            bool overwritten = false;
            if (NorvikFiles::processPresenceCheck(ctx, "REGISTRO", registro, trim(id), overwritten) ==
                NorvikFiles::Presence::Stop)
                break;
            progress.reset(DiNorvikWriter::StepCount);
            DiNorvikWriter(ctx, progress, document, registro, overwritten).write();
            if (!list.empty())
                list += ", ";
            list += trim(id);
            outcome.transferred.push_back(trim(id));
        }
    } catch (const std::exception& e) {
        const std::string step = ctx.op.progressText();
        ctx.op.message(std::string(TransferFailureHeadline) + "\r\rProcedimento: " + step + "\r" + "ERRO: " + e.what(),
                       Caption, MessageIcon::Error);
        ctx.logs.error(step, trim(e.what()));
        if (ctx.op.progressIsOpen())
            ctx.op.progressClose();
        outcome.status = TransferStatus::Failed;
        outcome.failure = e.what();
        outcome.fieldErrors = progress.fieldErrors;
        return outcome;
    }

    outcome.fieldErrors = progress.fieldErrors;
    if (outcome.transferred.empty()) {
        // The operator chose "&Cancelar" at the presence check: nothing was written.
        outcome.status = TransferStatus::NotConfirmed;
    } else {
        outcome.status =
            outcome.fieldErrors > 0 ? TransferStatus::TransferredWithFieldErrors : TransferStatus::Transferred;
        if (ctx.op.showMessage(Caption, successText(list), "", "", OpenButton, OkButton) == OpenButtonResult)
            outcome.programStartFailed = !openNorvik(ctx);
    }
    ctx.logs.activity(finishedLog(list));
    return outcome;
}
