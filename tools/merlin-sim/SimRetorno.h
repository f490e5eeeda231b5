#pragma once

#include "SimRules.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

/// receiveRetorno of the stand-in: the answer to one return of registration data, and the memory of
/// the processes received, so a process returned a second time is noted in the log (the program must
/// never send an accepted process twice).
class SimRetorno {
public:
    struct Query {
        std::string tipoProcesso;     // TIPO_PROCESSO
        std::string idProcesso;       // ID_PROCESSO
        std::string registroSiscomex; // REGISTRO_SISCOMEX
    };
    struct Answer {
        std::string body; // an HTML page
        bool accepted = false;
        int timesReceived = 0; // accepted returns of this process so far, this one included
    };

    /// The answer for a return whose rule gave directive (Normal, Refuse or NotFound here): "Process ID -
    /// Successfully updated" when it is accepted; otherwise the refusal texts of the rules (retorno.reason)
    /// or the reason it is not valid (TIPO_PROCESSO not 01 to 04, ID_PROCESSO or REGISTRO_SISCOMEX missing).
    Answer answer(const Query& query, const SimDirective& directive, const std::vector<std::string>& reasons);

    /// The log line of an answer: "  retorno recebido: 01 123456" (with "(2a vez)" … when repeated),
    /// or "  retorno recusado: …".
    static std::string logLine(const Query& query, const Answer& answer);

private:
    std::mutex m_mutex;
    std::map<std::string, int> m_received; // "TIPO|ID" → accepted returns
};
