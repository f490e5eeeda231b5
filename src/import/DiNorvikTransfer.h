#pragma once

#include "import/ProcessTransfer.h"

#include <string>

/// The DI transfer into NORVIK: after the operator confirms, every process of the document becomes one
/// RIREGI record and the records of its companion files, keyed by REGISTRO. A process already in NORVIK
/// is offered for overwriting; "&Cancelar" ends the walk there.
///
/// A field that cannot be written is reported and skipped. Any other failure ends the run with the
/// transfer's own message (quoting the step the progress window showed) and an ERRO.CSV line; the DIs
/// completed before it stay, and the rows of the failing DI are taken out again.
class DiNorvikTransfer : public ProcessTransfer {
public:
    static constexpr const char* ConfirmText = "Confirma a transferência para o NORVIK?";
    static constexpr const char* ConfirmCaption = "Pelomira - DI";
    static constexpr const char* OpenButton = "&Abrir o NORVIK";
    static constexpr const char* OkButton = "&OK";
    static constexpr int OpenButtonResult = 1;
    static constexpr const char* OpenFailure =
        "Não foi possível abrir o NORVIK\rVerifique se o mesmo está instalado e se a pasta de instalação\restá "
        "informada corretamente nas configurações do PELOMIRA";
    static constexpr const char* ProgramName = "NORVIK.EXE";
    static constexpr const char* BusyText = "Transferência de DI para o NORVIK";

    TransferOutcome run(AppContext& ctx, const LoadedProcessDocument& document) override;

    /// "DI(s) " + list + " recebida(s) com êxito no NORVIK!"
    static std::string successText(const std::string& list);
    /// "Finalizando Importação de Processos para o NORVIK (DI: " + list + ")"
    static std::string finishedLog(const std::string& list);
};
