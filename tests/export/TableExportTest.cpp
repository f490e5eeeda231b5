// The table export through its operation, as the window runs it: the files parsed back by readers that
// know nothing of ours and compared with the rows of the tables, the closing message, the logs, and
// every way it can fail.
#include "ExportWorld.h"
#include "base/BusyGuard.h"
#include "export/ExportTableList.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace {

using Status = TableExportResult::Status;

std::vector<std::string> childNames(const pugi::xml_node& node) {
    std::vector<std::string> names;
    for (const pugi::xml_node& c : node.children())
        names.push_back(std::string(c.name()) +
                        (c.attribute("TABELA") ? " " + std::string(c.attribute("TABELA").value()) : ""));
    return names;
}

// The DADOS of a table as rows of texts, checking the numbering on the way.
std::vector<std::vector<std::string>> dataRows(const pugi::xml_node& dados) {
    std::vector<std::vector<std::string>> rows;
    long long expected = 1;
    for (const pugi::xml_node& r : dados.children()) {
        EXPECT_STREQ(r.name(), "REGISTRO");
        EXPECT_EQ(r.attribute("NUMERO_REGISTRO").as_llong(), expected++);
        std::vector<std::string> row;
        int column = 1;
        for (const pugi::xml_node& v : r.children()) {
            EXPECT_EQ(std::string(v.name()), "VALOR" + std::to_string(column++));
            row.push_back(v.text().get());
        }
        rows.push_back(row);
    }
    return rows;
}

// The rows of a table as the store's own cursor reads them, column by column.
std::vector<std::vector<std::string>> tableRows(const ExportWorld& w, const std::string& table) {
    auto db = w.connect("TABSISCO.MDB");
    OrientadorTable t(*db);
    t.setTableName(table);
    t.open();
    std::vector<std::vector<std::string>> rows;
    for (const std::string& field : t.fieldNames()) {
        const std::vector<std::string> texts = t.columnTexts(field);
        rows.resize(texts.size());
        for (size_t i = 0; i < texts.size(); ++i)
            rows[i].push_back(texts[i]);
    }
    return rows;
}

pugi::xml_node dadosOf(const pugi::xml_document& doc, const std::string& table) {
    return doc.child("TABELAS").find_child_by_attribute("DADOS", "TABELA", table.c_str());
}

} // namespace

