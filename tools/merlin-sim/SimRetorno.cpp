#include "SimRetorno.h"

namespace {

std::string htmlEscape(const std::string& s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

SimRetorno::Answer SimRetorno::answer(const Query& q, const SimDirective& directive,
                                      const std::vector<std::string>& configuredReasons) {
    std::vector<std::string> reasons;
    const std::string& type = q.tipoProcesso;
    if (directive.mode == SimDirective::Mode::Refuse || directive.mode == SimDirective::Mode::NotFound) {
        reasons = configuredReasons;
        if (reasons.empty())
            reasons.push_back("Process " + q.idProcesso + " not updated: process not found in Merlin");
    } else if (type != "01" && type != "02" && type != "03" && type != "04") {
        reasons.push_back("Invalid TIPO_PROCESSO: " + type);
    } else if (q.idProcesso.empty()) {
        reasons.push_back("ID_PROCESSO is required");
    } else if (q.registroSiscomex.empty()) {
        reasons.push_back("Process " + q.idProcesso + " not updated: REGISTRO_SISCOMEX is required");
    }

    Answer a;
    a.body = "<HTML><HEAD><TITLE>receiveRetorno</TITLE></HEAD><BODY>\n";
    if (reasons.empty()) {
        a.accepted = true;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            a.timesReceived = ++m_received[type + "|" + q.idProcesso];
        }
        a.body += "<P>Process " + htmlEscape(q.idProcesso) + " - Successfully updated</P>\n";
    } else {
        for (const auto& r : reasons)
            a.body += "<P>" + htmlEscape(r) + "</P>\n";
    }
    a.body += "</BODY></HTML>\n";
    return a;
}

std::string SimRetorno::logLine(const Query& q, const Answer& a) {
    const std::string process = q.tipoProcesso + " " + q.idProcesso;
    if (!a.accepted)
        return "  retorno recusado: " + process + "\n";
    if (a.timesReceived > 1)
        return "  retorno recebido: " + process + " (" + std::to_string(a.timesReceived) +
               "a vez: já recebido antes)\n";
    return "  retorno recebido: " + process + "\n";
}
