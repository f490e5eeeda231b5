#include "retorno/ReturnSender.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/MerlinAddress.h"
#include "data/MerlinClient.h"
#include "data/RecordSet.h"
#include "data/TDM.h"
#include "retorno/PendingReturns.h"
#include "retorno/ReturnList.h"
#include "retorno/ReturnRunLock.h"
#include "retorno/ReturnedProcesses.h"

#include <unordered_set>

namespace {

std::string lines(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += item + "\r";
    return text;
}

ReturnData returnDataOf(const ReturnEntry& e, const std::string& kind) {
    ReturnData d;
    d.kind = kind;
    d.registro = e.registro;
    d.nrProtocolo = e.nrProtocolo;
    d.dataProcessamento = e.dataProcessamento;
    d.dataTransmissao = e.dataTransmissao;
    d.dataProcesso = e.dataProcesso;
    d.nrProcesso = e.nrProcesso;
    return d;
}

} // namespace

ReturnSender::ReturnSender(AppContext& ctx) : m_ctx(ctx), m_clock([] { return std::chrono::system_clock::now(); }) {}

std::string ReturnSender::summaryOf(const std::vector<std::string>& received,
                                    const std::vector<std::string>& notReceived) {
    std::string summary;
    if (!received.empty())
        summary = ReceivedHead + lines(received) + "\r\r";
    if (!notReceived.empty())
        summary += std::string(NotReceivedHead) + "\r\r" + lines(notReceived);
    return summary;
}

ReturnOutcome ReturnSender::EnviarRetorno(RecordSet& list, bool automatic) {
    ReturnRunLock lock(m_ctx.platform);
    if (!lock.held())
        throw AppError(OtherRun);

    Operator& op = m_ctx.op;
    ReturnedProcesses returned(m_ctx.dm);
    PendingReturns pending(m_ctx.platform);
    ReturnOutcome outcome;
    bool waiting = false;
    auto closeWait = [&] {
        if (waiting)
            op.waitClose();
        waiting = false;
    };

    // What ends every run, also one that a failure cuts short.
    auto finish = [&] {
        closeWait();
        returned.close();
        outcome.summary = summaryOf(outcome.received, outcome.notReceived);
        if (!automatic && !trim(outcome.summary).empty())
            op.message(outcome.summary, "Pelomira", MessageIcon::Information);
        m_ctx.logs.activity(EndLog);
        list.close();
    };

    m_ctx.logs.activity(StartLog);
    try {
        std::unordered_set<std::string> pendingKeys;
        for (const PendingReturns::Entry& e : pending.entries())
            pendingKeys.insert(ReturnedProcesses::key(e.kind, e.identifier));

        const std::size_t count = list.active() ? list.recordCount() : 0;
        for (std::size_t i = 0; i < count; ++i) {
            list.moveTo(i);
            const ReturnEntry entry = ReturnList::current(list);
            const std::string kind = trim(entry.kind);
            if (!entry.ticked)
                continue;
            // Another workstation may have returned it since the scan; a pending one Merlin already has.
            if (pendingKeys.count(ReturnedProcesses::key(kind, entry.registro)) ||
                returned.contains(kind, entry.registro))
                continue;

            const std::string line = kind + " - " + entry.registro;
            if (!automatic) {
                op.waitOpen();
                waiting = true;
            }
            op.processEvents();
            std::string address;
            bool accepted = false;
            try {
                const std::string webService = m_ctx.settings.read(Settings::Dados, Settings::KeyWebService);
                address = returnAddress(webService, returnDataOf(entry, kind));
                accepted = m_ctx.dm.IdHTTP.sendReturn(address, MerlinClient::timeoutsFromSettings(m_ctx.settings));
                op.processEvents();
                closeWait();
            } catch (const std::exception& e) {
                m_ctx.logs.error(RequestProcedure + address + ")", e.what());
                closeWait();
                op.message(RequestFailure + upperAscii(address) + "\r" + RequestAdvice,
                           RequestCaption + trim(entry.registro), MessageIcon::Error);
                outcome.failed.push_back(line);
                continue;
            }

            if (!accepted) {
                outcome.notReceived.push_back(line);
                continue;
            }
            const std::string date = ReturnedProcesses::monthDayYear(m_clock());
            try {
                returned.record(kind, entry.registro, date);
            } catch (const std::exception& e) {
                m_ctx.logs.error(InsertProcedure, e.what());
                // Merlin has it: kept where the next scan finds it, so it is never sent a second time. Kept
                // before the box is shown, which may wait a long while for a click.
                try {
                    pending.add({kind, trim(entry.registro), date});
                    pendingKeys.insert(ReturnedProcesses::key(kind, entry.registro));
                } catch (const std::exception& keep) {
                    m_ctx.logs.error(InsertProcedure, keep.what());
                }
                outcome.pending.push_back(line);
                op.message(InsertFailure + std::string(e.what()), "Pelomira", MessageIcon::Error);
            }
            outcome.received.push_back(line);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return outcome;
}
