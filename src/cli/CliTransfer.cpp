// pelomira-cli transfer: a process document into the Orientador (or NORVIK), asked of Merlin or read
// from a file, through the same entry the request window uses.
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "cli/CliCommands.h"
#include "data/MerlinAddress.h"
#include "data/TDM.h"
#include "import/MerlinProcessRequest.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"

#include <iostream>

namespace {

constexpr const char* Usage =
    "transfer --target siscomex|norvik (--ref REFERÊNCIA --year ANO [--kind DI|LI|DSI|LSI] | "
    "--file ARQUIVO.xml) [--yes] [--button N]  transfere o processo (do Merlin ou de um "
    "arquivo); saída 0: transferido, 1: falha (ou o programa do Orientador não abriu), 3: não "
    "confirmado, 4: transferido com campo(s) não gravado(s)";

// Exit codes besides 0 (transferred), 1 (failed) and 2 (wrong command line).
constexpr int ExitNotConfirmed = 3;
constexpr int ExitFieldErrors = 4;

// Passes everything to the command line's operator and notes what the run told the person: the error
// messages, a confirmation answered No, and the closing message window that ends every transfer that
// went through.
class WatchingOperator : public Operator {
public:
    explicit WatchingOperator(Operator& inner) : m_inner(inner) {}

    int errorsBefore = 0; // error messages before the closing window: fields not written, or the failure
    int errorsAfter = 0;  // after it: the Orientador program did not start
    bool declined = false;
    bool completed = false;

    void message(const std::string& text, const std::string& caption, MessageIcon icon) override {
        if (icon == MessageIcon::Error)
            ++(completed ? errorsAfter : errorsBefore);
        m_inner.message(text, caption, icon);
    }
    bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override {
        const bool yes = m_inner.askYesNo(text, caption, icon);
        declined = declined || !yes;
        return yes;
    }
    int showMessage(const std::string& title, const std::string& text, const std::string& btn4, const std::string& btn3,
                    const std::string& btn2, const std::string& btn1) override {
        completed = true;
        return m_inner.showMessage(title, text, btn4, btn3, btn2, btn1);
    }
    std::string openFile(const std::string& title, const std::string& filter, const std::string& ext) override {
        return m_inner.openFile(title, filter, ext);
    }
    std::string browseFolder(const std::string& title) override { return m_inner.browseFolder(title); }
    void progressOpen(int start, int total, const std::string& title) override {
        m_inner.progressOpen(start, total, title);
    }
    void progressStep(int current, int total, const std::string& text, bool advanceGauge) override {
        m_inner.progressStep(current, total, text, advanceGauge);
    }
    std::string progressText() const override { return m_inner.progressText(); }
    bool progressIsOpen() const override { return m_inner.progressIsOpen(); }
    void progressClose() override { m_inner.progressClose(); }
    void waitOpen() override { m_inner.waitOpen(); }
    void waitClose() override { m_inner.waitClose(); }
    void balloon(const std::string& text) override { m_inner.balloon(text); }
    void processEvents() override { m_inner.processEvents(); }
    bool codeMappingPrompt(const std::string& customer, const std::string& registry,
                           const std::string& customerCode) override {
        return m_inner.codeMappingPrompt(customer, registry, customerCode);
    }
    void openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) override {
        m_inner.openWithSystem(file, params, workDir);
    }

private:
    Operator& m_inner;
};

int usageError(const std::string& why) {
    std::cerr << "Erro: " << why << "\nuso: pelomira-cli " << Usage << "\n";
    return 2;
}

int transfer(AppContext& ctx, const CliArgs& args) {
    const std::string target = upperAscii(trim(args.get("--target")));
    if (target != "SISCOMEX" && target != "NORVIK")
        return usageError("informe o destino com --target siscomex (Orientador) ou --target norvik");
    const bool fromMerlin = args.has("--ref") || args.has("--year");
    if (fromMerlin == args.has("--file"))
        return usageError("informe --ref e --year (processo do Merlin) ou --file (arquivo XML), um dos dois");
    if (fromMerlin && (trim(args.get("--ref")).empty() || trim(args.get("--year")).empty()))
        return usageError("--ref e --year precisam de um valor");
    if (args.has("--file") && trim(args.get("--file")).empty())
        return usageError("--file precisa do caminho do arquivo XML");
    std::string kind = "DI";
    try {
        if (args.has("--kind"))
            kind = normalizeProcessKind(args.get("--kind"));
    } catch (const AppError& e) {
        return usageError(e.what());
    }

    WatchingOperator op(ctx.op);
    AppContext run{ctx.platform, op, ctx.settings, ctx.logs, ctx.dm};
    resetProcessRecordSets(run.dm);

    // With --file the document text stays empty and the transfer's file dialog is answered by --file.
    std::string document;
    if (fromMerlin) {
        const MerlinProcessAnswer answer = requestProcessDocument(run, kind, args.get("--ref"), args.get("--year"));
        if (!answer.document)
            return 1;
        document = *answer.document;
        if (document.empty()) {
            std::cerr << "Erro: o Merlin respondeu sem documento.\n";
            return 1;
        }
    }
    const ProcessTransfers transfers = ProcessTransfers::available();
    if (target == "SISCOMEX")
        importProcessToOrientador(run, document, transfers);
    else
        importProcessToNorvik(run, document, transfers);

    if (op.declined)
        return ExitNotConfirmed;
    if (!op.completed)
        return 1;
    if (op.errorsBefore > 0) {
        std::cerr << "Transferência concluída, mas " << op.errorsBefore << " campo(s) não foram gravados.\n";
        return ExitFieldErrors;
    }
    return op.errorsAfter > 0 ? 1 : 0;
}

} // namespace

void registerTransferCommands(std::vector<CliCommand>& commands) {
    commands.push_back({"transfer", Usage, transfer});
}
