// pelomira-cli commands of the Integra database: create, reindex, code mapping, registries.
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "cadastros/CodeMapping.h"
#include "cadastros/Registry.h"
#include "cadastros/RegistryImport.h"
#include "cadastros/RegistryOperations.h"
#include "cli/CliCommands.h"
#include "data/IntegraReindex.h"
#include "data/IntegraSchema.h"
#include "data/TDM.h"

#include <ostream>

namespace {

// The database location is read once, when the command starts, as the program does at start-up.
void useConfiguredDatabase(AppContext& ctx) {
    ctx.dm.sqlConIntegra.setDatabase(ctx.settings.read(Settings::Dados, Settings::KeyTabelasIntegra));
}

std::string join(const std::vector<std::string>& values, const std::string& separator) {
    std::string line;
    for (size_t i = 0; i < values.size(); ++i)
        line += (i ? separator : std::string()) + values[i];
    return line;
}

// Exit code of "registry import" for a file without records (nothing was changed).
constexpr int ExitEmptyImport = 3;

int initIntegra(CliContext& cli, const CliArgs& args) {
    if (args.positional.size() != 2)
        return cliUsageError(cli, initIntegraCommand(), "informe o arquivo");
    IntegraDatabase::create(args.positional[1], integraSchemaSql());
    cli.out << args.positional[1] << "\n";
    return CliExitDone;
}

int reindex(CliContext& cli, const CliArgs& args) {
    if (args.positional.size() != 1)
        return cliUsageError(cli, reindexCommand(), "o comando não recebe argumentos");
    useConfiguredDatabase(cli.app);
    return IntegraReindex::run(cli.app) ? CliExitDone : CliExitFailed;
}

// The registry of a mapping as the mapping window stores it, from its name ("Fabricante") or its
// table (FABRICANTE): a row under any other name would never be found by an integration.
std::string mappingRegistry(const std::string& given) {
    const Registry* r = Registry::byName(given);
    if (!r)
        r = Registry::byTable(trim(given));
    if (!r)
        throw AppError("Tabela desconhecida para o vínculo: " + quotedForMessage(given) +
                       " (use EXPORTADOR, FABRICANTE, PAIS ou UNIDADE).");
    return upperAscii(r->name);
}

int mapping(CliContext& cli, const CliArgs& args) {
    AppContext& ctx = cli.app;
    const auto& p = args.positional;
    if (p.size() == 5 && p[1] == "get") {
        const std::string registry = mappingRegistry(p[3]);
        useConfiguredDatabase(ctx);
        cli.out << CodeMapping(ctx).lookup(p[2], registry, p[4]) << "\n";
        return CliExitDone;
    }
    if (p.size() == 6 && p[1] == "set") {
        const std::string registry = mappingRegistry(p[3]);
        if (trim(p[2]).empty() || trim(p[4]).empty())
            return cliUsageError(cli, mappingCommand(), "informe o cliente e o código do cliente");
        if (trim(p[5]).empty())
            throw AppError("Informe o código Merlin.");
        useConfiguredDatabase(ctx);
        return CodeMapping(ctx).save(p[2], registry, p[4], p[5]) ? CliExitDone : CliExitFailed;
    }
    return cliUsageError(cli, mappingCommand(),
                         "informe get CLIENTE TABELA CÓDIGO ou set CLIENTE TABELA CÓDIGO CÓDIGO_MERLIN");
}

const Registry& registryOf(const std::string& table) {
    const Registry* r = Registry::byTable(table);
    if (!r)
        throw AppError("Cadastro desconhecido: " + table + " (use UNIDADE, PAIS, EXPORTADOR ou FABRICANTE).");
    return *r;
}

int registry(CliContext& cli, const CliArgs& args) {
    AppContext& ctx = cli.app;
    const auto& p = args.positional;
    if (p.size() == 3 && p[1] == "list") {
        IntegraTable* table = ctx.dm.integraTable(trim(p[2]));
        if (!table)
            throw AppError("Tabela desconhecida: " + p[2] +
                           " (use UNIDADE, PAIS, EXPORTADOR, FABRICANTE, VINCULO ou GERADOS).");
        useConfiguredDatabase(ctx);
        RecordSet& rows = table->query(table->selectAllSql());
        const std::vector<std::string> fields = rows.fieldNames();
        cli.out << join(fields, ";") << "\n";
        for (std::size_t i = 0; i < rows.recordCount(); ++i) {
            rows.moveTo(i);
            std::vector<std::string> values;
            for (const std::string& field : fields)
                values.push_back(rows.text(field));
            cli.out << join(values, ";") << "\n";
        }
        table->close();
        return CliExitDone;
    }
    if (p.size() == 3 && p[1] == "next") {
        const Registry& r = registryOf(p[2]);
        useConfiguredDatabase(ctx);
        cli.out << RegistryOperations(ctx, r).nextFreeCode() << "\n";
        return CliExitDone;
    }
    if (p.size() == 4 && p[1] == "import") {
        const Registry& r = registryOf(p[2]);
        useConfiguredDatabase(ctx);
        // The file is named here instead of chosen in a dialog; everything else is the button's import.
        switch (RegistryImport(ctx, r).importFile(p[3]).result) {
        case RegistryImport::Result::Imported:
            return CliExitDone;
        case RegistryImport::Result::Empty:
            return ExitEmptyImport;
        default:
            return CliExitFailed;
        }
    }
    return cliUsageError(cli, registryCommand(), "informe list TABELA, next CADASTRO ou import CADASTRO ARQUIVO.xml");
}

} // namespace

CliCommand initIntegraCommand() {
    return {"init-integra", "ARQUIVO", "cria um banco de dados Integra vazio", {}, {}, initIntegra};
}

CliCommand reindexCommand() {
    return {"reindex", "", "recria os índices do banco de dados Integra", {}, {}, reindex};
}

CliCommand mappingCommand() {
    return {"mapping",
            "get CLIENTE TABELA CÓDIGO | set CLIENTE TABELA CÓDIGO CÓDIGO_MERLIN",
            "lê ou grava o vínculo de um código do cliente com o código do Merlin",
            {},
            {},
            mapping};
}

CliCommand registryCommand() {
    return {"registry",
            "list TABELA | next CADASTRO | import CADASTRO ARQUIVO.xml [--quiet]",
            "lista uma tabela do Integra, mostra o próximo código livre de um cadastro (UNIDADE, PAIS, EXPORTADOR, "
            "FABRICANTE) ou importa um cadastro exportado pelo Merlin",
            CliOption::answers(false),
            {{ExitEmptyImport, "arquivo sem registros"}},
            registry};
}
