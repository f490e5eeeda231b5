#include "SimServer.h"

#include "SimMerlinRequest.h"

#include <httplib.h>
#include <pugixml.hpp>

#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace {

const char* const GarbageText = "\x1b%%EOF 0x3f 7a 00 ~~ ]]> <<<garbage>>> \xff\xfe";
const char* const HtmlPage = "<html><head><title>503 Service Unavailable</title></head>\n"
                             "<body><h1>Service Unavailable</h1>\n"
                             "<p>The server is temporarily unable to service your request.</p></body></html>\n";

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

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

SimServer::SimServer(Options options) : m_options(std::move(options)), m_server(std::make_unique<httplib::Server>()) {
    if (!m_options.logFile.empty())
        m_log.open(m_options.logFile, std::ios::app);
    auto handler = [this](const httplib::Request& req, httplib::Response& res) { handle(req, res); };
    m_server->Get(".*", handler);
    m_server->Post(".*", handler);
}

SimServer::~SimServer() = default;

int SimServer::bind() {
    if (m_options.port == 0)
        return m_server->bind_to_any_port(m_options.host);
    return m_server->bind_to_port(m_options.host, m_options.port) ? m_options.port : -1;
}

bool SimServer::serve() {
    return m_server->listen_after_bind();
}

void SimServer::stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_stopped.notify_all();
    m_server->stop();
}

bool SimServer::wait(long ms) {
    if (ms <= 0)
        return true;
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_stopped.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stopping; });
}

void SimServer::log(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_logMutex);
    std::cout << text << std::flush;
    if (m_log.is_open())
        m_log << text << std::flush;
}

SimRules SimServer::currentRules() {
    SimRules rules = m_options.rules;
    if (!m_options.controlFile.empty()) {
        std::vector<std::string> problems;
        rules.addFile(m_options.controlFile, problems);
        for (const auto& p : problems)
            log("  regra ignorada: " + p + "\n");
    }
    return rules;
}

std::string SimServer::documentFileName(const std::string& kind, const std::string& reference,
                                        const std::string& year) {
    static const char* const hex = "0123456789ABCDEF";
    auto safe = [](const std::string& text) {
        std::string out;
        for (const char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                c == '_') {
                out += ch;
            } else {
                out += '%';
                out += hex[c >> 4];
                out += hex[c & 0x0F];
            }
        }
        return out;
    };
    return kind + "_" + safe(reference) + "_" + safe(year) + ".xml";
}

std::string SimServer::findDocument(const std::string& fileName) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string wanted = lower(fileName);
    for (const auto& entry : fs::directory_iterator(m_options.docsFolder, ec)) {
        if (entry.is_regular_file(ec) && lower(entry.path().filename().string()) == wanted)
            return entry.path().string();
    }
    return std::string();
}

void SimServer::handle(const httplib::Request& req, httplib::Response& res) {
    // The target as it arrived (path and query, still encoded), so a log shows exactly what was sent.
    std::string entry = "[" + now() + "] " + req.method + " " + (req.target.empty() ? req.path : req.target) + "\n";
    if (!req.body.empty())
        entry += "  corpo: " + req.body + (endsWith(req.body, "\n") ? "" : "\n");
    log(entry);

    if (req.method == "GET" && endsWith(req.path, ":receiveDIrequest"))
        processRequest("DI", req, res);
    else if (req.method == "GET" && endsWith(req.path, ":receiveLIrequest"))
        processRequest("LI", req, res);
    else if (req.method == "GET" && endsWith(req.path, ":receiveRetorno"))
        returnRequest(req, res);
    else if (req.method == "POST" && endsWith(req.path, ":receiveMerlinRequest"))
        merlinRequest(req, res);
    else {
        res.status = 404;
        res.set_content("Service not found: " + req.path + "\n", "text/plain");
    }
    // A handler that sets no status answers 200.
    const int status = res.status == -1 ? 200 : res.status;
    log("  -> " + std::to_string(status) + " (" + std::to_string(res.body.size()) + " bytes)\n");
}

