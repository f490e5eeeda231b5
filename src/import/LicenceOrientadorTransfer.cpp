#include "import/LicenceOrientadorTransfer.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "import/LicenceSources.h"

std::string LicenceOrientadorTransfer::successText(const std::string& list) const {
    return std::string(kind().name) + "(s) " + list + " transferida(s) com êxito!" + "\r";
}

std::string LicenceOrientadorTransfer::impededText(const std::string& list) const {
    return std::string(kind().name) + "(s) NÃO RECEBIDAS por impedimento: " + list;
}

bool LicenceOrientadorTransfer::transferProcess(TransferRun& run) {
    TDM& dm = run.ctx.dm;
    RecordSet& licences = dm.cdsXMLAux2;
    licences.setCommandText(std::string());
    licences.bindToNested(dm.cdsXMLPrincipal, "DADOS_LI");
    if (licences.isEmpty()) {
        commitUnits(run);
        run.ctx.op.message(NoLicenceData, Caption, MessageIcon::Error);
        run.outcome.failure = NoLicenceData;
        return false;
    }
    LicenceSources sources(run.ctx, run.document);
    std::string previous;
    for (; !licences.eof(); licences.next()) {
        // A message of blanks is none, as for the process itself.
        const auto impediment = licences.value("MENSAGEM");
        if (impediment && !trim(*impediment).empty()) {
            // The other licences of the process wait for it: the run goes on with the next process.
            reportImpediment(run, licences.text("ID_LI"), *impediment);
            break;
        }
        const std::string id = trim(licences.text("ID_LI"));
        writeUnit(run, unitKey(run, licences.text("ID_LI")),
                  [&](const std::string& key) { writeLicence(run, sources, key); });
        licenceWritten(run, id, previous);
        previous = id;
    }
    return true;
}

void LicenceOrientadorTransfer::licenceWritten(TransferRun& run, const std::string& licenceId, const std::string&) {
    run.outcome.transferred.push_back(licenceId);
}

void LicenceOrientadorTransfer::finish(TransferRun& run) {
    const std::string name = kind().name;
    std::string text;
    if (!run.outcome.transferred.empty()) {
        const std::string list = joined(run.outcome.transferred);
        text = successText(list);
        run.ctx.logs.activity("Finalizando Importação de Processos para o SISCOMEX (" + name + ": " + list + ")");
    }
    if (!run.outcome.impeded.empty()) {
        const std::string list = joined(run.outcome.impeded);
        text += impededText(list);
        run.ctx.logs.activity("Processos não importados por impedimento (" + name + ": " + list + ")");
    }
    if (!text.empty())
        showClosing(run, text);
}
