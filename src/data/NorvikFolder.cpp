#include "data/NorvikFolder.h"

#include "base/AppError.h"
#include "base/Logs.h"
#include "data/DbfCheck.h"
#include "data/DbfTable.h"
#include "data/NorvikSchema.h"
#include "data/NtxIndex.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
    return NorvikFolder::fileIn(folder, name);
}

struct Row {
    std::vector<std::pair<std::string, std::string>> values;
};

void fill(const std::string& dbf, const std::vector<Row>& rows) {
    DbfTable t;
    t.open(dbf, {}, true);
    for (const Row& r : rows) {
        t.append();
        for (const auto& [field, value] : r.values)
            t.setText(field, value);
        t.post();
    }
}

std::vector<Row> sampleRows(const std::string& base) {
    if (base == "RITAXA") {
        // The reais and two currencies on the dates of the sample documents.
        std::vector<Row> rows;
        for (const char* date : {"02/03/2026", "16/03/2026"}) {
            rows.push_back({{{"CODIGO", "790"}, {"DATA", date}, {"TX_REAL", "1"}, {"TX_US", "0.1941748"}}});
            rows.push_back({{{"CODIGO", "220"}, {"DATA", date}, {"TX_REAL", "5.15"}, {"TX_US", "1"}}});
            rows.push_back({{{"CODIGO", "978"}, {"DATA", date}, {"TX_REAL", "5.6"}, {"TX_US", "1.0873786"}}});
        }
        return rows;
    }
    if (base == "RIIMPO")
        return {{{{"CODIGO", "000001"},
                  {"CGCCPF", "11222333000181"},
                  {"NOME_RES", "COMERCIAL ALFA"},
                  {"NOME1", "COMERCIAL ALFA IMPORTADORA"},
                  {"CIDADE", "SAO PAULO"},
                  {"UF", "SP"},
                  {"PAIS", "105"}}},
                {{{"CODIGO", "000002"},
                  {"CGCCPF", "44555666000199"},
                  {"NOME_RES", "BETA INDUSTRIA"},
                  {"NOME1", "BETA INDUSTRIA E COMERCIO S/A"},
                  {"CIDADE", "CAMPINAS"},
                  {"UF", "SP"},
                  {"PAIS", "105"}}}};
    if (base == "RIUNID")
        return {{{{"CODIGO", "001"},
                  {"DESCRICAO", "UNIDADE"},
                  {"SIMBOLO", "UN"},
                  {"OPERACAO", "1"},
                  {"FATOR", "1"},
                  {"BASEUNID", "1"},
                  {"TP_CONV", "2"}}},
                {{{"CODIGO", "002"},
                  {"DESCRICAO", "QUILOGRAMA LIQUIDO"},
                  {"SIMBOLO", "KG"},
                  {"OPERACAO", "1"},
                  {"FATOR", "1"},
                  {"BASEUNID", "1"},
                  {"TP_CONV", "2"}}},
                {{{"CODIGO", "003"},
                  {"DESCRICAO", "PECA"},
                  {"SIMBOLO", "PC"},
                  {"OPERACAO", "1"},
                  {"FATOR", "1"},
                  {"BASEUNID", "1"},
                  {"TP_CONV", "2"}}}};
    if (base == "RICLAS")
        return {
            {{{"NCM", "84713012"}, {"DESCRICAO", "MAQUINAS PORTATEIS PARA PROCESSAMENTO DE DADOS"}, {"UNIDADE", "11"}}},
            {{{"NCM", "85171231"}, {"DESCRICAO", "TELEFONES PORTATEIS"}, {"UNIDADE", "11"}}},
            {{{"NCM", "39269090"}, {"DESCRICAO", "OUTRAS OBRAS DE PLASTICO"}, {"UNIDADE", "10"}}},
            {{{"NCM", "90189099"}, {"DESCRICAO", "OUTROS INSTRUMENTOS MEDICOS"}, {"UNIDADE", "11"}}},
            {{{"NCM", "73181500"}, {"DESCRICAO", "OUTROS PARAFUSOS E PINOS, DE FERRO OU ACO"}, {"UNIDADE", "10"}}},
            {{{"NCM", "84818099"}, {"DESCRICAO", "OUTRAS TORNEIRAS E VALVULAS"}, {"UNIDADE", "11"}}},
            {{{"NCM", "85371090"}, {"DESCRICAO", "OUTROS QUADROS E PAINEIS DE COMANDO"}, {"UNIDADE", "11"}}}};
    return {};
}

} // namespace

