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

#include <iostream>

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

int usage(const std::string& text) {
    std::cerr << "uso: pelomira-cli " << text << "\n";
    return 2;
}

int initIntegra(AppContext&, const CliArgs& args) {
    if (args.positional.size() != 2)
        return usage("init-integra ARQUIVO");
    IntegraDatabase::create(args.positional[1], integraSchemaSql());
    std::cout << args.positional[1] << "\n";
    return 0;
}

int reindex(AppContext& ctx, const CliArgs& args) {
    if (args.positional.size() != 1)
        return usage("reindex");
    useConfiguredDatabase(ctx);
    return IntegraReindex::run(ctx) ? 0 : 1;
}

int mapping(AppContext& ctx, const CliArgs& args) {
    const auto& p = args.positional;
    const char* text = "mapping get CLIENTE TABELA CODIGO | mapping set CLIENTE TABELA CODIGO CODIGO_MERLIN";
    if (p.size() == 5 && p[1] == "get") {
        useConfiguredDatabase(ctx);
        std::cout << CodeMapping(ctx).lookup(p[2], p[3], p[4]) << "\n";
        return 0;
    }
    if (p.size() == 6 && p[1] == "set") {
        if (trim(p[5]).empty())
            throw AppError("Informe o código Merlin.");
        useConfiguredDatabase(ctx);
        return CodeMapping(ctx).save(p[2], p[3], p[4], p[5]) ? 0 : 1;
    }
    return usage(text);
}

const Registry& registryOf(const std::string& table) {
    const Registry* r = Registry::byTable(table);
    if (!r)
        throw AppError("Cadastro desconhecido: " + table + " (use UNIDADE, PAIS, EXPORTADOR ou FABRICANTE).");
    return *r;
}

int registry(AppContext& ctx, const CliArgs& args) {
    const auto& p = args.positional;
    const char* text = "registry list TABELA | registry next UNIDADE|PAIS|EXPORTADOR|FABRICANTE | registry import "
                       "UNIDADE|PAIS|EXPORTADOR|FABRICANTE ARQUIVO.xml";
    if (p.size() == 3 && p[1] == "list") {
        IntegraTable* table = ctx.dm.integraTable(trim(p[2]));
        if (!table)
            throw AppError("Tabela desconhecida: " + p[2] +
                           " (use UNIDADE, PAIS, EXPORTADOR, FABRICANTE, VINCULO ou GERADOS).");
        useConfiguredDatabase(ctx);
        RecordSet& rows = table->query(table->selectAllSql());
        const std::vector<std::string> fields = rows.fieldNames();
        std::cout << join(fields, ";") << "\n";
        for (std::size_t i = 0; i < rows.recordCount(); ++i) {
            rows.moveTo(i);
            std::vector<std::string> values;
            for (const std::string& field : fields)
                values.push_back(rows.text(field));
            std::cout << join(values, ";") << "\n";
        }
        table->close();
        return 0;
    }
    if (p.size() == 3 && p[1] == "next") {
        const Registry& r = registryOf(p[2]);
        useConfiguredDatabase(ctx);
        std::cout << RegistryOperations(ctx, r).nextFreeCode() << "\n";
        return 0;
    }
    if (p.size() == 4 && p[1] == "import") {
        const Registry& r = registryOf(p[2]);
        useConfiguredDatabase(ctx);
        // The file is named here instead of chosen in a dialog; everything else is the button's import.
        switch (RegistryImport(ctx, r).importFile(p[3]).result) {
        case RegistryImport::Result::Imported:
            return 0;
        case RegistryImport::Result::Empty:
            return ExitEmptyImport;
        default:
            return 1;
        }
    }
    return usage(text);
}

} // namespace

void registerIntegraCommands(std::vector<CliCommand>& commands) {
    commands.push_back({"init-integra", "init-integra ARQUIVO (cria um banco de dados Integra vazio)", initIntegra});
    commands.push_back({"reindex", "reindex (recria os índices do banco de dados Integra)", reindex});
    commands.push_back(
        {"mapping", "mapping get CLIENTE TABELA CODIGO | mapping set CLIENTE TABELA CODIGO CODIGO_MERLIN", mapping});
    commands.push_back({"registry",
                        "registry list TABELA | registry next CADASTRO | registry import CADASTRO ARQUIVO.xml "
                        "(importa um cadastro exportado pelo Merlin; saída 3: arquivo sem registros)",
                        registry});
}
