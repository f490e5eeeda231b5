// pelomira-cli commands of the process import: load a process document and show what the
// transformation made of it.
#include "base/AppContext.h"
#include "cli/CliCommands.h"
#include "data/RecordTable.h"
#include "data/TDM.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"

#include <iostream>

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

int load(AppContext& ctx, const CliArgs& args) {
    if (args.positional.size() < 2) {
        std::cerr << "uso: pelomira-cli load ARQUIVO [--xtr=PASTA]\n";
        return 2;
    }
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
    std::cout << principal.name() << " (" << principal.commandText() << "): " << principal.recordCount()
              << " registro(s), tipo do primeiro processo: " << processKindName(kind) << "\n";
    printTable(std::cout, *principal.table(), 0);
    return 0;
}

} // namespace

void registerImportCommands(std::vector<CliCommand>& commands) {
    commands.push_back({"load",
                        "load ARQUIVO [--xtr=PASTA]  carrega um documento de processo (DI.xtr), verifica impedimento e "
                        "identificador e mostra os registros; --xtr: pasta dos arquivos de transformação (padrão: "
                        "ArqTransform); saída 3: impedido, 4: sem ID_PROCESSO",
                        load});
}