TEST(TableExport, XmlHoldsTheChosenTablesInAlphabeticalOrderWithEveryRow) {
    ExportWorld w;
    std::vector<std::string> names = {"PAÍS", "MOEDAS"};
    ExportTableList::sortAlphabetically(names);
    const TableExportResult result = w.run(names);
    ASSERT_EQ(result.status, Status::Saved) << result.failure;
    EXPECT_EQ(result.file, w.xmlFile());

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(w.xmlFile().c_str()));
    const pugi::xml_node root = doc.child("TABELAS");
    EXPECT_STREQ(root.attribute("xmlns:xsi").value(), "http://www.w3.org/2001/XMLSchema-instance");
    EXPECT_TRUE(endsWith(root.attribute("xsi:schemaLocation").value(), "/arquivos/ProjetoMERLIN_ImpTabs.xsd"));
    EXPECT_TRUE(startsWith(root.attribute("xsi:schemaLocation").value(), "file:///"));
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"CODIGO_PAIS", "CODIGO_DHL", "ESTRUTURA TAB_MOEDA",
                                                          "DADOS TAB_MOEDA", "ESTRUTURA TAB_PAIS", "DADOS TAB_PAIS"}));
    EXPECT_STREQ(root.child("CODIGO_PAIS").text().get(), "BRASIL");
    EXPECT_STREQ(root.child("CODIGO_DHL").text().get(), "10");

    // The structure from the column kinds: texts with their width, Yes/No as Boolean of size 0.
    std::vector<std::string> campos;
    for (const pugi::xml_node& c : root.find_child_by_attribute("ESTRUTURA", "TABELA", "TAB_PAIS").children("CAMPO"))
        campos.push_back(std::string(c.child_value("NOME")) + ":" + c.child_value("TIPO") + ":" +
                         c.child_value("TAMANHO"));
    EXPECT_EQ(campos, (std::vector<std::string>{"CD_PAIS:String:3", "NM_PAIS:String:50", "SG_PAIS:String:2",
                                                "IN_MERCOSUL:Boolean:0", "IN_ALADI:Boolean:0"}));

    EXPECT_EQ(dataRows(dadosOf(doc, "TAB_MOEDA")), tableRows(w, "TAB_MOEDA"));
    EXPECT_EQ(dataRows(dadosOf(doc, "TAB_PAIS")), tableRows(w, "TAB_PAIS"));
    EXPECT_EQ(dataRows(dadosOf(doc, "TAB_PAIS")).size(), 57u);

    // The logs and the closing message window.
    const auto log = w.activity();
    ASSERT_GE(log.size(), 3u);
    EXPECT_NE(log[1].find(";Iniciando Importação de Tabelas;"), std::string::npos);
    EXPECT_NE(log[2].find(";Finalizando Importação de Tabelas (MOEDAS, PAÍS);"), std::string::npos);
    const auto shown = w.op.callsOf("showMessage");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Pelomira");
    EXPECT_EQ(shown[0].text, "Arquivo " + w.xmlFile() + "\r gravado com êxito!");
    EXPECT_EQ(w.progress.calls, (std::vector<std::string>{"started 2", "entry 0 MOEDAS", "done 0/2 TAB_MOEDA",
                                                          "entry 1 PAÍS", "done 1/2 TAB_PAIS", "finished", "reset"}));
    EXPECT_EQ(w.xmlFolderFiles(), (std::vector<std::string>{"TABS.XML"}));

    const std::string lint = "xmllint --noout '" + w.xmlFile() + "' 2>&1";
    EXPECT_EQ(std::system(lint.c_str()), 0);
}

TEST(TableExport, ValuesComeBackExactlyFromBothFiles) {
    ExportWorld w;
    // Quotes, the separator, both kinds of line break, markup characters, accents; a null date and a
    // decimal rate.
    const std::string awkward = "Tubos \"1/2\"; aço & <latão>\r\nsegunda linha\nterceira";
    w.addRow("TABSISCO.MDB", "TAB_NCM",
             {{"CD_NCM", "73063000"}, {"NM_NCM", awkward}, {"CD_UNID_MEDIDA", "10"}, {"PC_ALIQ_II", "14,5"}});
    w.addRow("TABSISCO.MDB", "TAB_CONVERSAO_CAMB_HIST",
             {{"CD_MOEDA", "220"}, {"DT_INICIO_VIGENCIA", "01/02/2026"}, {"VL_TAXA_CONVERSAO", "5,4321"}});

    ASSERT_EQ(w.run({"CLASSIFICAÇÃO FISCAL (NCM)", "TAXA DE CONVERSÃO DE CÂMBIO (HISTÓRICO)"}).status, Status::Saved);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(w.xmlFile().c_str()));
    const auto ncm = dataRows(dadosOf(doc, "TAB_NCM"));
    ASSERT_FALSE(ncm.empty());
    EXPECT_EQ(ncm.back(), (std::vector<std::string>{"73063000", awkward, "10", "14,5", ""}));
    EXPECT_EQ(ncm, tableRows(w, "TAB_NCM"));
    const auto hist = dataRows(dadosOf(doc, "TAB_CONVERSAO_CAMB_HIST"));
    EXPECT_EQ(hist.back(), (std::vector<std::string>{"220", "01/02/2026", "", "5,4321"}));
    EXPECT_EQ(hist, tableRows(w, "TAB_CONVERSAO_CAMB_HIST"));

    ASSERT_EQ(w.run({"CLASSIFICAÇÃO FISCAL (NCM)"}, TableExportFormat::Csv).status, Status::Saved);
    const auto csv = readCsvIndependently(w.csvFile());
    std::vector<std::vector<std::string>> expected = {
        {"Tabela TAB_NCM"}, {"CD_NCM", "NM_NCM", "CD_UNID_MEDIDA", "PC_ALIQ_II", "PC_ALIQ_IPI", ""}};
    for (auto row : tableRows(w, "TAB_NCM")) {
        row.push_back(""); // every field is followed by ";"
        expected.push_back(row);
    }
    expected.push_back({});
    EXPECT_EQ(csv, expected);
}

