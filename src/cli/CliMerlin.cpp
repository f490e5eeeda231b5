#include "base/AppContext.h"
#include "base/AppError.h"
#include "cli/CliCommands.h"
#include "data/MerlinAddress.h"
#include "import/MerlinProcessRequest.h"

#include <cstdio>
#include <fstream>
#include <ostream>

namespace {

void writeDocument(const std::string& path, const std::string& document) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw AppError("Não foi possível criar o arquivo " + path);
    out.write(document.data(), static_cast<std::streamsize>(document.size()));
    out.close();
    if (!out) {
        std::remove(path.c_str());
        throw AppError("Não foi possível gravar o arquivo " + path);
    }
}

int fetch(CliContext& ctx, const CliArgs& args) {
    if (!args.has("--kind") || !args.has("--ref") || !args.has("--year") || args.positional.size() != 1)
        return cliUsageError(ctx, fetchCommand(), "informe --kind, --ref e --year");
    std::string kind;
    try {
        kind = normalizeProcessKind(args.get("--kind"));
    } catch (const AppError& e) {
        return cliUsageError(ctx, fetchCommand(), e.what());
    }
    const MerlinProcessAnswer answer = requestProcessDocument(ctx.app, kind, args.get("--ref"), args.get("--year"));
    if (!answer.document) {
        ctx.err << "Erro: " << answer.failure << "\n";
        return CliExitFailed;
    }
    if (args.has("--out")) {
        writeDocument(args.get("--out"), *answer.document);
        ctx.out << "Documento gravado em " << args.get("--out") << " (" << answer.document->size() << " bytes)\n";
    } else {
        ctx.out << *answer.document;
        ctx.out.flush();
    }
    return CliExitDone;
}

} // namespace

CliCommand fetchCommand() {
    return {"fetch",
            "--kind DI|LI|DSI|LSI --ref REFERÊNCIA --year ANO [--out ARQUIVO]",
            "pede o documento do processo ao Merlin e o mostra (ou grava em --out)",
            {{"--kind", CliOption::Kind::Text, "DI|LI|DSI|LSI", "tipo do processo"},
             {"--ref", CliOption::Kind::Text, "REFERÊNCIA", "referência do processo no Merlin"},
             {"--year", CliOption::Kind::Text, "ANO", "ano do processo"},
             {"--out", CliOption::Kind::Text, "ARQUIVO", "grava o documento neste arquivo"}},
            {},
            fetch};
}
