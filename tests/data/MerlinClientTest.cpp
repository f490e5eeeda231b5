// The Merlin client against a real HTTP server on 127.0.0.1 in the test process.
#include "data/MerlinClient.h"
#include "FailureOf.h"
#include "TestEnv.h"
#include "TestWorld.h"
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/MerlinAddress.h"
#include "data/TDM.h"
#include "import/MerlinProcessRequest.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace {

struct Seen {
    std::string method, target, path, body;
    httplib::Headers headers;
    httplib::Params params;
    int remotePort = 0;
};

const char* const SoapAccepted =
    R"(<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/"><SOAP-ENV:Body>
<rec:receiveMerlinRequestResponse xmlns:rec="urn:t"><Response><code><item>0</item></code>
<description><item>Request received</item></description></Response></rec:receiveMerlinRequestResponse>
</SOAP-ENV:Body></SOAP-ENV:Envelope>)";
const char* const SoapRefused =
    R"(<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/"><SOAP-ENV:Body>
<rec:receiveMerlinRequestResponse xmlns:rec="urn:t"><Response><code><item>1</item></code>
<description><item>A</item><item>B</item></description></Response></rec:receiveMerlinRequestResponse>
</SOAP-ENV:Body></SOAP-ENV:Envelope>)";
const char* const SoapFault =
    R"(<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/"><SOAP-ENV:Body>
<SOAP-ENV:Fault><faultcode>SOAP-ENV:Server</faultcode><faultstring>Entity unknown</faultstring></SOAP-ENV:Fault>
</SOAP-ENV:Body></SOAP-ENV:Envelope>)";

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

/// A small Merlin look-alike serving the cases the client must handle; it notes every request.
class LocalServer {
public:
    LocalServer() {
        m_server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            note(req);
            const std::string& p = req.path;
            if (p.rfind("/invoke/", 0) == 0 && (endsWith(p, ":receiveDIrequest") || endsWith(p, ":receiveLIrequest"))) {
                res.set_content("<PROCESSOS><P>" + req.get_param_value("P_TRAMITE") + "</P></PROCESSOS>", "text/xml");
            } else if (endsWith(p, ":receiveRetorno")) {
                const std::string id = req.get_param_value("ID_PROCESSO");
                res.set_content(id == "ok"      ? "<p>Process ok - Successfully updated</p>"
                                : id == "lower" ? "successfully updated"
                                                : "Process not found",
                                "text/html");
            } else if (p == "/redirect") {
                res.set_header("Set-Cookie", "sessao=abc123; Path=/");
                res.set_redirect("/final");
            } else if (p == "/final") {
                res.set_content("final cookie=" + req.get_header_value("Cookie"), "text/plain");
            } else if (p == "/loop") {
                res.set_redirect("/loop");
            } else if (p == "/fail500") {
                res.status = 500;
                res.set_content("boom", "text/plain");
            } else if (p == "/empty") {
                res.set_content("", "text/html");
            } else {
                res.status = 404;
            }
        });
        m_server.Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
            note(req);
            if (req.body.find("ACCEPT") != std::string::npos)
                res.set_content(SoapAccepted, "text/xml");
            else if (req.body.find("REFUSE") != std::string::npos)
                res.set_content(SoapRefused, "text/xml");
            else if (req.body.find("FAULT") != std::string::npos) {
                res.status = 500;
                res.set_content(SoapFault, "text/xml");
            } else
                res.set_content("<html><body>Service Unavailable</body></html>", "text/html");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~LocalServer() {
        m_server.stop();
        m_thread.join();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }
    std::vector<Seen> seen() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }
    Seen last() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen.empty() ? Seen() : m_seen.back();
    }

private:
    void note(const httplib::Request& req) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen.push_back({req.method, req.target, req.path, req.body, req.headers, req.params, req.remote_port});
    }
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<Seen> m_seen;
};

/// A TCP port that listens and never answers: the kernel completes the connection, nobody reads it.
class SilentPort {
public:
    SilentPort() {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(m_fd, 4);
        socklen_t len = sizeof a;
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len);
        m_port = ntohs(a.sin_port);
    }
    ~SilentPort() { close(m_fd); }
    int port() const { return m_port; }
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
    int m_port = 0;
};

