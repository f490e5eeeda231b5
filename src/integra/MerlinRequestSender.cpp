#include "integra/MerlinRequestSender.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/MerlinAddress.h"
#include "data/TDM.h"

namespace {

constexpr const char* Caption = "Pelomira";

// Closes the wait window however the send ends.
class WaitWindow {
public:
    explicit WaitWindow(Operator& op) : m_op(op) {
        m_op.waitOpen();
        m_op.processEvents();
    }
    ~WaitWindow() { m_op.waitClose(); }
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

private:
    Operator& m_op;
};

} // namespace

MerlinRequestSender::MerlinRequestSender(AppContext& ctx, std::string customer)
    : m_ctx(ctx), m_customer(std::move(customer)) {}

std::string MerlinRequestSender::acceptedText(const std::string& filePath) {
    return "Arquivo " + filePath + "\r" + "enviado com êxito!";
}

std::string MerlinRequestSender::rejectedText(const std::string& filePath, const std::string& reason) {
    return "Arquivo " + filePath + " " + "rejeitado pelo WebService." + "\r\r" + "Motivo: " + reason;
}

std::string MerlinRequestSender::failureText(const std::string& message) const {
    return "Erro ao enviar arquivo " + m_customer + " ao WebService\rERRO: " + message;
}

std::string MerlinRequestSender::failureProcedure(const std::string& filePath) const {
    return "Enviando arquivo XML de integração " + m_customer + " x MERLIN (" + filePath + ") ao WebService";
}

SendOutcome MerlinRequestSender::EnviarXML(const std::string& document, const std::string& filePath) {
    SendOutcome outcome;
    try {
        MerlinResponse response;
        {
            WaitWindow wait(m_ctx.op);
            const std::string webService2 = trim(m_ctx.settings.read(Settings::Dados, Settings::KeyWebService2));
            if (webService2.empty())
                throw AppError("O endereço do WebService (Integrações) não está configurado (Dados/WebService2 em "
                               "Configurações).");
            const std::string address = merlinRequestAddress(webService2);
            response =
                m_ctx.dm.HTTPRIO.receiveMerlinRequest(address, document, MerlinClient::soapTimeouts(m_ctx.settings));
        }
        if (response.accepted()) {
            outcome.result = SendOutcome::Result::Accepted;
            m_ctx.op.message(acceptedText(filePath), Caption, MessageIcon::Information);
        } else {
            outcome.result = SendOutcome::Result::Rejected;
            outcome.text = response.reason();
            m_ctx.op.message(rejectedText(filePath, outcome.text), Caption, MessageIcon::Error);
        }
    } catch (const std::exception& e) {
        outcome.result = SendOutcome::Result::Failed;
        outcome.text = e.what();
        m_ctx.logs.error(failureProcedure(filePath), outcome.text);
        m_ctx.op.message(failureText(outcome.text), Caption, MessageIcon::Error);
    }
    return outcome;
}
