#pragma once

#include "data/OrientadorWorld.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <sqlite3.h>

#include <ctime>
#include <map>
#include <sstream>
#include <string>
#include <vector>

/// One row of an Orientador table read back: field name → text (null reads as "").
using StoredRow = std::map<std::string, std::string>;

/// Every row of a table of the Orientador file, in table order, through a connection of its own.
inline std::vector<StoredRow> readTable(const OrientadorWorld& w, const std::string& table,
                                        const std::string& file = "IMPORT.MDB") {
    auto db = w.connect(file);
    OrientadorTable t(*db);
    t.setTableName(table);
    t.open();
    std::vector<StoredRow> rows;
    for (t.first(); !t.eof(); t.next()) {
        StoredRow row;
        for (const auto& name : t.fieldNames())
            row[name] = t.text(name);
        rows.push_back(row);
    }
    return rows;
}

/// The micro number the n-th declaration of this year gets ("00001/26").
inline std::string microNumber(int sequence) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string seq = std::to_string(sequence);
    seq.insert(0, 5 - seq.size(), '0');
    std::string yy = std::to_string((local.tm_year + 1900) % 100);
    yy.insert(0, 2 - yy.size(), '0');
    return seq + "/" + yy;
}

/// A sample process document of share/samples, to be edited by a test before it is transferred.
struct SampleDocument {
    pugi::xml_document doc;

    explicit SampleDocument(const std::string& name) {
        const std::string path = TestEnv::shareFolder() + "/samples/" + name;
        if (!doc.load_file(path.c_str(), pugi::parse_default, pugi::encoding_utf8))
            throw std::runtime_error("sample not readable: " + path);
    }

    /// The first node an XPath expression selects (the test fails loudly when there is none).
    pugi::xml_node node(const std::string& xpath) const {
        const pugi::xml_node n = doc.select_node(xpath.c_str()).node();
        if (!n)
            throw std::runtime_error("no node " + xpath);
        return n;
    }
    void set(const std::string& xpath, const std::string& value) { node(xpath).text().set(value.c_str()); }
    void remove(const std::string& xpath) {
        pugi::xml_node n = node(xpath);
        n.parent().remove_child(n);
    }
    std::string text() const {
        std::ostringstream out;
        doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
        return out.str();
    }
};

/// A private world for the DI transfer: an Orientador folder made by init-orientador, the settings
/// pointing at it and at the repository's transformation files, the record sets reset as the menu
/// command resets them, and every transfer the program has.
struct DiTransferWorld : OrientadorWorld {
    ProcessTransfers transfers = ProcessTransfers::available();

    DiTransferWorld() {
        settings.write(Settings::Dados, Settings::KeyArqTransform, TestEnv::shareFolder() + "/xtr");
        resetProcessRecordSets(dm);
    }

    static std::string sample(const std::string& name) {
        return TestEnv::readFile(TestEnv::shareFolder() + "/samples/" + name);
    }

    /// Runs the Orientador entry on a document text as Merlin sends it, confirming and closing the
    /// message window with button (0 OK, 1 open the Orientador).
    TransferOutcome transfer(const std::string& documentText, int button = 0) {
        resetProcessRecordSets(dm);
        op.queueYesNo(true);
        op.queueButton(button);
        return importProcessToOrientador(ctx, documentText, transfers);
    }

    std::vector<StoredRow> rows(const std::string& table) const { return readTable(*this, table); }
    std::vector<StoredRow> rows(const std::string& file, const std::string& table) const {
        return readTable(*this, table, file);
    }

    /// The texts of the message boxes of one icon.
    std::vector<std::string> messages(MessageIcon icon) const {
        std::vector<std::string> texts;
        for (const auto& c : op.callsOf("message"))
            if (c.icon == icon)
                texts.push_back(c.text);
        return texts;
    }

    std::string errorLog() const { return TestEnv::readFile(env.home() + "ERRO.CSV"); }
    std::string activityLog() const { return TestEnv::readFile(env.home() + "PELOMIRA_LOG.CSV"); }
};

/// The row holds the expected texts in the fields listed and nothing in every other field.
inline void expectRow(const StoredRow& actual, const StoredRow& expected, const std::string& what) {
    for (const auto& [field, value] : expected) {
        const auto it = actual.find(field);
        if (it == actual.end()) {
            ADD_FAILURE() << what << ": no field " << field;
            continue;
        }
        EXPECT_EQ(it->second, value) << what << ", " << field;
    }
    for (const auto& [field, value] : actual) {
        if (!expected.count(field)) {
            EXPECT_EQ(value, "") << what << ", " << field << " should stay empty";
        }
    }
}

/// The table holds exactly these rows, in order: the columns listed with these texts, every other
/// field empty.
inline void expectFileTable(const OrientadorWorld& w, const std::string& file, const std::string& table,
                            const std::vector<std::string>& columns,
                            const std::vector<std::vector<std::string>>& rows) {
    const auto actual = readTable(w, table, file);
    ASSERT_EQ(actual.size(), rows.size()) << table;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        StoredRow expected;
        for (std::size_t c = 0; c < columns.size(); ++c)
            expected[columns[c]] = rows[r][c];
        expectRow(actual[r], expected, table + " row " + std::to_string(r + 1));
    }
}
inline void expectTable(const OrientadorWorld& w, const std::string& table, const std::vector<std::string>& columns,
                        const std::vector<std::vector<std::string>>& rows) {
    expectFileTable(w, "IMPORT.MDB", table, columns, rows);
}

/// Runs SQL on an Orientador file as another program would (a trigger that refuses rows, a table dropped).
inline void execSql(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string why = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << why;
}

/// The texts of one field in rows read back.
inline std::vector<std::string> columnOf(const std::vector<StoredRow>& rows, const std::string& field) {
    std::vector<std::string> values;
    for (const auto& r : rows)
        values.push_back(r.at(field));
    return values;
}

/// The importer of the samples (a company, CNPJ) as a head row holds it, its country aside.
inline StoredRow sampleImporter() {
    return {{"NR_IMPORTADOR", "45721893000100"},
            {"NM_IMPORTADOR", "Metalúrgica Vale do Paraíba Indústria e Comércio Ltda"},
            {"NR_TEL_IMPORTADOR", "1239214500"},
            {"ED_LOGR_IMPORTADOR", "Avenida Doutor Sebastião Henrique da Cunha Pontes"},
            {"ED_NR_IMPORTADOR", "8000"},
            {"ED_COMPL_IMPO", "Galpão 3"},
            {"ED_BA_IMPORTADOR", "Chácaras Reunidas"},
            {"ED_MUN_IMPORTADOR", "São José dos Campos"},
            {"ED_UF_IMPORTADOR", "SP"},
            {"ED_CEP_IMPORTADOR", "12238365"}};
}

/// Today as the short date form, dd/mm/yyyy.
inline std::string todayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d/%m/%Y", &local);
    return text;
}

/// Every table of IMPORT.MDB after the transfer of share/samples/DI_VARIAS_ADICOES.xml under micro.
void expectSampleDeclaration(const OrientadorWorld& w, const std::string& micro);
