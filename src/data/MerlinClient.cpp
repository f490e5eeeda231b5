#include "data/MerlinClient.h"

#include "base/AppError.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/MerlinAddress.h"

#include <curl/curl.h>

#include <mutex>

namespace {

// A process document is small; anything beyond this is not an answer of the service.
constexpr size_t MaxAnswerBytes = 64u * 1024u * 1024u;
constexpr long MaxTimeoutMs = 24L * 3600L * 1000L;

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Received {
    std::string body;
    std::string statusLine;
    bool tooLarge = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* r = static_cast<Received*>(user);
    const size_t n = size * count;
    if (r->body.size() + n > MaxAnswerBytes) {
        r->tooLarge = true;
        return 0; // makes curl stop with a write error
    }
    r->body.append(data, n);
    return n;
}

// Keeps the last status line: after redirects it is the one of the final answer.
size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* r = static_cast<Received*>(user);
    const size_t n = size * count;
    const std::string line(data, n);
    if (line.rfind("HTTP/", 0) == 0)
        r->statusLine = trim(line);
    return n;
}

// Seconds as typed in the settings ("15", "0.5", "2,5") → milliseconds; 0 when not usable.
long secondsTextToMs(const std::string& text) {
    const std::string t = trim(text);
    long whole = 0, fraction = 0, scale = 1000;
    bool digits = false, separator = false;
    for (const char c : t) {
        if (c >= '0' && c <= '9') {
            digits = true;
            if (!separator) {
                if (whole > MaxTimeoutMs / 1000)
                    return MaxTimeoutMs;
                whole = whole * 10 + (c - '0');
            } else if (scale > 1) {
                scale /= 10;
                fraction += (c - '0') * scale;
            }
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
        } else {
            return 0;
        }
    }
    if (!digits)
        return 0;
    const long ms = whole * 1000 + fraction;
    return ms > MaxTimeoutMs ? MaxTimeoutMs : ms;
}

std::string secondsText(long ms) {
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + " s";
    return std::to_string(ms) + " ms";
}

bool hasHttpScheme(const std::string& address) {
    const std::string head = upperAscii(address.substr(0, 8));
    return head.rfind("HTTP://", 0) == 0 || head.rfind("HTTPS://", 0) == 0;
}

std::string curlFailure(CURLcode rc, const char* detail, const MerlinClient::Timeouts& t, bool tooLarge) {
    const std::string why = detail && *detail ? std::string(detail) : std::string(curl_easy_strerror(rc));
    switch (rc) {
    case CURLE_OPERATION_TIMEDOUT:
        return "Tempo de espera esgotado (conexão " + secondsText(t.connectMs) + ", total " + secondsText(t.totalMs) +
               "): " + why;
    case CURLE_COULDNT_CONNECT:
        return "Não foi possível conectar ao servidor: " + why;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return "Servidor não encontrado: " + why;
    case CURLE_URL_MALFORMAT:
        return "Endereço inválido: " + why;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY:
        // The address was checked before the request: what is left is an answer (or a redirect) that
        // is no HTTP.
        return "O servidor não respondeu em HTTP (resposta ou redirecionamento inválido): " + why;
    case CURLE_OUT_OF_MEMORY:
        // The HTTP client gives this code for an answer header past its 100 KB limit, long before this
        // program could run out of memory; its own text ("Out of memory") would mislead.
        return "O servidor mandou um cabeçalho grande demais na resposta (mais de 100 KB).";
    case CURLE_TOO_MANY_REDIRECTS:
        return "Redirecionamentos demais (mais de " + std::to_string(MerlinClient::MaxRedirects) + "): " + why;
    case CURLE_GOT_NOTHING:
        return "O servidor fechou a conexão sem responder: " + why;
    case CURLE_WRITE_ERROR:
        if (tooLarge)
            return "Resposta grande demais (mais de " + std::to_string(MaxAnswerBytes / (1024 * 1024)) + " MB)";
        [[fallthrough]];
    default:
        return "Falha na comunicação com o servidor: " + why;
    }
}

class HeaderList {
public:
    ~HeaderList() { curl_slist_free_all(m_list); }
    void add(const std::string& header) {
        curl_slist* next = curl_slist_append(m_list, header.c_str());
        if (!next)
            throw AppError("Memória insuficiente para a requisição HTTP");
        m_list = next;
    }
    curl_slist* get() const { return m_list; }

private:
    curl_slist* m_list = nullptr;
};

} // namespace

