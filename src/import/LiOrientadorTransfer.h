#pragma once

#include "import/LicenceOrientadorTransfer.h"

/// The LI transfer into the Orientador: every licence of every process into REGIMP.MDB, one operation
/// under a micro number of its own; a licence transferred again replaces its earlier operation, found by
/// its identifier. A failure ends the run; the licences written before it stay and are reported.
class LiOrientadorTransfer : public LicenceOrientadorTransfer {
public:
    LiOrientadorTransfer();

protected:
    std::string unitKey(TransferRun& run, const std::string& licenceId) const override;
    void writeLicence(TransferRun& run, LicenceSources& sources, const std::string& micro) override;
};