// Answers every mode the operations share; false when the operation's own answer is wanted.
static bool commonAnswer(const SimDirective& d, httplib::Response& res) {
    using M = SimDirective::Mode;
    switch (d.mode) {
    case M::Error:
        res.status = d.status;
        res.set_content("Error " + std::to_string(d.status) + " (merlin-sim)\n", "text/plain");
        return true;
    case M::Garbage:
        res.set_content(GarbageText, "application/octet-stream");
        return true;
    case M::Html:
        res.set_content(HtmlPage, "text/html");
        return true;
    case M::Empty:
        res.set_content("", "text/html");
        return true;
    default:
        return false;
    }
}

void SimServer::processRequest(const std::string& kind, const httplib::Request& req, httplib::Response& res) {
    const std::string reference = req.get_param_value("P_TRAMITE");
    const std::string year = req.get_param_value("P_ANO");
    const SimDirective d = currentRules().directive("process", reference);
    if (!wait(d.delayMs))
        return;
    if (commonAnswer(d, res))
        return;
    const std::string company = req.get_param_value("P_CIA");
    if (company != "10") {
        res.status = 404;
        res.set_content("Company not found: P_CIA=" + company + "\n", "text/plain");
        return;
    }
    const std::string fileName = documentFileName(kind, reference, year);
    const std::string path = d.mode == SimDirective::Mode::NotFound ? std::string() : findDocument(fileName);
    std::ifstream in(path, std::ios::binary);
    if (path.empty() || !in) {
        log("  documento " + fileName + " não encontrado em " + m_options.docsFolder + "\n");
        res.status = 404;
        res.set_content("Process not found: " + kind + " " + reference + "/" + year + "\n", "text/plain");
        return;
    }
    std::ostringstream content;
    content << in.rdbuf();
    res.set_content(content.str(), "text/xml");
}

void SimServer::returnRequest(const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.get_param_value("ID_PROCESSO");
    const std::string type = req.get_param_value("TIPO_PROCESSO");
    const SimRules rules = currentRules();
    const SimDirective d = rules.directive("retorno", id);
    if (!wait(d.delayMs))
        return;
    if (commonAnswer(d, res))
        return;

    std::vector<std::string> reasons;
    if (d.mode == SimDirective::Mode::Refuse || d.mode == SimDirective::Mode::NotFound) {
        reasons = rules.reasons("retorno");
        if (reasons.empty())
            reasons.push_back("Process " + id + " not updated: process not found in Merlin");
    } else if (type != "01" && type != "02" && type != "03" && type != "04") {
        reasons.push_back("Invalid TIPO_PROCESSO: " + type);
    } else if (id.empty()) {
        reasons.push_back("ID_PROCESSO is required");
    } else if (req.get_param_value("REGISTRO_SISCOMEX").empty()) {
        reasons.push_back("Process " + id + " not updated: REGISTRO_SISCOMEX is required");
    }

    std::string body = "<HTML><HEAD><TITLE>receiveRetorno</TITLE></HEAD><BODY>\n";
    if (reasons.empty()) {
        body += "<P>Process " + htmlEscape(id) + " - Successfully updated</P>\n";
    } else {
        for (const auto& r : reasons)
            body += "<P>" + htmlEscape(r) + "</P>\n";
    }
    body += "</BODY></HTML>\n";
    res.set_content(body, "text/html");
}

void SimServer::merlinRequest(const httplib::Request& req, httplib::Response& res) {
    std::string action = req.get_header_value("SOAPAction");
    if (action.size() >= 2 && action.front() == '"' && action.back() == '"')
        action = action.substr(1, action.size() - 2);
    const MerlinRequestCheck check = checkMerlinRequest(req.body);
    const SimRules rules = currentRules();
    const SimDirective d = rules.directive("soap", check.entity);
    if (!wait(d.delayMs))
        return;
    if (commonAnswer(d, res))
        return;
    log("  receiveMerlinRequest -> " + answerMerlinRequest(action, check, d, rules.reasons("soap"), res) + "\n");
}