TEST(TableExport, CsvIsCodePage1252WithCrLfLinesAndTheNameOfTheSettings) {
    ExportWorld w;
    w.settings.write(Settings::Dados, Settings::KeyArqXML, "tabs.xml");
    w.addRow("TABSISCO.MDB", "TAB_PAIS", {{"CD_PAIS", "756"}, {"NM_PAIS", "ÁFRICA DO SUL – SUAZILÂNDIA"}});
    ASSERT_EQ(w.run({"PAÍS"}, TableExportFormat::Csv).status, Status::Saved);
    const std::string file = w.xmlFolder + "/tabs.CSV";
    EXPECT_EQ(w.xmlFolderFiles(), (std::vector<std::string>{"tabs.CSV"}));
    const std::string bytes = TestEnv::readFile(file);
    EXPECT_TRUE(startsWith(bytes, "Tabela TAB_PAIS\r\nCD_PAIS;NM_PAIS;SG_PAIS;IN_MERCOSUL;IN_ALADI;\r\n"));
    EXPECT_TRUE(endsWith(bytes, ";\r\n\r\n"));
    EXPECT_NE(bytes.find("\r\n756;\xC1"
                         "FRICA DO SUL \x96 SUAZIL\xC2NDIA;;;;\r\n"),
              std::string::npos);
    // Every line break outside a value is CR LF.
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_EQ(bytes[i - 1], '\r') << "at byte " << i;
        }
    }
    EXPECT_NE(w.op.callsOf("showMessage").at(0).text.find(file), std::string::npos);

    // XML in the same run of settings: the name trimmed and in capitals.
    w.settings.write(Settings::Dados, Settings::KeyArqXML, " tabs.xml ");
    ASSERT_EQ(w.run({"PAÍS"}).status, Status::Saved);
    EXPECT_TRUE(TestEnv::exists(w.xmlFolder + "/TABS.XML"));
    EXPECT_EQ(TableExport::outputFile(TableExportFormat::Csv, "/x/", "TABS.XML"), "/x/TABS.CSV");
    EXPECT_EQ(TableExport::outputFile(TableExportFormat::Xml, "/x", "tabs.xml"), "/x/TABS.XML");
}

TEST(TableExport, AnEmptyTableKeepsItsStructure) {
    ExportWorld w;
    w.sql("TABSISCO.MDB", "DELETE FROM TAB_RECIPIENTE");
    ASSERT_EQ(w.run({"RECIPIENTES"}).status, Status::Saved);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(w.xmlFile().c_str()));
    const pugi::xml_node root = doc.child("TABELAS");
    EXPECT_EQ(childNames(root.find_child_by_attribute("ESTRUTURA", "TABELA", "TAB_RECIPIENTE")),
              (std::vector<std::string>{"CAMPO", "CAMPO"}));
    EXPECT_TRUE(dadosOf(doc, "TAB_RECIPIENTE"));
    EXPECT_FALSE(dadosOf(doc, "TAB_RECIPIENTE").first_child());

    ASSERT_EQ(w.run({"RECIPIENTES"}, TableExportFormat::Csv).status, Status::Saved);
    EXPECT_EQ(TestEnv::readFile(w.csvFile()),
              "Tabela TAB_RECIPIENTE\r\nCD_TIPO_RECIPIENTE;NM_TIPO_RECIPIENTE;\r\n\r\n");
}

