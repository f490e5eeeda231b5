#include "cli/CliRunner.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/ConsoleOperator.h"
#include "base/Logs.h"
#include "base/Settings.h"
#include "cli/CliCommands.h"
#include "data/TDM.h"
#include "platform/Platform.h"
#include "platform/TerminationSignals.h"

#include <charconv>
#include <ostream>

std::vector<CliOption> CliOption::answers(bool withFile) {
    std::vector<CliOption> options = {
        {"--yes", Kind::Flag, "", "responde Sim às perguntas"},
        {"--button", Kind::Number, "N", "responde a janela de mensagem com o botão N (1 a 4)"},
        {"--quiet", Kind::Flag, "", "sem as linhas de progresso"},
    };
    if (withFile)
        options.push_back({"--file", Kind::Text, "ARQUIVO", "o arquivo que a janela de abertura pediria"});
    return options;
}

std::optional<long long> CliArgs::number(const std::string& option) const {
    const auto it = options.find(option);
    if (it == options.end())
        return std::nullopt;
    long long value = 0;
    std::from_chars(it->second.data(), it->second.data() + it->second.size(), value);
    return value;
}

namespace {

int printUsageError(std::ostream& err, const CliCommand& command, const std::string& why) {
    err << "Erro: " << why << "\nuso: pelomira-cli " << command.name
        << (command.synopsis.empty() ? "" : " " + command.synopsis) << "\n";
    return CliExitUsage;
}

const CliOption* findOption(const CliCommand& command, const std::string& name) {
    for (const CliOption& o : command.options)
        if (o.name == name)
            return &o;
    return nullptr;
}

bool isWholeNumber(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

ConsoleOperator::Answers answersOf(const CliArgs& args) {
    ConsoleOperator::Answers answers;
    answers.yes = args.has("--yes");
    answers.quiet = args.has("--quiet");
    if (const auto button = args.number("--button"))
        answers.button = static_cast<int>(*button);
    if (args.has("--file"))
        answers.file = args.get("--file");
    return answers;
}

} // namespace

int cliUsageError(CliContext& ctx, const CliCommand& command, const std::string& why) {
    return printUsageError(ctx.err, command, why);
}

CliArgs parseCliArgs(const CliCommand& command, const std::vector<std::string>& words) {
    CliArgs args;
    args.positional.push_back(command.name);
    bool onlyWords = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (onlyWords || word.size() < 3 || word.compare(0, 2, "--") != 0) {
            if (!onlyWords && word == "--") {
                onlyWords = true;
                continue;
            }
            args.positional.push_back(word);
            continue;
        }
        const size_t eq = word.find('=');
        const std::string name = word.substr(0, eq);
        const CliOption* option = findOption(command, name);
        if (!option)
            throw CliUsageError{"opção desconhecida para " + command.name + ": " + name +
                                " (um valor que começa com \"--\" vai depois de \"--\")"};
        std::string value;
        if (option->kind == CliOption::Kind::Flag) {
            if (eq != std::string::npos)
                throw CliUsageError{"a opção " + name + " não recebe valor"};
        } else if (eq != std::string::npos) {
            value = word.substr(eq + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            throw CliUsageError{"a opção " + name + " precisa de um valor (" + option->valueName + ")"};
        }
        if (option->kind == CliOption::Kind::Number && !isWholeNumber(value))
            throw CliUsageError{"a opção " + name + " espera um número inteiro, não \"" + value + "\""};
        if (args.has(name) && args.get(name) != value)
            throw CliUsageError{"a opção " + name + " foi dada duas vezes com valores diferentes"};
        args.options[name] = value;
    }
    if (const auto button = args.number("--button"); button && (*button < 1 || *button > 4))
        throw CliUsageError{"--button espera um botão de 1 a 4, não " + std::to_string(*button)};
    return args;
}

void printCliHelp(std::ostream& out, const std::vector<CliCommand>& commands, const std::string& only) {
    if (only.empty())
        out << "uso: pelomira-cli COMANDO [opções]   (pelomira-cli help COMANDO mostra as opções)\n";
    for (const CliCommand& c : commands) {
        if (!only.empty() && c.name != only)
            continue;
        out << "  " << c.name << (c.synopsis.empty() ? "" : " " + c.synopsis) << "\n      " << c.summary << "\n";
        if (only.empty())
            continue;
        for (const CliOption& o : c.options)
            out << "      " << o.name << (o.valueName.empty() ? "" : " " + o.valueName) << "  " << o.help << "\n";
        out << "      saída 0: concluído, 1: falha, 2: linha de comando errada";
        for (const CliExit& e : c.exits)
            out << ", " << e.code << ": " << e.meaning;
        out << "\n";
    }
}

int runCli(const std::vector<std::string>& words, Platform& platform, std::ostream& out, std::ostream& err) {
    const std::vector<CliCommand>& commands = allCliCommands();
    if (words.empty()) {
        printCliHelp(err, commands, "");
        return CliExitUsage;
    }
    const std::string& name = words[0];
    if (name == "help" || name == "--help" || name == "-h") {
        const std::string only = words.size() > 1 ? words[1] : std::string();
        printCliHelp(out, commands, only);
        return CliExitDone;
    }
    const CliCommand* command = nullptr;
    for (const CliCommand& c : commands)
        if (c.name == name)
            command = &c;
    if (!command) {
        err << "comando desconhecido: " << name << " (veja pelomira-cli help)\n";
        return CliExitUsage;
    }

    const std::vector<std::string> rest(words.begin() + 1, words.end());
    for (const std::string& w : rest)
        if (w == "--help") {
            printCliHelp(out, commands, command->name);
            return CliExitDone;
        } else if (w == "--")
            break;

    ConsoleOperator::Answers answers;
    CliArgs args;
    try {
        args = parseCliArgs(*command, rest);
        answers = answersOf(args);
    } catch (const CliUsageError& e) {
        return printUsageError(err, *command, e.why);
    }

    ConsoleOperator op(platform, answers, out, err);
    Settings settings(platform);
    Logs logs(platform, op);
    TDM dm;
    AppContext app{platform, op, settings, logs, dm};
    CliContext ctx{app, out, err};
    int code = CliExitFailed;
    try {
        code = command->run(ctx, args);
    } catch (const std::exception& e) {
        err << "Erro: " << e.what() << "\n";
    }
    // A command stopped by SIGTERM or SIGINT ends as the shell expects of one (128 + the signal), after
    // its own message; one that finished before it looked keeps its code.
    if (const int signal = op.interruptedBy()) {
        err << "pelomira-cli: " << command->name << " interrompido por " << TerminationSignals::name(signal) << ".\n";
        return 128 + signal;
    }
    return code;
}
