#pragma once

#include "SimRetorno.h"
#include "SimRules.h"

#include <condition_variable>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

/// The stand-in for the Merlin web service: process documents from a folder, returns, and
/// receiveMerlinRequest, each answered as its rules say; every request is logged.
class SimServer {
public:
    struct Options {
        std::string host = "127.0.0.1";
        int port = 0;            // 0: any free port
        std::string docsFolder;  // process documents
        std::string logFile;     // empty: stdout only
        std::string controlFile; // rules re-read at every request; empty: none
        SimRules rules;          // rules from the command line
    };

    explicit SimServer(Options options);
    ~SimServer();

    /// Binds the socket; returns the port, or -1 when the address cannot be bound.
    int bind();
    /// Serves until stop(); returns false when serving failed.
    bool serve();
    /// Ends serve() and cuts every pending delay short. Safe from another thread.
    void stop();

    /// The file name a process document is looked up under: KIND_REFERENCE_YEAR.xml, where KIND is DI
    /// (receiveDIrequest: DI and DSI) or LI (receiveLIrequest: LI and LSI), and every character of the
    /// reference and the year other than letters, digits, "-", "." and "_" is written as %XX.
    static std::string documentFileName(const std::string& kind, const std::string& reference, const std::string& year);

private:
    void handle(const httplib::Request& req, httplib::Response& res);
    void processRequest(const std::string& kind, const httplib::Request& req, httplib::Response& res);
    void returnRequest(const httplib::Request& req, httplib::Response& res);
    void merlinRequest(const httplib::Request& req, httplib::Response& res);
    SimRules currentRules();
    bool wait(long ms);
    void log(const std::string& text);
    std::string findDocument(const std::string& fileName) const;

    Options m_options;
    std::unique_ptr<httplib::Server> m_server;
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stopping = false;
    std::mutex m_logMutex;
    std::ofstream m_log;
    SimRetorno m_retorno;
};
