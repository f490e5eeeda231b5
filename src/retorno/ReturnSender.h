#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct AppContext;
class RecordSet;

/// What one return run did.
struct ReturnOutcome {
    /// "DI - 123456": Merlin answered "Successfully updated" (whether or not GERADOS took the row).
    std::vector<std::string> received;
    /// Merlin answered something else.
    std::vector<std::string> notReceived;
    /// The request could not be made or answered (the error box was shown); offered again later.
    std::vector<std::string> failed;
    /// Received processes whose GERADOS row could not be written; kept pending (PendingReturns).
    std::vector<std::string> pending;
    /// The summary text ("Os seguintes processos foram recebidos pelo MERLIN: …"); empty when nothing
    /// was sent.
    std::string summary;

    bool allReceived() const { return notReceived.empty() && failed.empty(); }
};

/// EnviarRetorno: sends each ticked process of a return list to Merlin (one GET ":receiveRetorno"
/// each), records the accepted ones in GERADOS and reports which Merlin received and which it did not.
///
/// Manual mode (the return window's "Gerar", `pelomira-cli return send KIND REGISTRO…`) shows the wait
/// window during each request and the summary in a message box; automatic mode (the alert timer,
/// `return send --all`) shows neither and leaves the summary to its caller's balloon. In both modes a
/// failed request shows its error box and the run goes on with the next process.
class ReturnSender {
public:
    static constexpr const char* StartLog = "Iniciando Exportação de Retorno";
    static constexpr const char* EndLog = "Finalizando Exportação de Retorno";
    static constexpr const char* InsertProcedure = "Inserindo dados do retorno na tabela";
    static constexpr const char* InsertFailure = "Não foi possível gravar os dados de retorno na tabela\rERRO: ";
    static constexpr const char* RequestProcedure = "Retorno ao WebService (";
    static constexpr const char* RequestCaption = "Erro no Retorno ao WebService - Processo ";
    static constexpr const char* RequestFailure = "Falha no Retorno ao WebService\r";
    static constexpr const char* RequestAdvice = "Por favor verifique se a URL está correta ou se\r"
                                                 "a conexão com a Internet está ativa neste terminal.";
    static constexpr const char* ReceivedHead = "Os seguintes processos foram recebidos pelo MERLIN: \r\r";
    static constexpr const char* NotReceivedHead = "Os processos a seguir NÃO foram recebidos pelo MERLIN: ";
    static constexpr const char* OtherRun =
        "Outro retorno ao Merlin está em andamento neste computador (janela ou linha de comando). "
        "Tente novamente quando ele terminar.";

    using Clock = std::function<std::chrono::system_clock::time_point()>;

    explicit ReturnSender(AppContext& ctx);
    /// The clock that dates the GERADOS rows (tests).
    void setClock(Clock clock) { m_clock = std::move(clock); }

    /// Runs the return over list and closes the list at the end. A failure other than one process's
    /// request (the already-returned test failing, say) ends the loop; the summary and the closing log
    /// entry are still made, then the failure is thrown on. Throws AppError with OtherRun, before
    /// anything is written, when another program is running a return.
    ReturnOutcome EnviarRetorno(RecordSet& list, bool automatic);

    /// The summary of a run from its two lists.
    static std::string summaryOf(const std::vector<std::string>& received, const std::vector<std::string>& notReceived);

private:
    AppContext& m_ctx;
    Clock m_clock;
};
