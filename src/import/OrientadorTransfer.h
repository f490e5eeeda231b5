#pragma once

#include "data/TransferProgress.h"
#include "import/ProcessTransfer.h"
#include "import/UnitPreparation.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

/// One run of an Orientador transfer: what its steps share.
struct TransferRun {
    AppContext& ctx;
    const LoadedProcessDocument& document;
    TransferProgress progress;
    TransferOutcome outcome;
    /// The Orientador folder the units go to, read from the settings for the first unit of the run.
    std::optional<std::string> folder = {};
    /// How many of outcome.transferred are committed to the file; the rest wait for the next commit.
    std::size_t committed = 0;
    /// When the transaction holding the units not yet committed began.
    std::chrono::steady_clock::time_point transactionStart = {};
};

/// What the four transfers into the Orientador (DI, LI, DSI, LSI) share: the confirmation, the walk over
/// the processes of the document, the writing of each unit (a declaration, a licence, a DSI) prepared and
/// written whole or not at all on its file, the failure report and the closing message window that
/// offers to start the Orientador's program. A kind gives its names, its preparation and how it walks and
/// closes.
///
/// Each unit is a savepoint; the units share a commit, made when the transaction has been open for
/// GroupCommitMs, before the operator is told anything between units, and at the end of the run, so a
/// run of many small units does not pay a commit each. A program killed part way leaves the units
/// written since the last commit at their earlier versions; none of them had been reported.
///
/// A field that cannot be written is reported and skipped. Any other failure ends the run with the
/// transfer's message (quoting the step the progress window showed) and an ERRO.CSV line; the unit being
/// written is dropped whole, its earlier version untouched, and the units written before it stay.
class OrientadorTransfer : public ProcessTransfer {
public:
    static constexpr const char* ConfirmText = "Confirma a transferência para o Orientador - SISCOMEX?";
    static constexpr const char* PreparingText = "Preparando a transferência, Aguarde...";
    static constexpr const char* StartingText = "Iniciando transferência, Aguarde...";
    static constexpr const char* OpenButton = "&Abrir o Orientador\rSISCOMEX";
    static constexpr const char* OkButton = "&OK";
    /// The result of the message window when OpenButton was pressed.
    static constexpr int OpenButtonResult = 1;
    static constexpr const char* OpenFailure =
        "Não foi possível abrir o Orientador - SISCOMEX\rVerifique se o mesmo está instalado e se a pasta de "
        "instalação\restá informada corretamente nas configurações do PELOMIRA";
    static constexpr const char* Caption = "Pelomira";
    /// The longest the units of a run wait for their commit while more are written.
    static constexpr int GroupCommitMs = 250;

    /// What sets one kind apart.
    struct Kind {
        const char* name;    // "DI", "LI", "DSI", "LSI"
        const char* program; // the Orientador's program for the kind: "DI.EXE" …
        UnitPreparation preparation;
        int tableCount;          // tables written per unit: the steps of the transfer's progress window
        bool closesAfterFailure; // the closing still reports the units written before a failure
    };

    explicit OrientadorTransfer(Kind kind) : m_kind(std::move(kind)) {}

    TransferOutcome run(AppContext& ctx, const LoadedProcessDocument& document) final;

    const Kind& kind() const { return m_kind; }
    /// "Transferência de X para o Orientador - SISCOMEX", the operation the busy guard names.
    std::string busyText() const;
    /// The transfer's failure message for the step the progress window showed.
    static std::string failureText(const std::string& step, const std::string& failure);
    /// Identifiers joined by ", ".
    static std::string joined(const std::vector<std::string>& ids);

protected:
    /// Writes the units of the current main record through writeUnit. False ends the walk over the
    /// processes of the document.
    virtual bool transferProcess(TransferRun& run) = 0;
    /// The closing texts, their activity-log lines and the message window (showClosing).
    virtual void finish(TransferRun& run) = 0;

    /// Prepares and writes one unit, whole or not at all, on the kind's file: the progress window with the
    /// preparation's steps, prepareUnit, then the window with the table steps and write(key). Nothing
    /// of the unit stays when it throws; the earlier version it replaces is then untouched.
    std::string writeUnit(TransferRun& run, const std::string& id,
                          const std::function<void(const std::string&)>& write);
    /// The message window with the closing text; its first button starts the kind's program.
    void showClosing(TransferRun& run, const std::string& text);
    /// Commits the units written so far, so the file is not held while the operator reads a message.
    /// Throws AppError when the file refuses.
    void commitUnits(TransferRun& run);
    /// Tells the operator of a process or licence Merlin marked impeded and notes it in the outcome.
    void reportImpediment(TransferRun& run, const std::string& id, const std::string& description);

private:
    void reportFailure(TransferRun& run, const std::string& failure);
    void openProgram(TransferRun& run);

    Kind m_kind;
};