MerlinClient::Timeouts MerlinClient::timeoutsFromSettings(const Settings& settings) {
    Timeouts t;
    if (const long ms = secondsTextToMs(settings.read(Settings::Dados, Settings::KeyTimeoutConexao)); ms > 0)
        t.connectMs = ms;
    if (const long ms = secondsTextToMs(settings.read(Settings::Dados, Settings::KeyTimeoutTotal)); ms > 0)
        t.totalMs = ms;
    return t;
}

MerlinClient::Timeouts MerlinClient::soapTimeouts(const Settings& settings) {
    Timeouts t = timeoutsFromSettings(settings);
    t.totalMs = SoapTotalSeconds * 1000;
    if (t.connectMs > t.totalMs)
        t.connectMs = t.totalMs;
    return t;
}

MerlinClient::MerlinClient() = default;

MerlinClient::~MerlinClient() {
    if (m_curl)
        curl_easy_cleanup(static_cast<CURL*>(m_curl));
}

MerlinClient::Answer MerlinClient::perform(const std::string& address, const Timeouts& timeouts,
                                           const std::string* postBody, const std::string& soapAction) {
    if (trim(address).empty())
        throw AppError("Endereço do WebService vazio: verifique as configurações");
    if (!hasHttpScheme(address))
        throw AppError("Endereço inválido (deve começar com http:// ou https://): " + address);

    initCurlOnce();
    if (!m_curl)
        m_curl = curl_easy_init();
    if (!m_curl)
        throw AppError("Não foi possível iniciar o cliente HTTP");
    CURL* c = static_cast<CURL*>(m_curl);
    // A reset keeps the cookies the service set earlier; every option is set again below.
    curl_easy_reset(c);

    Received received;
    char detail[CURL_ERROR_SIZE] = {0};
    HeaderList headers;
    headers.add(std::string("Accept: ") + Accept);
    if (postBody) {
        headers.add("Content-Type: text/xml; charset=utf-8");
        headers.add("SOAPAction: \"" + soapAction + "\"");
        headers.add("Expect:"); // no "100-continue" round trip
    }

    curl_easy_setopt(c, CURLOPT_URL, address.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, MaxRedirects);
    curl_easy_setopt(c, CURLOPT_COOKIEFILE, ""); // cookie engine on, in memory only
    curl_easy_setopt(c, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, timeouts.totalMs);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, UserAgent);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &received);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
    if (postBody) {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, postBody->data());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(postBody->size()));
    } else {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    }

    const CURLcode rc = curl_easy_perform(c);
    // The buffers above die with this call: curl must not keep pointers to them.
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
    if (rc != CURLE_OK)
        throw AppError(curlFailure(rc, detail, timeouts, received.tooLarge));

    Answer answer;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer.status);
    answer.statusLine = std::move(received.statusLine);
    answer.body = std::move(received.body);
    return answer;
}

std::string MerlinClient::statusFailure(const Answer& answer) {
    const std::string line = answer.statusLine.empty() ? "HTTP " + std::to_string(answer.status) : answer.statusLine;
    return "O servidor respondeu com erro: " + line;
}

std::string MerlinClient::get(const std::string& address, const Timeouts& timeouts) {
    Answer a = perform(address, timeouts, nullptr, std::string());
    if (a.status < 200 || a.status > 299)
        throw AppError(statusFailure(a));
    return std::move(a.body);
}

std::string MerlinClient::postSoap(const std::string& address, const std::string& soapAction,
                                   const std::string& envelope, const Timeouts& timeouts) {
    Answer a = perform(address, timeouts, &envelope, soapAction);
    if (a.status < 200 || a.status > 299) {
        const std::string fault = MerlinResponse::faultText(a.body);
        throw AppError(fault.empty() ? statusFailure(a) : statusFailure(a) + " - " + fault);
    }
    return std::move(a.body);
}

std::string MerlinClient::requestProcess(const std::string& address, const Timeouts& timeouts) {
    std::string document = get(address, timeouts);
    if (trim(document).empty())
        throw AppError("O WebService não devolveu nenhum documento (resposta vazia)");
    return document;
}

bool MerlinClient::sendReturn(const std::string& address, const Timeouts& timeouts) {
    return returnAccepted(get(address, timeouts));
}

MerlinResponse MerlinClient::receiveMerlinRequest(const std::string& address, const std::string& document,
                                                  const Timeouts& timeouts) {
    return MerlinResponse::parse(postSoap(address, SoapAction, document, timeouts));
}