TEST(TableExport, EachDisplayNameFindsItsOwnTableWhateverTheKeyOrder) {
    ExportWorld w;
    // The longer names first: a name must not take the key of a longer one that begins like it.
    w.settings.write(Settings::Tabelas, "Tabela21", "TAXA DE CONVERSÃO DE CÂMBIO (HISTÓRICO);TAB_CONVERSAO_CAMB_HIST");
    w.settings.write(Settings::Tabelas, "Tabela22", "TAXA DE CONVERSÃO DE CÂMBIO;TAB_CONVERSAO_CAMBIO");
    w.settings.write(Settings::Tabelas, "Tabela17",
                     "PIS/COFINS - FUNDAMENTO LEGAL ALÍQUOTA;TAB_FUND_LEGAL_REDUCAO_PIS_COFINS");
    w.settings.write(Settings::Tabelas, "Tabela18", "PIS/COFINS - FUNDAMENTO LEGAL;TAB_FUND_LEGAL_PIS_COFINS");
    EXPECT_EQ(ExportTableList::tableOf(w.settings, "TAXA DE CONVERSÃO DE CÂMBIO"), "TAB_CONVERSAO_CAMBIO");
    EXPECT_EQ(ExportTableList::tableOf(w.settings, "TAXA DE CONVERSÃO DE CÂMBIO (HISTÓRICO)"),
              "TAB_CONVERSAO_CAMB_HIST");
    EXPECT_EQ(ExportTableList::tableOf(w.settings, "PIS/COFINS - FUNDAMENTO LEGAL"), "TAB_FUND_LEGAL_PIS_COFINS");
    EXPECT_EQ(ExportTableList::tableOf(w.settings, "TAXA"), std::nullopt);

    ASSERT_EQ(w.run({"TAXA DE CONVERSÃO DE CÂMBIO (HISTÓRICO)"}).status, Status::Saved);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(w.xmlFile().c_str()));
    EXPECT_TRUE(dadosOf(doc, "TAB_CONVERSAO_CAMB_HIST"));
    EXPECT_FALSE(dadosOf(doc, "TAB_CONVERSAO_CAMBIO"));
}

TEST(TableExport, TheListComesFromTheSettingsInAlphabeticalOrder) {
    ExportWorld w;
    auto names = ExportTableList::displayNames(w.settings);
    ASSERT_EQ(names.size(), 28u);
    EXPECT_EQ(names[0], "ACORDO ALADI");
    w.settings.write(Settings::Tabelas, "Tabela2", "SEM SEPARADOR");
    w.settings.write(Settings::Tabelas, "Tabela5", "");
    EXPECT_EQ(ExportTableList::displayNames(w.settings).size(), 26u);

    ExportTableList::sortAlphabetically(names);
    const auto at = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
    // Accented capitals sort among their letters, not after Z.
    EXPECT_LT(at("NVE - ESPECIFICAÇÃO"), at("ÓRGÃOS - EMISSÃO ATO LEGAL"));
    EXPECT_LT(at("ÓRGÃOS ANUENTES"), at("PAÍS"));
    EXPECT_LT(at("MODALIDADE DE PAGAMENTO"), at("MOEDAS"));
    EXPECT_LT(at("TAXA DE CONVERSÃO DE CÂMBIO"), at("TAXA DE CONVERSÃO DE CÂMBIO (HISTÓRICO)"));
    EXPECT_EQ(names.back(), "UNIDADE DE MEDIDA ESTATÍSTICA");
    EXPECT_TRUE(ExportTableList::alphabeticalLess("país", "PAÍS ") && !ExportTableList::alphabeticalLess("b", "A"));
}

