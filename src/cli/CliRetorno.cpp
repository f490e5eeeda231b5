// pelomira-cli return: the registration scan and the return to Merlin without a window, for a
// scheduled job where no one watches the notification area.
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "cli/CliCommands.h"
#include "data/MerlinAddress.h"
#include "data/TDM.h"
#include "retorno/AutomaticReturn.h"
#include "retorno/RegistrationScan.h"
#include "retorno/ReturnList.h"
#include "retorno/ReturnRunLock.h"
#include "retorno/ReturnSender.h"

#include <ostream>

namespace {

constexpr int ExitNotAwaiting = 3;
constexpr int ExitOtherRun = 4;
constexpr const char* NothingToReturn = "Não existem processos registrados a serem retornados no momento!";

// A value of the table: quoted when it holds what would break the line or the columns.
std::string cell(const std::string& value) {
    if (value.find_first_of(";\"\r\n") == std::string::npos)
        return value;
    return "\"" + replaceAll(value, "\"", "\"\"") + "\"";
}

void printList(std::ostream& out, RecordSet& list) {
    const std::vector<std::string>& fields = ReturnList::fieldNames();
    // IMPORTAR says nothing here: the listed rows are the ones waiting.
    for (size_t i = 1; i < fields.size(); ++i)
        out << (i > 1 ? ";" : "") << fields[i];
    out << "\n";
    for (const ReturnEntry& e : ReturnList::entries(list))
        out << cell(e.kind) << ";" << cell(e.registro) << ";" << cell(e.nrProcesso) << ";" << cell(e.dataProcesso)
            << ";" << cell(e.nrProtocolo) << ";" << cell(e.dataProcessamento) << ";" << cell(e.dataTransmissao) << ";"
            << cell(e.anoRegistro) << "\n";
}

int outcomeCode(const ReturnOutcome& outcome) {
    return outcome.allReceived() ? CliExitDone : CliExitFailed;
}

int list(CliContext& cli) {
    AppContext& ctx = cli.app;
    if (!RegistrationScan(ctx).manual(ctx.dm.cdsTemp))
        return CliExitFailed;
    printList(cli.out, ctx.dm.cdsTemp);
    if (ctx.dm.cdsTemp.isEmpty())
        cli.err << NothingToReturn << "\n";
    ctx.dm.cdsTemp.close();
    return CliExitDone;
}

int sendAll(CliContext& cli) {
    AutomaticReturn run(cli.app);
    const auto outcome = run.run();
    if (run.postponed()) {
        cli.err << ReturnSender::OtherRun << "\n";
        return ExitOtherRun;
    }
    if (!outcome)
        return CliExitFailed;
    // Requests that failed are reported by their own messages; only a run that sent nothing says so.
    if (outcome->received.empty() && outcome->notReceived.empty() && outcome->failed.empty())
        cli.out << NothingToReturn << "\n";
    return outcomeCode(*outcome);
}

int sendNamed(CliContext& cli, const std::string& kindWord, const std::vector<std::string>& identifiers) {
    AppContext& ctx = cli.app;
    const std::string kind = normalizeProcessKind(kindWord);
    ReturnRunLock lock(ctx.platform);
    if (!lock.held()) {
        cli.err << ReturnSender::OtherRun << "\n";
        return ExitOtherRun;
    }
    RecordSet& list = ctx.dm.cdsTemp;
    if (!RegistrationScan(ctx).manual(list))
        return CliExitFailed;
    std::vector<bool> found(identifiers.size(), false);
    for (std::size_t row = 0; row < list.recordCount(); ++row) {
        list.moveTo(row);
        const ReturnEntry e = ReturnList::current(list);
        for (std::size_t i = 0; i < identifiers.size(); ++i)
            if (trim(e.kind) == kind && trim(e.registro) == trim(identifiers[i]) && !e.ticked) {
                ReturnList::toggle(list);
                found[i] = true;
                break;
            }
    }
    std::string missing;
    for (std::size_t i = 0; i < identifiers.size(); ++i)
        if (!found[i])
            missing += (missing.empty() ? "" : ", ") + kind + " " + identifiers[i];
    if (!missing.empty()) {
        list.close();
        cli.err << "Não está entre os processos registrados a serem retornados: " << missing
                << "\nNada foi enviado (veja pelomira-cli return list).\n";
        return ExitNotAwaiting;
    }
    return outcomeCode(ReturnSender(ctx).EnviarRetorno(list, false));
}

int returnCommandRun(CliContext& cli, const CliArgs& args) {
    const auto& p = args.positional;
    // The database location is read once, when the command starts, as the program does at start-up.
    cli.app.dm.sqlConIntegra.setDatabase(cli.app.settings.read(Settings::Dados, Settings::KeyTabelasIntegra));
    if (p.size() == 2 && p[1] == "list" && !args.has("--all"))
        return list(cli);
    if (p.size() >= 2 && p[1] == "send") {
        if (args.has("--all") && p.size() == 2)
            return sendAll(cli);
        if (!args.has("--all") && p.size() >= 4) {
            try {
                normalizeProcessKind(p[2]);
            } catch (const AppError& e) {
                return cliUsageError(cli, returnCommand(), e.what());
            }
            return sendNamed(cli, p[2], std::vector<std::string>(p.begin() + 3, p.end()));
        }
    }
    return cliUsageError(cli, returnCommand(), "informe list, send --all ou send TIPO REGISTRO [REGISTRO...]");
}

} // namespace

CliCommand returnCommand() {
    std::vector<CliOption> options = {
        {"--all", CliOption::Kind::Flag, "", "com send: todos os processos registrados, como o alerta automático"},
        {"--quiet", CliOption::Kind::Flag, "", "sem as linhas de progresso"},
    };
    return {"return",
            "list [--quiet] | send --all | send DI|LI|DSI|LSI REGISTRO [REGISTRO...] [--quiet]",
            "lista os processos registrados no Orientador que ainda não foram retornados ao Merlin (list), ou os "
            "retorna: todos, como o alerta automático (send --all), ou só os indicados; a saída 1 diz que algum não "
            "foi recebido",
            options,
            {{ExitNotAwaiting, "um processo indicado não está entre os registrados a retornar (nada foi enviado)"},
             {ExitOtherRun, "outro retorno está em andamento neste computador"}},
            returnCommandRun};
}
