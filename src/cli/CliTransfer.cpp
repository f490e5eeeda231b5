// pelomira-cli transfer: a process document into the Orientador (or NORVIK), asked of Merlin or read
// from a file, through the same entry the request window uses.
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/TextUtils.h"
#include "cli/CliCommands.h"
#include "data/MerlinAddress.h"
#include "data/TDM.h"
#include "import/MerlinProcessRequest.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"

#include <ostream>

namespace {

// Exit codes besides 0 (transferred), 1 (failed) and 2 (wrong command line).
constexpr int ExitNotConfirmed = 3;
constexpr int ExitFieldErrors = 4;

// The exit code of a transfer's outcome.
int exitCodeOf(CliContext& cli, const TransferOutcome& outcome) {
    switch (outcome.status) {
    case TransferStatus::NotConfirmed:
        return ExitNotConfirmed;
    case TransferStatus::Failed:
        return CliExitFailed;
    case TransferStatus::TransferredWithFieldErrors:
        cli.err << "Transferência concluída, mas " << outcome.fieldErrors << " campo(s) não foram gravados.\n";
        return ExitFieldErrors;
    case TransferStatus::Transferred:
        break;
    }
    // Transferred, but the program the operator asked for at the end did not start.
    return outcome.programStartFailed ? CliExitFailed : CliExitDone;
}

int transfer(CliContext& cli, const CliArgs& args) {
    AppContext& ctx = cli.app;
    const auto usageError = [&](const std::string& why) { return cliUsageError(cli, transferCommand(), why); };
    if (args.positional.size() != 1)
        return usageError("argumento a mais: " + args.positional[1]);
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

    resetProcessRecordSets(ctx.dm);

    // With --file the document text stays empty and the transfer's file dialog is answered by --file.
    std::string document;
    if (fromMerlin) {
        const MerlinProcessAnswer answer = requestProcessDocument(ctx, kind, args.get("--ref"), args.get("--year"));
        if (!answer.document)
            return CliExitFailed;
        document = *answer.document;
        if (document.empty()) {
            cli.err << "Erro: o Merlin respondeu sem documento.\n";
            return CliExitFailed;
        }
    }
    const ProcessTransfers transfers = ProcessTransfers::available();
    const TransferOutcome outcome = target == "SISCOMEX" ? importProcessToOrientador(ctx, document, transfers)
                                                         : importProcessToNorvik(ctx, document, transfers);
    return exitCodeOf(cli, outcome);
}

} // namespace

CliCommand transferCommand() {
    std::vector<CliOption> options = {
        {"--target", CliOption::Kind::Text, "siscomex|norvik", "destino: o Orientador ou o NORVIK"},
        {"--ref", CliOption::Kind::Text, "REFERÊNCIA", "referência do processo no Merlin"},
        {"--year", CliOption::Kind::Text, "ANO", "ano do processo"},
        {"--kind", CliOption::Kind::Text, "DI|LI|DSI|LSI", "tipo do processo pedido ao Merlin (padrão DI)"},
    };
    for (CliOption& o : CliOption::answers(true)) {
        if (o.name == "--file")
            o.help = "o documento do processo, em vez de pedi-lo ao Merlin";
        options.push_back(o);
    }
    return {"transfer",
            "--target siscomex|norvik (--ref REFERÊNCIA --year ANO [--kind DI|LI|DSI|LSI] | --file ARQUIVO.xml) "
            "[--yes] [--button N]",
            "transfere o processo (do Merlin ou de um arquivo) para o Orientador ou o NORVIK, pela mesma entrada da "
            "janela de importação",
            options,
            {{ExitNotConfirmed, "não confirmado"}, {ExitFieldErrors, "transferido com campo(s) não gravado(s)"}},
            transfer};
}
