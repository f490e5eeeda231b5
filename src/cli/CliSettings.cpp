// pelomira-cli settings: PELOMIRA.INI as the settings window sees it.
#include "base/AppContext.h"
#include "base/Settings.h"
#include "cli/CliCommands.h"

#include <ostream>

namespace {

int settings(CliContext& ctx, const CliArgs& args) {
    const auto& p = args.positional;
    Settings& s = ctx.app.settings;
    if (p.size() == 2 && p[1] == "init") {
        if (!s.exists())
            s.writeFirstRunDefaults();
        ctx.out << s.path() << "\n";
        return CliExitDone;
    }
    if (p.size() == 2 && p[1] == "path") {
        ctx.out << s.path() << "\n";
        return CliExitDone;
    }
    if (p.size() == 4 && p[1] == "get") {
        ctx.out << s.read(p[2], p[3]) << "\n";
        return CliExitDone;
    }
    if (p.size() == 5 && p[1] == "set") {
        s.write(p[2], p[3], p[4]);
        return CliExitDone;
    }
    return cliUsageError(ctx, settingsCommand(), "informe init, path, get SEÇÃO CHAVE ou set SEÇÃO CHAVE VALOR");
}

} // namespace

CliCommand settingsCommand() {
    return {"settings",
            "init | path | get SEÇÃO CHAVE | set SEÇÃO CHAVE VALOR",
            "lê e grava o PELOMIRA.INI (init grava os valores da primeira execução)",
            {},
            {},
            settings};
}