TEST(TableExport, NothingChosenWritesOnlyTheStartEntry) {
    ExportWorld w;
    EXPECT_EQ(TableExport(w.ctx, w.progress).run({}, TableExportFormat::Xml).status, Status::NothingChosen);
    const auto log = w.activity();
    ASSERT_EQ(log.size(), 3u); // header, the one entry, the empty rest after the last CR LF
    EXPECT_NE(log[1].find("Iniciando Importação de Tabelas"), std::string::npos);
    EXPECT_TRUE(w.op.calls().empty());
    EXPECT_TRUE(w.xmlFolderFiles().empty());
}

TEST(TableExport, AFailedExportLeavesTheEarlierFileAndSaysWhy) {
    ExportWorld w;
    TestEnv::writeFile(w.xmlFile(), "anterior");
    TestEnv::writeFile(w.csvFile(), "anterior");
    const auto expectFailure = [&](TableExportFormat format, const std::string& why) {
        w.op.clear();
        const TableExportResult result = TableExport(w.ctx, w.progress).run({"MOEDAS", "PAÍS"}, format);
        EXPECT_EQ(result.status, Status::Failed);
        EXPECT_NE(result.failure.find(why), std::string::npos) << result.failure;
        EXPECT_NE(w.errorLog().find("Procedimento: Importando Tabelas do SISCOMEX - Erro: " + why), std::string::npos)
            << w.errorLog();
        ASSERT_EQ(w.op.messages().size(), 1u);
        EXPECT_NE(w.op.messages()[0].find(why), std::string::npos);
        EXPECT_TRUE(w.op.callsOf("showMessage").empty());
        EXPECT_EQ(TestEnv::readFile(w.xmlFile()), "anterior");
        EXPECT_EQ(TestEnv::readFile(w.csvFile()), "anterior");
        EXPECT_EQ(w.xmlFolderFiles(), (std::vector<std::string>{"TABS.CSV", "TABS.XML"}));
        EXPECT_FALSE(w.dm.ADOCon_IMPORT.connected());
    };

    // The second table is missing from TABSISCO.MDB: the first one was already written.
    w.settings.write(Settings::Tabelas, "Tabela16", "PAÍS;TAB_PAIS_ANTIGA");
    expectFailure(TableExportFormat::Csv, "A tabela TAB_PAIS_ANTIGA não existe no arquivo TABSISCO.MDB");
    w.settings.write(Settings::Tabelas, "Tabela16", "PAÍS;TAB_PAIS");

    // A character code page 1252 has none for, in the CSV; the XML takes it.
    w.addRow("TABSISCO.MDB", "TAB_PAIS", {{"CD_PAIS", "999"}, {"NM_PAIS", "中国"}});
    expectFailure(TableExportFormat::Csv,
                  "O valor da coluna NM_PAIS do registro 58 da tabela TAB_PAIS contém o caractere \"中\" (U+4E2D)");
    w.sql("TABSISCO.MDB", "DELETE FROM TAB_PAIS WHERE CD_PAIS = '999'");

    // A control character no XML can carry, and bytes that are not text.
    w.sql("TABSISCO.MDB", "UPDATE TAB_MOEDA SET NM_MOEDA = 'EU' || char(1) || 'RO' WHERE CD_MOEDA = '978'");
    expectFailure(
        TableExportFormat::Xml,
        "O valor da coluna NM_MOEDA do registro 2 da tabela TAB_MOEDA contém um caractere de controle (U+0001)");
    w.sql("TABSISCO.MDB", "UPDATE TAB_MOEDA SET NM_MOEDA = CAST(x'53E34F' AS TEXT) WHERE CD_MOEDA = '978'");
    expectFailure(TableExportFormat::Xml,
                  "O valor da coluna NM_MOEDA do registro 2 da tabela TAB_MOEDA não é um texto válido (byte E3h)");

    // No TABSISCO.MDB in the Orientador folder.
    std::filesystem::remove(w.file("TABSISCO.MDB"));
    expectFailure(TableExportFormat::Xml, "O arquivo TABSISCO.MDB não foi encontrado na pasta do Orientador");
    EXPECT_EQ(w.activity().back().find("Finalizando"), std::string::npos);
}

