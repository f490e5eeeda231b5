#include "import/LsiOrientadorTransfer.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "import/LsiOrientadorRules.h"
#include "import/LsiOrientadorWriter.h"

#include <algorithm>

namespace {

UnitPreparation preparation() {
    return {"LIDSI", LsiRules::Key, {LsiRules::Operation, LsiRules::AgencyProcesses.table}};
}

} // namespace

LsiOrientadorTransfer::LsiOrientadorTransfer()
    : LicenceOrientadorTransfer({"LSI", "LIDSI.EXE", preparation(), LsiOrientadorWriter::TableCount, true}) {}

std::string LsiOrientadorTransfer::replacedText(const std::string& replaced, const std::string& by,
                                                const std::string& process) {
    return "ATENÇÃO!!!\rA LSI " + replaced + " foi substituída pela LSI " + by + " no Orientador - SISCOMEX.\r" +
           "As licenças do processo " + process + " têm o mesmo número de operação (" + process +
           "): só a última fica gravada.";
}

std::string LsiOrientadorTransfer::replacedLog(const std::string& replaced, const std::string& by,
                                               const std::string& process) {
    return "LSI " + replaced + " substituída pela LSI " + by + " (processo " + process + ")";
}

std::string LsiOrientadorTransfer::unitKey(TransferRun& run, const std::string&) const {
    return run.ctx.dm.cdsXMLPrincipal.text("ID_PROCESSO");
}

void LsiOrientadorTransfer::writeLicence(TransferRun& run, LicenceSources& sources, const std::string& key) {
    LsiOrientadorWriter(run.ctx, run.progress, sources, key).write();
}

void LsiOrientadorTransfer::licenceWritten(TransferRun& run, const std::string& licenceId,
                                           const std::string& previous) {
    // The licence before it in the process was removed with this one's preparation: it is no longer in
    // LIDSI.MDB, so it is not reported as transferred.
    if (!previous.empty()) {
        auto& transferred = run.outcome.transferred;
        const auto it = std::find(transferred.rbegin(), transferred.rend(), previous);
        if (it != transferred.rend())
            transferred.erase(std::next(it).base());
    }
    LicenceOrientadorTransfer::licenceWritten(run, licenceId, previous);
    if (!previous.empty()) {
        const std::string process = trim(run.ctx.dm.cdsXMLPrincipal.text("ID_PROCESSO"));
        // The file is let go while the operator reads the warning.
        commitUnits(run);
        run.ctx.op.message(replacedText(previous, licenceId, process), Caption, MessageIcon::Warning);
        run.ctx.logs.activity(replacedLog(previous, licenceId, process));
    }
}