/// A server that answers one request with the bytes it is given, whatever they are.
class RawAnswer {
public:
    explicit RawAnswer(std::string answer) : m_answer(std::move(answer)) {
        m_thread = std::thread([this] {
            const int c = accept(m_port.fd(), nullptr, nullptr);
            if (c < 0)
                return;
            std::string request;
            char buf[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = recv(c, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                request.append(buf, static_cast<size_t>(n));
            }
            for (size_t sent = 0; sent < m_answer.size();) {
                const ssize_t n = send(c, m_answer.data() + sent, m_answer.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<size_t>(n);
            }
            close(c);
        });
    }
    ~RawAnswer() {
        shutdown(m_port.fd(), SHUT_RDWR);
        m_thread.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port.port()) + "/x"; }

private:
    std::string m_answer;
    SilentPort m_port;
    std::thread m_thread;
};

/// A port nobody listens on: taken from the system, then given back.
int closedPort() {
    SilentPort p;
    return p.port();
}

const MerlinClient::Timeouts Quick{2000, 5000};

} // namespace

TEST(MerlinClientHttp, SendsTheExactAddressForEveryKind) {
    LocalServer server;
    MerlinClient client;
    const std::string base = server.url("/invoke/amDGFLatamMerlin.services");
    const std::string path = "/invoke/amDGFLatamMerlin.services";

    client.get(processRequestAddress(base, "DSI", "IMP 001", " 2026 "), Quick);
    EXPECT_EQ(server.last().target, path + ":receiveDIrequest?P_CIA=10&P_TRAMITE=IMP%20001&P_ANO=2026");
    EXPECT_EQ(server.last().params.find("P_TRAMITE")->second, "IMP 001");

    client.get(processRequestAddress(base, "LSI", "0002/26", "2026"), Quick);
    EXPECT_EQ(server.last().target, path + ":receiveLIrequest?P_CIA=10&P_TRAMITE=0002/26&P_ANO=2026");
    client.get(processRequestAddress(base, "LI", "L", "2026"), Quick);
    EXPECT_EQ(server.last().path, path + ":receiveLIrequest");
    client.get(processRequestAddress(base, "DI", "D", "2026"), Quick);
    EXPECT_EQ(server.last().path, path + ":receiveDIrequest");

    // "&" in the reference stays inside P_TRAMITE instead of adding a parameter.
    const std::string body = client.get(processRequestAddress(base, "DI", "A&P_CIA=99 Ç", "2026"), Quick);
    const Seen s = server.last();
    EXPECT_EQ(s.params.size(), 3u);
    EXPECT_EQ(s.params.find("P_TRAMITE")->second, "A&P_CIA=99 Ç");
    EXPECT_EQ(s.params.find("P_CIA")->second, "10");
    EXPECT_EQ(body, "<PROCESSOS><P>A&P_CIA=99 Ç</P></PROCESSOS>");
}

TEST(MerlinClientHttp, HeadersCookiesRedirectsAndFreshConnections) {
    LocalServer server;
    MerlinClient client;
    // The redirect sets a cookie; the client follows it and sends the cookie back.
    EXPECT_EQ(client.get(server.url("/redirect"), Quick), "final cookie=sessao=abc123");
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 2u);
    for (const auto& s : seen) {
        EXPECT_EQ(s.headers.find("Accept")->second, "text/html, */*");
        EXPECT_EQ(s.headers.find("User-Agent")->second, "Mozilla/3.0 (compatible; Indy Library)");
    }
    // Cookies live as long as the client: a later request still carries it.
    EXPECT_EQ(client.get(server.url("/final"), Quick), "final cookie=sessao=abc123");
    EXPECT_EQ(MerlinClient().get(server.url("/final"), Quick), "final cookie=");
    // Each request came over a connection of its own.
    const auto all = server.seen();
    EXPECT_NE(all[1].remotePort, all[2].remotePort);

    EXPECT_NE(failureOf([&] { client.get(server.url("/loop"), Quick); }).find("Redirecionamentos demais"),
              std::string::npos);
}