TEST(TableExport, AFileThatCannotBeWrittenIsNeverCalledWritten) {
    ExportWorld w;
    w.settings.write(Settings::Dados, Settings::KeyPastaXML, w.env.path("nao-existe"));
    const TableExportResult result = w.run({"MOEDAS"});
    EXPECT_EQ(result.status, Status::SaveFailed);
    ASSERT_EQ(w.op.callsOf("message").size(), 1u);
    const auto box = w.op.callsOf("message")[0];
    EXPECT_EQ(box.caption, "Erro ao Salvar o Arquivo XML");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(box.text, "Não foi possível salvar o arquivo\r" + w.env.path("nao-existe") +
                            "/TABS.XMLPor favor verifique se o caminho está correto \rou se as conexões de rede "
                            "estão ativas nesta máquina.");
    EXPECT_NE(w.errorLog().find("Procedimento: Salvando XML de Importação de Tabelas - Erro: Não foi possível criar o "
                                "arquivo " +
                                w.env.path("nao-existe") + "/TABS.XML (arquivo ou pasta não encontrado)"),
              std::string::npos)
        << w.errorLog();
    EXPECT_TRUE(w.op.callsOf("showMessage").empty()) << "no \"gravado com êxito!\" after a failed save";
    for (const std::string& line : w.activity())
        EXPECT_EQ(line.find("Finalizando"), std::string::npos);
}

TEST(TableExport, OpeningTheFileAndItsFailure) {
    ExportWorld w;
    w.op.queueButton(1);
    ASSERT_EQ(TableExport(w.ctx, w.progress).run({"MOEDAS"}, TableExportFormat::Xml).status, Status::Saved);
    ASSERT_EQ(w.op.callsOf("openWithSystem").size(), 1u);
    EXPECT_EQ(w.op.callsOf("openWithSystem")[0].text, w.xmlFile());

    w.op.clear();
    w.op.queueButton(1);
    w.op.failOpenWith("sem programa");
    ASSERT_EQ(TableExport(w.ctx, w.progress).run({"MOEDAS"}, TableExportFormat::Xml).status, Status::Saved);
    EXPECT_EQ(w.op.messages(),
              (std::vector<std::string>{"Não foi possível abrir o Arquivo \r" + w.xmlFile() +
                                        "\rVerifique se o Arquivo existe ou se ele não está aberto!"}));
}

TEST(TableExport, ABusyProgramExportsNothing) {
    ExportWorld w;
    BusyGuard busy("Importação de Processos");
    EXPECT_EQ(TableExport(w.ctx, w.progress).run({"MOEDAS"}, TableExportFormat::Xml).status, Status::Busy);
    EXPECT_EQ(w.op.messages(), (std::vector<std::string>{"Há uma operação em andamento (Importação de Processos).\r"
                                                         "Aguarde o término para exportar as tabelas."}));
    EXPECT_FALSE(TestEnv::exists(w.env.home() + Logs::ActivityFile));
}

TEST(TableExport, ALongTableShowsItsProgressAndIgnoresAFilterLeftOnTheCursor) {
    ExportWorld w;
    w.sql("TABSISCO.MDB", "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 9000) "
                          "INSERT INTO TAB_NCM SELECT printf('%08d', i), 'Item ' || i, '10', 2.5, NULL FROM n");
    w.dm.ADOTbl_IMPORT.setFilter("CD_NCM = '00000001'");
    w.dm.ADOTbl_IMPORT.setFiltered(true);
    ASSERT_EQ(w.run({"CLASSIFICAÇÃO FISCAL (NCM)"}).status, Status::Saved);
    EXPECT_EQ(w.progress.rowsDone, (std::vector<long long>{0, 2000, 4000, 6000, 8000, 9079}));
    EXPECT_GE(w.op.processEventsCount(), 6);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(w.xmlFile().c_str()));
    EXPECT_EQ(dataRows(dadosOf(doc, "TAB_NCM")).size(), 9079u);
}
