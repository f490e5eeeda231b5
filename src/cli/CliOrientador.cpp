// pelomira-cli init-orientador: an empty (or sample) Orientador folder.
#include "base/AppContext.h"
#include "cli/CliCommands.h"
#include "data/OrientadorFolder.h"

#include <ostream>

namespace {

int initOrientador(CliContext& ctx, const CliArgs& args) {
    if (args.positional.size() != 2)
        return cliUsageError(ctx, initOrientadorCommand(), "informe a pasta");
    const std::string folder = args.positional[1];
    OrientadorFolder::Options options;
    options.sample = args.has("--sample");
    options.force = args.has("--force");
    if (!options.force) {
        const auto present = OrientadorFolder::existingFiles(ctx.app.platform, folder);
        if (!present.empty()) {
            ctx.err << "A pasta " << folder << " já contém arquivos do Orientador:";
            for (const auto& p : present)
                ctx.err << " " << p;
            ctx.err << "\nNada foi alterado; use --force para substituí-los.\n";
            return CliExitFailed;
        }
    }
    for (const auto& path : OrientadorFolder::create(ctx.app.platform, folder, options))
        ctx.out << path << "\n";
    return CliExitDone;
}

} // namespace

CliCommand initOrientadorCommand() {
    return {"init-orientador",
            "PASTA [--sample] [--force]",
            "cria os arquivos do Orientador (IMPORT.MDB, REGIMP.MDB, DSI.MDB, LIDSI.MDB, TABSISCO.MDB) vazios",
            {{"--sample", CliOption::Kind::Flag, "", "com tabelas de códigos de exemplo no TABSISCO.MDB"},
             {"--force", CliOption::Kind::Flag, "", "substitui os arquivos que a pasta já tiver"}},
            {},
            initOrientador};
}
