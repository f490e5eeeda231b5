#include "integra/CustomerIntegration.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/BusyGuard.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "export/StagedFile.h"
#include "integra/CustomerFormat.h"
#include "integra/CustomerText.h"
#include "integra/IntegrationFileName.h"
#include "integra/MappingTranslator.h"
#include "integra/MerlinRequestDocument.h"
#include "integra/WholeFile.h"
#include "platform/Paths.h"

#include <chrono>
#include <ctime>
#include <random>

namespace {

int currentYear() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm.tm_year + 1900;
}

// A number below 999999 from a generator seeded by the clock.
int randomInvoiceNumber() {
    std::mt19937 generator(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
    return std::uniform_int_distribution<int>(0, 999998)(generator);
}

// Closes the progress window however the generation ends.
class ProgressWindow {
public:
    ProgressWindow(Operator& op, int steps, const std::string& title) : m_op(op) { m_op.progressOpen(0, steps, title); }
    ~ProgressWindow() { close(); }
    void close() {
        if (m_op.progressIsOpen())
            m_op.progressClose();
    }

private:
    Operator& m_op;
};

} // namespace

CustomerIntegration::CustomerIntegration(AppContext& ctx, const CustomerFormat& format)
    : m_ctx(ctx), m_format(format) {}

std::string CustomerIntegration::generatedText(const std::string& xmlPath) const {
    return "Arquivo " + xmlPath + "\r" + " gerado com êxito!";
}

std::string CustomerIntegration::failureText(const std::string& message) const {
    return "Erro ao integrar arquivo " + std::string(m_format.names().customer) + "\rERRO: " + message;
}

std::string CustomerIntegration::failureProcedure(const std::string& inputPath) const {
    return "Gerando arquivo XML de integração " + std::string(m_format.names().customer) + " x MERLIN (" + inputPath +
           ")";
}

std::string CustomerIntegration::emptyText(const std::string& inputPath) const {
    return "O arquivo " + inputPath + " não contém linhas de dados para integrar.\rNenhum arquivo XML foi gerado.";
}

std::string CustomerIntegration::serviceNamespace() const {
    const std::string address = trim(m_ctx.settings.read(Settings::Dados, Settings::KeyWebService2));
    const size_t scheme = address.find("://");
    if (scheme != std::string::npos && scheme > 0) {
        const size_t path = address.find_first_of("/?#", scheme + 3);
        const std::string host = address.substr(0, path);
        if (host.size() > scheme + 3)
            return MerlinRequestDocument::serviceNamespace(host);
    }
    return MerlinRequestDocument::serviceNamespace(Settings::DefaultWebServiceHost);
}

std::string CustomerIntegration::readFile(const std::string& path) const {
    return readWholeFile(path, MaxFileBytes);
}

std::string CustomerIntegration::outputFolder() const {
    const char* key = m_format.names().folderKey;
    const std::string folder = trim(m_ctx.settings.read(Settings::Integra, key));
    if (folder.empty())
        throw AppError("A pasta dos arquivos XML do cliente " + std::string(m_format.names().customer) +
                       " não está configurada (Integra/" + key + " em Configurações).");
    if (!folderExists(folder))
        throw AppError("A pasta " + folder + " não existe (Integra/" + key +
                       " em Configurações). Crie-a ou escolha outra.");
    return folder;
}

void CustomerIntegration::fail(Result& result, const std::string& message) {
    result.outcome = Result::Outcome::Failed;
    result.failure = message;
    m_ctx.logs.error(failureProcedure(result.inputPath), message);
    m_ctx.op.message(failureText(message), Caption, MessageIcon::Error);
}

CustomerIntegration::Result CustomerIntegration::generate(const std::string& inputPath) {
    const CustomerFormat::Names& names = m_format.names();
    const std::string customer = names.customer;
    BusyGuard busy("Integração " + customer);
    Result result;
    result.inputPath = inputPath;
    try {
        const std::string entity = m_ctx.settings.read(Settings::Integra, names.codeKey);
        m_ctx.logs.activity("Iniciando Integração " + customer + " x MERLIN");
        const CustomerText text(readFile(inputPath));
        const int random = m_random >= 0 ? m_random : randomInvoiceNumber();
        const int steps = m_format.progressSteps(text);
        ProgressWindow progress(m_ctx.op, steps, "Iniciando recepção do arquivo " + inputPath + ", Aguarde...");
        if (text.lines().empty()) {
            progress.close();
            result.outcome = Result::Outcome::Empty;
            m_ctx.op.message(emptyText(inputPath), Caption, MessageIcon::Warning);
            return result;
        }

        MerlinRequestDocument document(serviceNamespace(), entity);
        MappingTranslator codes(m_ctx, customer);
        WalkContext walk{codes, std::to_string(random), m_year > 0 ? m_year : currentYear(), {}};
        walk.recordRead = [this, steps](int count) {
            m_ctx.op.progressStep(count + 1, steps, "Recebendo Linha " + std::to_string(count), true);
            m_ctx.op.processEvents();
        };
        const std::string lastInvoice = m_format.build(text, document, walk);
        codes.requireAll();
        if (document.invoiceCount() == 0) {
            progress.close();
            result.outcome = Result::Outcome::Empty;
            m_ctx.op.message(emptyText(inputPath), Caption, MessageIcon::Warning);
            return result;
        }

        m_ctx.op.progressStep(steps, steps, "Finalizando geração de arquivo...", true);
        const std::string path = joinPath(outputFolder(), integrationFileName(customer, trim(lastInvoice)));
        result.document = document.text();
        StagedFile out(path);
        out.append(result.document);
        out.commit();
        result.xmlPath = path;
        result.invoices = document.invoiceCount();
        result.lines = document.lineCount();
        m_ctx.logs.activity("Finalizando Integração " + customer + " x MERLIN - " + inputPath);
        progress.close();
        result.outcome = Result::Outcome::Generated;
    } catch (const std::exception& e) {
        if (m_ctx.op.progressIsOpen())
            m_ctx.op.progressClose();
        result.document.clear();
        fail(result, e.what());
    }
    return result;
}

void CustomerIntegration::offer(const Result& result) {
    if (result.outcome != Result::Outcome::Generated)
        return;
    const int button =
        m_ctx.op.showMessage(Caption, generatedText(result.xmlPath), "", SendButton, OpenButton, OkButton);
    if (button == 1) {
        try {
            m_ctx.op.openWithSystem(result.xmlPath, "", folderOf(result.xmlPath));
        } catch (const std::exception&) {
            m_ctx.op.message("Não foi possível abrir o Arquivo \r" + result.xmlPath + "\r" +
                                 "Verifique se o Arquivo existe ou se ele não está aberto!",
                             Caption, MessageIcon::None);
        }
    } else if (button == 2) {
        send(result);
    }
}

SendOutcome CustomerIntegration::send(const Result& result) {
    return MerlinRequestSender(m_ctx, m_format.names().customer).EnviarXML(result.document, result.xmlPath);
}

void CustomerIntegration::run() {
    const CustomerFormat::Names& names = m_format.names();
    if (BusyGuard::busy()) {
        m_ctx.op.message("Há uma operação em andamento (" + BusyGuard::operation() +
                             ").\rAguarde o término para iniciar a integração " + names.customer + ".",
                         Caption, MessageIcon::Information);
        return;
    }
    const std::string file = m_ctx.op.openFile(names.dialogTitle, names.filter, names.defaultExt);
    if (file.empty())
        return;
    offer(generate(file));
}
