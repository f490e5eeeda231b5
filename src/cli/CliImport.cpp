// pelomira-cli commands of the process import: load a process document and show what the
// transformation made of it.
#include "base/AppContext.h"
#include "cli/CliCommands.h"
#include "data/RecordTable.h"
#include "data/TDM.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"

#include <ostream>

namespace {

// Exit codes of "load" besides 0 (loaded) and 1 (error).
constexpr int ExitImpeded = 3;
constexpr int ExitNotValidated = 4;

void printTable(std::ostream& out, const RecordTable& table, int depth) {
    const RecordSchema& schema = *table.schema();
    const std::string pad(static_cast<std::size_t>(depth) * 2, ' ');
    for (std::size_t r = 0; r < table.size(); ++r) {
        const RecordTable::Row& row = table.row(r);
        out << pad << "registro " << (r + 1) << "\n";
        for (const auto& field : schema.fields()) {
            if (field.kind == RecordSchema::Kind::Value) {
                out << pad << "  " << field.name << " = ";
                if (row.isNull(field.slot))
                    out << "(nulo)";
                else
                    out << "\"" << row.value(field.slot) << "\"";
                out << "\n";
            } else {
                const auto& nested = row.nested(field.slot);
                const std::size_t count = nested ? nested->size() : 0;
                out << pad << "  " << field.name << ": " << count << " registro(s)\n";
                if (nested)
                    printTable(out, *nested, depth + 2);
            }
        }
    }
}

int load(CliContext& cli, const CliArgs& args) {
    if (args.positional.size() != 2)
        return cliUsageError(cli, loadCommand(), "informe um arquivo");
    AppContext& ctx = cli.app;
    const std::string file = args.positional[1];
    resetProcessRecordSets(ctx.dm);
    const std::string folder = args.has("--xtr") ? args.get("--xtr") : transformFolder(ctx);
    const ProcessDocumentStatus status = openProcessDocument(ctx, file, folder);
    if (status == ProcessDocumentStatus::Impeded)
        return ExitImpeded;
    if (status == ProcessDocumentStatus::NotValidated)
        return ExitNotValidated;

    RecordSet& principal = ctx.dm.cdsXMLPrincipal;
    const ProcessKind kind = processKindOfCode(processKindCode(principal));
    cli.out << principal.name() << " (" << principal.commandText() << "): " << principal.recordCount()
            << " registro(s), tipo do primeiro processo: " << processKindName(kind) << "\n";
    printTable(cli.out, *principal.table(), 0);
    return CliExitDone;
}

} // namespace

CliCommand loadCommand() {
    return {"load",
            "ARQUIVO [--xtr=PASTA]",
            "carrega um documento de processo (DI.xtr), verifica impedimento e identificador e mostra os registros",
            {{"--xtr", CliOption::Kind::Text, "PASTA", "pasta dos arquivos de transformação (padrão: ArqTransform)"}},
            {{ExitImpeded, "processo impedido"}, {ExitNotValidated, "sem ID_PROCESSO"}},
            load};
}
