// pelomira-cli export-tables: the SISCOMEX tables of TABSISCO.MDB into the XML or CSV file for Merlin,
// through the same export the window runs.
#include "base/AppContext.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "cli/CliCommands.h"
#include "export/ExportTableList.h"
#include "export/TableExport.h"
#include "export/TableExportProgress.h"

#include <algorithm>
#include <ostream>

namespace {

// Exit codes besides 0 (written), 1 (a table, TABSISCO.MDB or a value stopped the export) and 2.
constexpr int ExitNotSaved = 3;

// One line per table on the error stream, so the written file can go to the standard output's readers.
class ConsoleProgress : public TableExportProgress {
public:
    ConsoleProgress(std::ostream& err, bool quiet) : m_err(err), m_quiet(quiet) {}

    void entryDone(int index, int tables, const std::string& table) override {
        if (!m_quiet)
            m_err << "  [" << index + 1 << "/" << tables << "] " << table << ": " << m_rows << " registro(s)\n";
    }
    void rowsWritten(int, const std::string&, long long, long long rows) override { m_rows = rows; }

private:
    std::ostream& m_err;
    bool m_quiet;
    long long m_rows = 0;
};

int exportTables(CliContext& cli, const CliArgs& args) {
    AppContext& ctx = cli.app;
    const auto usageError = [&](const std::string& why) { return cliUsageError(cli, exportTablesCommand(), why); };
    const std::vector<std::string> available = ExportTableList::displayNames(ctx.settings);
    if (args.has("--list")) {
        for (const std::string& name : available)
            cli.out << name << ";" << ExportTableList::tableOf(ctx.settings, name).value_or("") << "\n";
        return CliExitDone;
    }

    const std::string format = upperAscii(trim(args.get("--format")));
    if (format != "XML" && format != "CSV")
        return usageError("informe o formato com --format xml ou --format csv");
    std::vector<std::string> names(args.positional.begin() + 1, args.positional.end());
    if (args.has("--all") == !names.empty())
        return usageError("informe os nomes das tabelas (como na lista das configurações) ou --all, um dos dois");
    if (args.has("--all"))
        names = available;
    for (const std::string& name : names)
        if (std::find(available.begin(), available.end(), name) == available.end())
            return usageError("a tabela \"" + name +
                              "\" não está na lista das configurações (veja pelomira-cli export-tables --list)");
    if (names.empty()) {
        cli.err << "Erro: a lista de tabelas das configurações (seção Tabelas) está vazia.\n";
        return CliExitFailed;
    }
    // The window's list is alphabetical, and so is the export's order.
    ExportTableList::sortAlphabetically(names);
    names.erase(std::unique(names.begin(), names.end()), names.end());

    ConsoleProgress progress(cli.err, args.has("--quiet"));
    TableExport run(ctx, progress);
    const TableExportResult result =
        run.run(names, format == "XML" ? TableExportFormat::Xml : TableExportFormat::Csv, args.get("--out"));
    switch (result.status) {
    case TableExportResult::Status::Saved:
        cli.out << result.file << "\n";
        return CliExitDone;
    case TableExportResult::Status::SaveFailed:
        cli.err << "Procedimento: " << TableExport::SaveProcedure << " - Erro: " << result.failure << "\n";
        return ExitNotSaved;
    case TableExportResult::Status::Failed:
        cli.err << "Procedimento: " << TableExport::ExportProcedure << " - Erro: " << result.failure << "\n";
        return CliExitFailed;
    case TableExportResult::Status::Busy:
    case TableExportResult::Status::NothingChosen:
        break;
    }
    return CliExitFailed;
}

} // namespace

CliCommand exportTablesCommand() {
    std::vector<CliOption> options = {
        {"--format", CliOption::Kind::Text, "xml|csv", "o arquivo XML (ArqXML) ou o CSV (o mesmo nome, extensão CSV)"},
        {"--all", CliOption::Kind::Flag, "", "todas as tabelas da lista das configurações"},
        {"--out", CliOption::Kind::Text, "PASTA", "grava nesta pasta em vez da PastaXML das configurações"},
        {"--list", CliOption::Kind::Flag, "", "mostra a lista das configurações (nome;tabela) e termina"},
    };
    for (const CliOption& o : CliOption::answers(false))
        if (o.name != "--yes")
            options.push_back(o);
    return {"export-tables",
            "--format xml|csv (--all | NOME...) [--out PASTA] | --list",
            "exporta tabelas do SISCOMEX (TABSISCO.MDB) para o arquivo do Merlin; NOME como na lista das "
            "configurações; --button 1 abre o arquivo gravado",
            options,
            {{3, "o arquivo não pôde ser gravado (o anterior fica como estava)"}},
            exportTables};
}
