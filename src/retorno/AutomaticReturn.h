#pragma once

#include "retorno/ReturnSender.h"

#include <optional>

struct AppContext;

/// The work of one alert-timer tick (Timer_AlertaTimer), and of `pelomira-cli return send --all`:
/// the automatic scan fills a return list with every registered process not yet returned, all ticked,
/// and the return runs over it in automatic mode. What Merlin received and did not receive is shown in
/// the notification-area balloon; a failure goes to ERRO.CSV ("Procedimento: Retorno Automático - Erro:
/// …") and to the error balloon, and the next tick tries again.
///
/// The run works on a list of its own, never on the return window's: a tick while the window is open
/// leaves the operator's list and ticks as they are (a process the tick returned is skipped by the
/// window's run, which tests GERADOS again before it sends).
class AutomaticReturn {
public:
    static constexpr const char* Procedure = "Retorno Automático";
    static constexpr const char* ErrorHead = "Ocorreu o seguinte erro ao tentar executar o retorno automático: \r\r";
    static constexpr const char* ErrorTail = "Por favor verifique se o SISCOMEX não está aberto!";
    static constexpr const char* Postponed = "Checagem automática adiada: retorno em andamento em outro programa";

    explicit AutomaticReturn(AppContext& ctx) : m_ctx(ctx) {}

    /// One run. The outcome when the run went through; nothing after a reported failure, or when
    /// another program was running a return (the tick is then noted in the activity log and skipped).
    std::optional<ReturnOutcome> run(const ReturnSender::Clock& clock = ReturnSender::Clock());

    /// True when the last run was skipped because another program was running a return.
    bool postponed() const { return m_postponed; }

private:
    AppContext& m_ctx;
    bool m_postponed = false;
};
