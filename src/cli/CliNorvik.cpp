// pelomira-cli init-norvik and norvik check: a NORVIK folder to work on, and the agreement of its
// tables with their indices.
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/TextUtils.h"
#include "cli/CliCommands.h"
#include "data/ClipperLocks.h"
#include "data/DbfCheck.h"
#include "data/NorvikFolder.h"

#include <ostream>

namespace {

int initNorvik(CliContext& ctx, const CliArgs& args) {
    if (args.positional.size() != 2)
        return cliUsageError(ctx, initNorvikCommand(), "informe a pasta");
    const std::string folder = args.positional[1];
    if (!args.has("--force")) {
        const auto present = NorvikFolder::existingFiles(folder);
        if (!present.empty()) {
            ctx.err << "A pasta " << folder << " já contém tabelas do NORVIK:";
            for (const auto& p : present)
                ctx.err << " " << p;
            ctx.err << "\nNada foi alterado; use --force para substituí-las.\n";
            return CliExitFailed;
        }
    }
    for (const auto& path : NorvikFolder::create(folder, args.has("--sample")))
        ctx.out << path << "\n";
    return CliExitDone;
}

int norvik(CliContext& ctx, const CliArgs& args) {
    const auto& words = args.positional;
    if (words.size() < 3 || words[1] != "check")
        return cliUsageError(ctx, norvikCommand(), "use: norvik check PASTA, ou norvik check TABELA.DBF ÍNDICE.NTX…");
    std::vector<std::string> faults;
    std::string what;
    if (words.size() == 3 && !endsWith(upperAscii(words[2]), ".DBF")) {
        faults = NorvikFolder::check(words[2], ClipperLocks::TimeoutMs);
        what = "pasta " + words[2];
    } else {
        const std::vector<std::string> indices(words.begin() + 3, words.end());
        faults = DbfCheck::run(words[2], indices, ClipperLocks::TimeoutMs);
        what = words[2];
    }
    for (const auto& f : faults)
        ctx.out << f << "\n";
    if (!faults.empty()) {
        ctx.err << faults.size() << " falha(s) encontrada(s) em " << what << ".\n";
        return CliExitFailed;
    }
    ctx.out << "Nenhuma falha em " << what << ": os índices concordam com as tabelas.\n";
    return CliExitDone;
}

} // namespace

CliCommand initNorvikCommand() {
    return {"init-norvik",
            "PASTA [--sample] [--force]",
            "cria as tabelas (.DBF) e índices (.NTX) do NORVIK que o Pelomira usa, vazios",
            {{"--sample", CliOption::Kind::Flag, "", "com taxas de câmbio, importadores, unidades e NCMs de exemplo"},
             {"--force", CliOption::Kind::Flag, "", "substitui as tabelas que a pasta já tiver"}},
            {},
            initNorvik};
}

CliCommand norvikCommand() {
    return {"norvik",
            "check PASTA | check TABELA.DBF [ÍNDICE.NTX…]",
            "confere se cada registro vivo está uma vez em cada índice, nenhuma chave aponta para registro apagado "
            "ou inexistente, as chaves estão em ordem e o cabeçalho bate com o tamanho do arquivo; numa pasta, também "
            "se ficou alguma cópia de trabalho TM??????.DBF que o AUXQRPX.EXE não incorporou em 5 minutos",
            {},
            {{CliExitFailed, "alguma falha encontrada (listada na saída)"}},
            norvik};
}
