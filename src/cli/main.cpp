// pelomira-cli: the program's operations without a window, for scripts, scheduled jobs, set-up and
// acceptance tests.
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/ConsoleOperator.h"
#include "base/Logs.h"
#include "base/Settings.h"
#include "cli/CliCommands.h"
#include "data/TDM.h"
#include "platform/Platform.h"

#include <iostream>

namespace {

// Options that take a value; every other --option is a flag.
bool takesValue(const std::string& option) {
    static const char* const valued[] = {"--kind", "--ref", "--year", "--out", "--file", "--button", "--target"};
    for (const char* v : valued)
        if (option == v)
            return true;
    return false;
}

CliArgs parse(int argc, char** argv) {
    CliArgs args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--", 0) == 0 && a.size() > 2) {
            const auto eq = a.find('=');
            if (eq != std::string::npos)
                args.options[a.substr(0, eq)] = a.substr(eq + 1);
            else if (takesValue(a) && i + 1 < argc)
                args.options[a] = argv[++i];
            else
                args.options[a] = "";
        } else {
            args.positional.push_back(a);
        }
    }
    return args;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<CliCommand> commands;
    registerSettingsCommands(commands);

    // Orientador commands
    registerOrientadorCommands(commands);

    // Integra commands
    registerIntegraCommands(commands);

    // import commands
    registerMerlinCommands(commands);
    registerImportCommands(commands);
    registerTransferCommands(commands);

    // NORVIK commands

    const CliArgs args = parse(argc, argv);
    if (args.positional.empty() || args.positional[0] == "help" || args.has("--help")) {
        std::cout << "uso: pelomira-cli COMANDO [opções]\n";
        for (const auto& c : commands)
            std::cout << "  " << c.usage << "\n";
        std::cout << "opções comuns: --yes (responde Sim), --button N (janela de mensagem), --file ARQUIVO, --quiet\n";
        return args.positional.empty() && !args.has("--help") ? 2 : 0;
    }

    auto platform = Platform::createNative();
    ConsoleOperator::Answers answers;
    answers.yes = args.has("--yes");
    answers.quiet = args.has("--quiet");
    if (args.has("--button"))
        answers.button = std::atoi(args.get("--button").c_str());
    if (args.has("--file"))
        answers.file = args.get("--file");
    ConsoleOperator op(*platform, answers, std::cout, std::cerr);
    Settings settings(*platform);
    Logs logs(*platform, op);
    TDM dm;
    AppContext ctx{*platform, op, settings, logs, dm};

    for (const auto& c : commands) {
        if (c.name != args.positional[0])
            continue;
        try {
            return c.run(ctx, args);
        } catch (const std::exception& e) {
            std::cerr << "Erro: " << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "comando desconhecido: " << args.positional[0] << " (veja pelomira-cli help)\n";
    return 2;
}