std::string NorvikFolder::fileIn(const std::string& folder, const std::string& name) {
    const std::string wanted = upperAscii(name);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (upperAscii(entry.path().filename().string()) == wanted)
            return entry.path().string();
    return (fs::path(folder) / name).string();
}

std::vector<std::string> NorvikFolder::existingFiles(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code ec;
    for (const NorvikSchema::Table& t : NorvikSchema::tables())
        if (fs::exists(inFolder(folder, t.fileName()), ec))
            found.push_back(inFolder(folder, t.fileName()));
    return found;
}

std::vector<std::string> NorvikFolder::create(const std::string& folder, bool sample) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder))
        throw AppError("Não foi possível criar a pasta " + folder + ".");
    std::vector<std::string> written;
    for (const NorvikSchema::Table& t : NorvikSchema::tables()) {
        const std::string dbf = (fs::path(folder) / t.fileName()).string();
        DbfTable::create(dbf, t.fields);
        written.push_back(dbf);
        if (sample)
            fill(dbf, sampleRows(t.base));
        // The indices are built over whatever the table holds.
        DbfTable table;
        table.open(dbf, {}, false);
        for (const NorvikSchema::Index& index : t.indices) {
            const std::string ntx = (fs::path(folder) / index.file).string();
            NtxIndex::create(ntx, index.expression, table.fields(), {});
            NtxIndex built;
            built.open(ntx, table.fields(), false, 1000);
            std::vector<NtxIndex::Entry> entries;
            for (bool more = table.first(); more; more = table.next())
                entries.push_back({built.keyOf(table.recordImage()), table.recno()});
            built.close();
            NtxIndex::create(ntx, index.expression, table.fields(), entries);
            written.push_back(ntx);
        }
    }
    return written;
}

bool NorvikFolder::isWorkCopyName(const std::string& name) {
    if (name.size() < 7 || name.size() > 12 || upperAscii(name.substr(0, 2)) != "TM" ||
        upperAscii(name.substr(name.size() - 4)) != ".DBF")
        return false;
    for (char c : name.substr(2, name.size() - 6))
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
            return false;
    return true;
}

std::vector<std::string> NorvikFolder::check(const std::string& folder, int lockTimeoutMs) {
    std::vector<std::string> faults;
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return {"A pasta " + folder + " não existe."};
    for (const NorvikSchema::Table& t : NorvikSchema::tables()) {
        const std::string dbf = inFolder(folder, t.fileName());
        if (!fs::exists(dbf, ec)) {
            faults.push_back(t.fileName() + ": a tabela não existe na pasta");
            continue;
        }
        std::vector<std::string> indices;
        for (const NorvikSchema::Index& index : t.indices) {
            const std::string ntx = inFolder(folder, index.file);
            if (fs::exists(ntx, ec))
                indices.push_back(ntx);
            else
                faults.push_back(t.fileName() + ": o índice " + index.file + " não existe na pasta");
        }
        for (const std::string& f : DbfCheck::run(dbf, indices, lockTimeoutMs))
            faults.push_back(f);
    }
    // A work copy the merge program has not taken for minutes is a DI whose additions are not in
    // RIADIC.DBF, although its transfer was reported; one just handed over is the merge's to take.
    const auto now = std::chrono::system_clock::now();
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!isWorkCopyName(name))
            continue;
        const FileStamp stamp = fileStamp(entry.path().string());
        const auto written = std::chrono::system_clock::time_point(std::chrono::seconds(stamp.seconds));
        if (stamp.kind == FileStamp::Kind::Regular && now - written > std::chrono::seconds(WorkCopyGraceSeconds))
            left.push_back(name + ": cópia de trabalho de " + Logs::dateTimeText(written) +
                           " não incorporada ao RIADIC.DBF (o motivo está em AUXQRPX.LOG)");
    }
    std::sort(left.begin(), left.end());
    faults.insert(faults.end(), left.begin(), left.end());
    return faults;
}
