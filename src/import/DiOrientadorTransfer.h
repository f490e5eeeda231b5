#pragma once

#include "import/OrientadorTransfer.h"

/// The DI transfer into the Orientador: after the operator confirms, every process of the document
/// (one per record of cdsXMLPrincipal) is written into IMPORT.MDB under a new micro number, its earlier
/// rows having been removed in the same transaction; the closing message offers to start the
/// Orientador's DI program. A failure ends the run without the closing message; the declarations
/// written before it stay.
class DiOrientadorTransfer : public OrientadorTransfer {
public:
    static constexpr const char* BusyText = "Transferência de DI para o Orientador - SISCOMEX";

    DiOrientadorTransfer();

    /// "DI(s) " + list + " recebida(s) com êxito ao Orientador - SISCOMEX!"
    static std::string successText(const std::string& list);
    /// "Finalizando Importação de Processos para o SISCOMEX (DI: " + list + ")"
    static std::string finishedLog(const std::string& list);

protected:
    bool transferProcess(TransferRun& run) override;
    void finish(TransferRun& run) override;
};
