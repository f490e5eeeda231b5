#include "import/DsiOrientadorTransfer.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "import/DsiOrientadorRules.h"
#include "import/DsiOrientadorWriter.h"

namespace {

// The tables a DSI is cleared from, in this order.
UnitPreparation preparation() {
    return {
        "DSI",
        DsiRules::Key,
        {DsiRules::Goods, DsiRules::General, DsiRules::Payments.table, DsiRules::GoodsTaxes, DsiRules::Volumes.table}};
}

} // namespace

DsiOrientadorTransfer::DsiOrientadorTransfer()
    : OrientadorTransfer({"DSI", "DSI.EXE", preparation(), DsiOrientadorWriter::TableCount, true}) {}

std::string DsiOrientadorTransfer::successText(const std::string& list) {
    return "DSI(s) " + list + " recebida(s) com êxito no Orientador - SISCOMEX!";
}

std::string DsiOrientadorTransfer::impededText(const std::string& list) {
    return "DSI(s) NÃO RECEBIDAS por impedimento: " + list;
}

bool DsiOrientadorTransfer::transferProcess(TransferRun& run) {
    const RecordSet& process = run.ctx.dm.cdsXMLPrincipal;
    const auto impediment = process.value("MENSAGEM");
    if (impediment && !trim(*impediment).empty()) {
        reportImpediment(run, process.text("ID_PROCESSO"), *impediment);
        return true;
    }
    const std::string id = process.text("ID_PROCESSO");
    writeUnit(run, id,
              [&](const std::string& key) { DsiOrientadorWriter(run.ctx, run.progress, run.document, key).write(); });
    run.outcome.transferred.push_back(trim(id));
    return true;
}

void DsiOrientadorTransfer::finish(TransferRun& run) {
    if (!run.outcome.impeded.empty()) {
        const std::string list = joined(run.outcome.impeded);
        run.ctx.op.message(impededText(list), Caption, MessageIcon::Information);
        run.ctx.logs.activity("Processos não importados por impedimento (DSI: " + list + ")");
    }
    // Success is told only of DSIs that were received.
    if (run.outcome.transferred.empty())
        return;
    const std::string list = joined(run.outcome.transferred);
    showClosing(run, successText(list));
    run.ctx.logs.activity("Finalizando Importação de Processos para o SISCOMEX (DSI: " + list + ")");
}
