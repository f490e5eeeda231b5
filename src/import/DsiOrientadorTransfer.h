#pragma once

#include "import/OrientadorTransfer.h"

/// The DSI transfer into the Orientador: every process of the document into DSI.MDB, each keyed by its
/// identifier, so a DSI transferred again replaces the earlier one. An impeded process is skipped and the
/// others go on; a failure ends the run, and the DSIs written before it stay and are reported.
class DsiOrientadorTransfer : public OrientadorTransfer {
public:
    DsiOrientadorTransfer();

    /// "DSI(s) " + list + " recebida(s) com êxito no Orientador - SISCOMEX!"
    static std::string successText(const std::string& list);
    /// "DSI(s) NÃO RECEBIDAS por impedimento: " + list
    static std::string impededText(const std::string& list);

protected:
    bool transferProcess(TransferRun& run) override;
    void finish(TransferRun& run) override;
};