TEST(MerlinClientHttp, FailuresNameTheirCause) {
    LocalServer server;
    MerlinClient client;
    EXPECT_EQ(failureOf([&] { client.get(server.url("/fail500"), Quick); }),
              "O servidor respondeu com erro: HTTP/1.1 500 Internal Server Error");
    EXPECT_EQ(failureOf([&] { client.get(server.url("/nothing"), Quick); }),
              "O servidor respondeu com erro: HTTP/1.1 404 Not Found");

    // An empty answer is an empty text for a plain GET, but no document for a process request.
    EXPECT_EQ(client.get(server.url("/empty"), Quick), "");
    EXPECT_NE(failureOf([&] { client.requestProcess(server.url("/empty"), Quick); }).find("resposta vazia"),
              std::string::npos);

    const std::string refused = "http://127.0.0.1:" + std::to_string(closedPort()) + "/x";
    EXPECT_NE(failureOf([&] { client.get(refused, Quick); }).find("Não foi possível conectar ao servidor"),
              std::string::npos);

    EXPECT_NE(failureOf([&] { client.get("", Quick); }).find("vazio"), std::string::npos);
    EXPECT_NE(failureOf([&] { client.get(":receiveDIrequest?P_CIA=10", Quick); }).find("Endereço inválido"),
              std::string::npos);
    EXPECT_NE(failureOf([&] { client.get("ftp://127.0.0.1/x", Quick); }).find("Endereço inválido"), std::string::npos);
    EXPECT_NE(failureOf([&] { client.get("http://[::1/x", Quick); }).find("Endereço inválido"), std::string::npos);
}

TEST(MerlinClientHttp, AnswersThatAreNoHttpAreNamedAsSuch) {
    MerlinClient client;
    {
        RawAnswer garbage("LIXO 200 QUALQUER COISA\r\n\r\n<PROCESSOS/>");
        const std::string why = failureOf([&] { client.get(garbage.url(), Quick); });
        EXPECT_NE(why.find("não respondeu em HTTP"), std::string::npos) << why;
        EXPECT_EQ(why.find("Endereço inválido"), std::string::npos) << why;
    }
    {
        RawAnswer giant("HTTP/1.1 200 OK\r\nX-Enorme: " + std::string(2 * 1024 * 1024, 'a') + "\r\n\r\nx");
        const std::string why = failureOf([&] { client.get(giant.url(), Quick); });
        EXPECT_NE(why.find("cabeçalho grande demais"), std::string::npos) << why;
        EXPECT_EQ(why.find("Out of memory"), std::string::npos) << why;
    }
}

TEST(MerlinClientHttp, SilentServerEndsAtTheTimeoutFromTheSettings) {
    TestEnv env;
    auto platform = Platform::createNative();
    Settings settings(*platform);
    settings.write("Dados", "TimeoutConexao", "1");
    settings.write("Dados", "TimeoutTotal", "0.4");
    SilentPort silent;
    MerlinClient client;

    const auto start = std::chrono::steady_clock::now();
    const std::string why = failureOf([&] {
        client.get("http://127.0.0.1:" + std::to_string(silent.port()) + "/x",
                   MerlinClient::timeoutsFromSettings(settings));
    });
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_NE(why.find("Tempo de espera esgotado"), std::string::npos) << why;
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    EXPECT_GE(elapsed, std::chrono::milliseconds(350));
}

TEST(MerlinClientHttp, ReturnAcceptedOnlyOnSuccessfullyUpdated) {
    LocalServer server;
    MerlinClient client;
    const std::string base = server.url("/ws");
    ReturnData data{"LSI", "ok", "P", "", "", "01/06/2026", "N"};
    EXPECT_TRUE(client.sendReturn(returnAddress(base, data), Quick));
    EXPECT_EQ(server.last().target,
              "/ws:receiveRetorno?TIPO_PROCESSO=04&ID_PROCESSO=ok&NR_PROTOCOLO=P&DATA_REGISTRO=01062026"
              "&REGISTRO_SISCOMEX=N&ANOREGISTRO=2026");
    data.registro = "lower";
    EXPECT_FALSE(client.sendReturn(returnAddress(base, data), Quick));
    data.registro = "other";
    EXPECT_FALSE(client.sendReturn(returnAddress(base, data), Quick));
}

