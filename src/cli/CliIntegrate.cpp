// pelomira-cli integrate: a customer file into a receiveMerlinRequest document, and on request to Merlin.
#include "base/AppContext.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "cadastros/CodeMapping.h"
#include "cli/CliCommands.h"
#include "data/TDM.h"
#include "integra/CustomerFormat.h"
#include "integra/CustomerIntegration.h"

#include <ostream>

namespace {

// A file that yields no invoice: nothing was written.
constexpr int ExitNothingToIntegrate = 3;

struct Mapping {
    std::string registry, code, merlin;
};

// "TABELA:CODIGO=MERLIN[,TABELA:CODIGO=MERLIN…]"; false when an entry is not of that form.
bool parseMappings(const std::string& text, std::vector<Mapping>& out, std::string& bad) {
    for (const std::string& entry : split(text, ',')) {
        const size_t colon = entry.find(':');
        const size_t equals = entry.find('=', colon == std::string::npos ? 0 : colon);
        if (colon == std::string::npos || equals == std::string::npos || trim(entry.substr(0, colon)).empty() ||
            trim(entry.substr(equals + 1)).empty()) {
            bad = entry;
            return false;
        }
        out.push_back({trim(entry.substr(0, colon)), trim(entry.substr(colon + 1, equals - colon - 1)),
                       trim(entry.substr(equals + 1))});
    }
    return true;
}

int integrate(CliContext& cli, const CliArgs& args) {
    AppContext& ctx = cli.app;
    const auto& p = args.positional;
    if (p.size() != 3)
        return cliUsageError(cli, integrateCommand(), "informe o cliente e o arquivo");
    const CustomerFormat* format = CustomerFormat::byName(p[1]);
    if (!format)
        return cliUsageError(cli, integrateCommand(), "cliente desconhecido: " + p[1]);
    std::vector<Mapping> mappings;
    std::string bad;
    if (args.has("--map") && !parseMappings(args.get("--map"), mappings, bad))
        return cliUsageError(cli, integrateCommand(), "--map espera TABELA:CODIGO=MERLIN, não \"" + bad + "\"");

    ctx.dm.sqlConIntegra.setDatabase(ctx.settings.read(Settings::Dados, Settings::KeyTabelasIntegra));
    const std::string customer = format->names().customer;
    CodeMapping codes(ctx);
    for (const Mapping& m : mappings) {
        // A code that already has its mapping keeps it: the window would not have asked for it either.
        if (codes.find(customer, m.registry, m.code))
            continue;
        if (!codes.save(customer, m.registry, m.code, m.merlin))
            return CliExitFailed;
    }

    CustomerIntegration integration(ctx, *format);
    const CustomerIntegration::Result result = integration.generate(p[2]);
    switch (result.outcome) {
    case CustomerIntegration::Result::Outcome::Generated:
        break;
    case CustomerIntegration::Result::Outcome::Empty:
        return ExitNothingToIntegrate;
    default:
        return CliExitFailed;
    }
    cli.out << "[Pelomira] " << replaceAll(integration.generatedText(result.xmlPath), "\r", "\n") << " ("
            << result.invoices << " fatura(s), " << result.lines << " linha(s))\n";
    if (!args.has("--send"))
        return CliExitDone;
    return integration.send(result).result == SendOutcome::Result::Accepted ? CliExitDone : CliExitFailed;
}

} // namespace

CliCommand integrateCommand() {
    return {"integrate",
            "samsung|synthes|honeywell ARQUIVO [--send] [--map TABELA:CODIGO=MERLIN,...] [--quiet]",
            "converte o arquivo do cliente no XML de integração com o Merlin e, com --send, o envia",
            {{"--send", CliOption::Kind::Flag, "", "envia o XML gerado ao WebService (Dados/WebService2)"},
             {"--map", CliOption::Kind::Text, "TABELA:CODIGO=MERLIN,...",
              "grava vínculos que ainda faltam antes de converter (TABELA: FABRICANTE, EXPORTADOR, UNIDADE)"},
             {"--quiet", CliOption::Kind::Flag, "", "sem as linhas de progresso"}},
            {{1, "falha, ou recusado pelo Merlin"}, {ExitNothingToIntegrate, "o arquivo não tem linhas de dados"}},
            integrate};
}
