#include "retorno/AutomaticReturn.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "data/RecordSet.h"
#include "retorno/RegistrationScan.h"
#include "retorno/ReturnRunLock.h"

std::optional<ReturnOutcome> AutomaticReturn::run(const ReturnSender::Clock& clock) {
    m_postponed = false;
    ReturnRunLock lock(m_ctx.platform);
    if (!lock.held()) {
        m_postponed = true;
        m_ctx.logs.activity(Postponed);
        return std::nullopt;
    }
    RecordSet list("cdsTemp");
    try {
        RegistrationScan(m_ctx).automatic(list);
        ReturnSender sender(m_ctx);
        if (clock)
            sender.setClock(clock);
        ReturnOutcome outcome = sender.EnviarRetorno(list, true);
        // Built from what this run did: the run's own lists are emptied by the time it returns.
        if (!outcome.summary.empty())
            m_ctx.op.balloon(outcome.summary);
        return outcome;
    } catch (const std::exception& e) {
        const std::string message = e.what();
        m_ctx.logs.error(Procedure, message);
        m_ctx.op.balloon(ErrorHead + message + "\r\r" + ErrorTail);
        return std::nullopt;
    }
}
