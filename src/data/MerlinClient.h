#pragma once

#include "data/MerlinResponse.h"

#include <string>

class Settings;

/// An HTTP session with the Merlin web service (libcurl). It keeps the cookies the service sets for
/// as long as it lives; every request opens a fresh connection and closes it afterwards. Every request
/// has a connection time-out and a total time-out, so a silent server never freezes the program.
/// Failures (no connection, time-out, an error status, a malformed address) throw AppError with a text
/// that names the cause.
class MerlinClient {
public:
    static constexpr const char* Accept = "text/html, */*";
    static constexpr const char* UserAgent = "Mozilla/3.0 (compatible; Indy Library)";
    static constexpr long MaxRedirects = 30;
    static constexpr const char* SoapAction =
        "amDGFLatamMerlin_webservices_provider_receiveMerlinRequest_Binder_receiveMerlinRequest";

    static constexpr long DefaultConnectSeconds = 10;
    static constexpr long DefaultTotalSeconds = 60;
    static constexpr long SoapTotalSeconds = 60;

    struct Timeouts {
        long connectMs = DefaultConnectSeconds * 1000;
        long totalMs = DefaultTotalSeconds * 1000;
    };

    /// Dados/TimeoutConexao and Dados/TimeoutTotal, in seconds (a decimal with "." or "," is allowed);
    /// an empty, invalid or non-positive value gives the default.
    static Timeouts timeoutsFromSettings(const Settings& settings);
    /// The receiveMerlinRequest time-outs: the connection one from the settings (at most 60 s), 60 s in all.
    static Timeouts soapTimeouts(const Settings& settings);

    MerlinClient();
    ~MerlinClient();
    MerlinClient(const MerlinClient&) = delete;
    MerlinClient& operator=(const MerlinClient&) = delete;

    /// GET; the body of a 2xx answer, byte for byte (a document says its own encoding).
    std::string get(const std::string& address, const Timeouts& timeouts);
    /// SOAP 1.1 POST of envelope with the SOAPAction header; the body of the answer. An error status
    /// carrying a SOAP fault fails with the fault's text.
    std::string postSoap(const std::string& address, const std::string& soapAction, const std::string& envelope,
                         const Timeouts& timeouts);

    /// The process document for a process-request address. An answer without any text is a failure:
    /// there is no document to hand over.
    std::string requestProcess(const std::string& address, const Timeouts& timeouts);
    /// Sends one return; true when Merlin answered "Successfully updated".
    bool sendReturn(const std::string& address, const Timeouts& timeouts);
    /// Posts a receiveMerlinRequest document, unchanged, and reads Merlin's answer.
    MerlinResponse receiveMerlinRequest(const std::string& address, const std::string& document,
                                        const Timeouts& timeouts);

private:
    struct Answer {
        long status = 0;
        std::string statusLine;
        std::string body;
    };
    Answer perform(const std::string& address, const Timeouts& timeouts, const std::string* postBody,
                   const std::string& soapAction);
    static std::string statusFailure(const Answer& answer);

    void* m_curl = nullptr; // CURL*, created on first use and kept for its cookies
};
