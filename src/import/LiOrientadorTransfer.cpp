#include "import/LiOrientadorTransfer.h"

#include "import/LiOrientadorRules.h"
#include "import/LiOrientadorWriter.h"

namespace {

UnitPreparation preparation() {
    return {"REGIMP",
            LiRules::Micro,
            {LiRules::Operation, LiRules::Highlights.table, LiRules::AgencyProcesses.table, LiRules::Detail},
            LiRules::Operation,
            "NR_IDENT_USUARIO"};
}

} // namespace

LiOrientadorTransfer::LiOrientadorTransfer()
    : LicenceOrientadorTransfer({"LI", "LI.EXE", preparation(), LiOrientadorWriter::TableCount, true}) {}

std::string LiOrientadorTransfer::unitKey(TransferRun&, const std::string& licenceId) const {
    return licenceId;
}

void LiOrientadorTransfer::writeLicence(TransferRun& run, LicenceSources& sources, const std::string& micro) {
    LiOrientadorWriter(run.ctx, run.progress, run.document, sources, micro).write();
}
