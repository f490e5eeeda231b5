// pelomira-cli export-tables, run in-process on the sample TABSISCO.MDB.
#include "ExportWorld.h"
#include "cli/CliRunner.h"
#include "export/ExportTableList.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <sstream>

namespace {

struct CliRun {
    int code = -1;
    std::string out, err;
};

CliRun cli(ExportWorld& w, const std::vector<std::string>& words) {
    std::ostringstream out, err;
    CliRun r;
    r.code = runCli(words, *w.platform, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace

TEST(CliExportTables, WritesEveryRowOfEveryTable) {
    ExportWorld w;
    const CliRun xml = cli(w, {"export-tables", "--format", "xml", "--all", "--quiet"});
    ASSERT_EQ(xml.code, 0) << xml.err;
    EXPECT_NE(xml.out.find(w.xmlFile()), std::string::npos);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(w.xmlFile().c_str()));
    size_t rows = 0, tables = 0;
    for (const pugi::xml_node& dados : doc.child("TABELAS").children("DADOS")) {
        ++tables;
        for (const pugi::xml_node& r : dados.children("REGISTRO")) {
            (void)r;
            ++rows;
        }
    }
    EXPECT_EQ(tables, 28u);
    auto db = w.connect("TABSISCO.MDB");
    size_t stored = 0;
    for (const std::string& name : ExportTableList::displayNames(w.settings)) {
        OrientadorTable t(*db);
        t.setTableName(*ExportTableList::tableOf(w.settings, name));
        t.open();
        stored += static_cast<size_t>(t.recordCount());
    }
    EXPECT_EQ(rows, stored);
    EXPECT_GT(rows, 500u);

    const std::string other = w.env.path("saida");
    TestEnv::makeFolder(other);
    const CliRun csv = cli(w, {"export-tables", "--format", "csv", "PAÍS", "MOEDAS", "--out", other, "--quiet"});
    ASSERT_EQ(csv.code, 0) << csv.err;
    const auto read = readCsvIndependently(other + "/TABS.CSV");
    ASSERT_FALSE(read.empty());
    EXPECT_EQ(read.front(), (std::vector<std::string>{"Tabela TAB_MOEDA"}));
}

TEST(CliExportTables, FailuresEndWithTheirTextAndCode) {
    ExportWorld w;
    CliRun r = cli(w, {"export-tables", "--format", "xml"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("--all"), std::string::npos);
    r = cli(w, {"export-tables", "--format", "pdf", "--all"});
    EXPECT_EQ(r.code, 2);
    r = cli(w, {"export-tables", "--format", "xml", "MOEDA"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("a tabela \"MOEDA\" não está na lista"), std::string::npos) << r.err;

    w.settings.write(Settings::Tabelas, "Tabela9", "MOEDAS;TAB_MOEDAS_VELHA");
    r = cli(w, {"export-tables", "--format", "csv", "MOEDAS"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Procedimento: Importando Tabelas do SISCOMEX - Erro: A tabela TAB_MOEDAS_VELHA não existe"),
              std::string::npos)
        << r.err;

    std::filesystem::remove(w.file("TABSISCO.MDB"));
    r = cli(w, {"export-tables", "--format", "xml", "--all"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Procedimento: Importando Tabelas do SISCOMEX - Erro: O arquivo TABSISCO.MDB não foi "
                         "encontrado"),
              std::string::npos)
        << r.err;

    r = cli(w, {"export-tables", "--format", "xml", "PAÍS", "--out", w.env.path("nao-existe")});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("Procedimento: Salvando XML de Importação de Tabelas - Erro: "), std::string::npos) << r.err;
    EXPECT_TRUE(w.xmlFolderFiles().empty());
}

// Two programs export into the same TABS.XML at the same moment: each writes a file of its own, so
// the one that stays is whole (one of the two), and nothing is left beside it.
TEST(CliExportTables, TwoProgramsWritingTheSameFileAtOnce) {
    const std::string cliProgram = PELOMIRA_BINARY_DIR "/bin/pelomira-cli";
    if (!TestEnv::exists(cliProgram))
        GTEST_SKIP() << "pelomira-cli not built";
    ExportWorld w;
    w.sql("TABSISCO.MDB", "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60000) "
                          "INSERT INTO TAB_NCM SELECT printf('%08d', i), 'Item ' || i, '10', 1.5, NULL FROM n");
    const std::string one = "'" + cliProgram + "' export-tables --format xml --all --quiet >/dev/null 2>&1";
    const std::string two = "'" + cliProgram + "' export-tables --format xml MOEDAS --quiet >/dev/null 2>&1";
    const std::string both = "(" + one + ") & (" + two + ") & wait";
    ASSERT_EQ(std::system(both.c_str()), 0);
    EXPECT_EQ(w.xmlFolderFiles(), (std::vector<std::string>{"TABS.XML"}));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(w.xmlFile().c_str()));
    size_t tables = 0;
    for (const pugi::xml_node& d : doc.child("TABELAS").children("DADOS")) {
        (void)d;
        ++tables;
    }
    EXPECT_TRUE(tables == 1 || tables == 28) << tables;
    EXPECT_STREQ(doc.child("TABELAS").last_child().name(), "DADOS");
}
