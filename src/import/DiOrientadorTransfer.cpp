#include "import/DiOrientadorTransfer.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "import/DiOrientadorRules.h"
#include "import/DiOrientadorWriter.h"

namespace {

// The tables a declaration is cleared from before it is written, in this order (COMPENSAÇÃO_CRÉDITO is
// only cleared).
UnitPreparation preparation() {
    return {"IMPORT",
            DiRules::Micro,
            {
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
            },
            DiRules::Declaration,
            "NR_IDENT_USUARIO"};
}

} // namespace

DiOrientadorTransfer::DiOrientadorTransfer()
    : OrientadorTransfer({"DI", "DI.EXE", preparation(), DiOrientadorWriter::TableCount, false}) {}

std::string DiOrientadorTransfer::successText(const std::string& list) {
    return "DI(s) " + list + " recebida(s) com êxito ao Orientador - SISCOMEX!";
}

std::string DiOrientadorTransfer::finishedLog(const std::string& list) {
    return "Finalizando Importação de Processos para o SISCOMEX (DI: " + list + ")";
}

bool DiOrientadorTransfer::transferProcess(TransferRun& run) {
    const std::string id = run.ctx.dm.cdsXMLPrincipal.text("ID_PROCESSO");
    writeUnit(run, id, [&](const std::string& micro) {
        DiOrientadorWriter(run.ctx, run.progress, run.document, micro).write();
    });
    run.outcome.transferred.push_back(trim(id));
    return true;
}

void DiOrientadorTransfer::finish(TransferRun& run) {
    const std::string list = joined(run.outcome.transferred);
    showClosing(run, successText(list));
    run.ctx.logs.activity(finishedLog(list));
}
