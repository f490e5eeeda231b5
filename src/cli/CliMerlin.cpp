#include "base/AppContext.h"
#include "base/AppError.h"
#include "cli/CliCommands.h"
#include "data/MerlinAddress.h"
#include "import/MerlinProcessRequest.h"

#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

constexpr const char* FetchUsage = "fetch --kind DI|LI|DSI|LSI --ref REFERÊNCIA --year ANO [--out ARQUIVO]";

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

int fetch(AppContext& ctx, const CliArgs& args) {
    if (!args.has("--kind") || !args.has("--ref") || !args.has("--year")) {
        std::cerr << "uso: pelomira-cli " << FetchUsage << "\n";
        return 2;
    }
    std::string kind;
    try {
        kind = normalizeProcessKind(args.get("--kind"));
    } catch (const AppError& e) {
        std::cerr << "Erro: " << e.what() << "\n";
        return 2;
    }
    const MerlinProcessAnswer answer = requestProcessDocument(ctx, kind, args.get("--ref"), args.get("--year"));
    if (!answer.document) {
        std::cerr << "Erro: " << answer.failure << "\n";
        return 1;
    }
    if (args.has("--out")) {
        writeDocument(args.get("--out"), *answer.document);
        std::cout << "Documento gravado em " << args.get("--out") << " (" << answer.document->size() << " bytes)\n";
    } else {
        std::cout << *answer.document;
        std::cout.flush();
    }
    return 0;
}

} // namespace

void registerMerlinCommands(std::vector<CliCommand>& commands) {
    commands.push_back({"fetch", FetchUsage, fetch});
}
