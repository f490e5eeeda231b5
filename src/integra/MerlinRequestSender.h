#pragma once

#include <string>

struct AppContext;

/// How a send of a request document ended.
struct SendOutcome {
    enum class Result { Accepted, Rejected, Failed };
    Result result = Result::Failed;
    /// Rejected: Merlin's reason (each description item followed by "\r"); Failed: why it failed.
    std::string text;
};

/// EnviarXML: posts a request document to Merlin's receiveMerlinRequest (the WebService2 setting +
/// ":receiveMerlinRequest", SOAP action of the operation, the connection time-out of the settings and
/// 60 s in all) and tells the operator what Merlin answered. The wait window shows meanwhile.
class MerlinRequestSender {
public:
    /// customer names the integration in the failure texts ("SAMSUNG", "SYNTHES", "HONEYWELL").
    MerlinRequestSender(AppContext& ctx, std::string customer);

    /// Sends document (the text saved in filePath, unchanged) and reports: accepted (information box),
    /// rejected with Merlin's reason (error box), or a failure to send (error box and ERRO.CSV line).
    SendOutcome EnviarXML(const std::string& document, const std::string& filePath);

    static std::string acceptedText(const std::string& filePath);
    static std::string rejectedText(const std::string& filePath, const std::string& reason);
    std::string failureText(const std::string& message) const;
    std::string failureProcedure(const std::string& filePath) const;

private:
    AppContext& m_ctx;
    std::string m_customer;
};