TEST(MerlinClientHttp, SoapRequestAcceptedRefusedOrUnreadable) {
    LocalServer server;
    MerlinClient client;
    const std::string address = merlinRequestAddress(server.url("/ws2"));
    const std::string document = "<soapenv:Envelope><!-- ACCEPT --> Ação</soapenv:Envelope>";

    const MerlinResponse accepted = client.receiveMerlinRequest(address, document, Quick);
    EXPECT_TRUE(accepted.accepted());
    const Seen s = server.last();
    EXPECT_EQ(s.method, "POST");
    EXPECT_EQ(s.path, "/ws2:receiveMerlinRequest");
    EXPECT_EQ(s.body, document); // sent unchanged
    EXPECT_EQ(s.headers.find("SOAPAction")->second,
              "\"amDGFLatamMerlin_webservices_provider_receiveMerlinRequest_Binder_receiveMerlinRequest\"");
    EXPECT_EQ(s.headers.find("Content-Type")->second, "text/xml; charset=utf-8");

    const MerlinResponse refused = client.receiveMerlinRequest(address, "<x>REFUSE</x>", Quick);
    EXPECT_FALSE(refused.accepted());
    EXPECT_EQ(refused.reason(), "A\rB\r");

    EXPECT_NE(failureOf([&] { client.receiveMerlinRequest(address, "<x/>", Quick); }).find("não é um envelope SOAP"),
              std::string::npos);
    EXPECT_EQ(failureOf([&] { client.receiveMerlinRequest(address, "<x>FAULT</x>", Quick); }),
              "O servidor respondeu com erro: HTTP/1.1 500 Internal Server Error - Entity unknown");
}

TEST(MerlinClientHttp, ProcessRequestOperationReportsFailureInTheProgramsWords) {
    TestWorld w;
    LocalServer server;
    Settings& settings = w.settings;
    ScriptedOperator& op = w.op;
    AppContext& ctx = w.ctx;
    TestEnv& env = w.env;

    settings.write("Dados", "WebService", server.url("/invoke/amDGFLatamMerlin.services"));
    const MerlinProcessAnswer ok = requestProcessDocument(ctx, "DI", "IMP 1", "2026");
    ASSERT_TRUE(ok.document.has_value());
    EXPECT_EQ(*ok.document, "<PROCESSOS><P>IMP 1</P></PROCESSOS>");
    ASSERT_EQ(op.calls().size(), 2u);
    EXPECT_EQ(op.calls()[0].kind, "waitOpen");
    EXPECT_EQ(op.calls()[1].kind, "waitClose");
    EXPECT_FALSE(TestEnv::exists(env.home() + "ERRO.CSV"));

    op.clear();
    settings.write("Dados", "WebService", server.url("/missing"));
    const MerlinProcessAnswer bad = requestProcessDocument(ctx, "LSI", "IMP 1", "2026");
    EXPECT_FALSE(bad.document.has_value());
    const std::string address = server.url("/missing") + ":receiveLIrequest?P_CIA=10&P_TRAMITE=IMP%201&P_ANO=2026";
    EXPECT_EQ(bad.address, address);
    const auto messages = op.callsOf("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Erro ao consultar WebService - Processo IMP%201");
    EXPECT_EQ(messages[0].text, "Falha na consulta ao WebService\r"
                                "HTTP://127.0.0.1:" +
                                    server.url("").substr(17) +
                                    "/MISSING:RECEIVELIREQUEST?P_CIA=10&P_TRAMITE=IMP%201&P_ANO=2026\r"
                                    "Por favor verifique se a URL está correta ou se\r"
                                    "a conexão com a Internet está ativa neste terminal.");
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(op.calls().back().kind, "waitClose");
    const std::string errors = TestEnv::readFile(env.home() + "ERRO.CSV");
    EXPECT_NE(errors.find("Procedimento: Consultando WebService (" + address +
                          ") - Erro: O servidor respondeu com erro: HTTP/1.1 404 Not Found"),
              std::string::npos)
        << errors;
}
