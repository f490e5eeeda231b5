#pragma once

#include "import/ProcessTransfer.h"

/// The DI transfer into the Orientador: after the operator confirms, every process of the document
/// (one per record of cdsXMLPrincipal) is written into IMPORT.MDB under a new micro number, its earlier
/// rows having been removed; the closing message offers to start the Orientador's DI program.
///
/// A field that cannot be written is reported and skipped. Any other failure ends the run with the
/// transfer's own message (quoting the step the progress window showed) and an ERRO.CSV line; the
/// processes and rows written before it stay as they are.
class DiOrientadorTransfer : public ProcessTransfer {
public:
    static constexpr const char* ConfirmText = "Confirma a transferência para o Orientador - SISCOMEX?";
    static constexpr const char* ConfirmCaption = "Pelomira - DI";
    static constexpr const char* PreparingText = "Preparando a transferência, Aguarde...";
    static constexpr const char* StartingText = "Iniciando transferência, Aguarde...";
    static constexpr const char* OpenButton = "&Abrir o Orientador\rSISCOMEX";
    static constexpr const char* OkButton = "&OK";
    /// The result of the message window when OpenButton was pressed.
    static constexpr int OpenButtonResult = 1;
    static constexpr const char* OpenFailure =
        "Não foi possível abrir o Orientador - SISCOMEX\rVerifique se o mesmo está instalado e se a pasta de "
        "instalação\restá informada corretamente nas configurações do PELOMIRA";
    static constexpr const char* ProgramName = "DI.EXE";
    static constexpr const char* BusyText = "Transferência de DI para o Orientador - SISCOMEX";

    void run(AppContext& ctx, const LoadedProcessDocument& document) override;

    /// "DI(s) " + list + " recebida(s) com êxito ao Orientador - SISCOMEX!"
    static std::string successText(const std::string& list);
    /// "Finalizando Importação de Processos para o SISCOMEX (DI: " + list + ")"
    static std::string finishedLog(const std::string& list);
    /// The transfer's failure message for the step the progress window showed.
    static std::string failureText(const std::string& step, const std::string& failure);
};
