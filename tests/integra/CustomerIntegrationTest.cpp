// The three customer files becoming request documents, with the real code mapping (an Integra
// database), real files, and the operator's part scripted.
#include "IntegrationWorld.h"
#include "platform/Paths.h"

#include <filesystem>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;
using Names = std::vector<std::string>;
using Outcome = CustomerIntegration::Result::Outcome;

std::string samsung(const std::string& invoice, const std::string& commercial, const std::string& date,
                    const std::string& value, const std::string& unit, const std::string& maker,
                    const std::string& order = "PO1") {
    return fixedLine({{1, "SEBN"},
                      {150, commercial},
                      {170, order},
                      {185, date},
                      {193, "ART-" + order},
                      {217, "8529.90.20"},
                      {230, value},
                      {243, unit},
                      {253, "   0,25"},
                      {273, "10"},
                      {292, "Especifica " + order},
                      {360, "1234"},
                      {364, "DESCRICAO " + order},
                      {525, invoice},
                      {1296, maker}});
}

void mapSamsung(IntegrationWorld& w) {
    w.map("SAMSUNG", "FABRICANTE", "SEC01", "F100");
    w.map("SAMSUNG", "FABRICANTE", "SEC02", "F200");
    w.map("SAMSUNG", "UNIDADE", "PC", "UN");
}

std::string itea(const std::string& article, const std::string& invoice) {
    return fixedLine(
        {{1, "ITEA"}, {20, article}, {40, "  3,5"}, {57, "1,25"}, {69, "45,90"}, {114, "9025.19.90"}, {281, invoice}});
}
std::string ited(const std::string& order, const std::string& ddmmyy) {
    return fixedLine({{1, "ITED"}, {39, order}, {68, ddmmyy}});
}
std::string dp(const std::string& text) {
    return fixedLine({{1, "DP"}, {40, text}});
}
std::string capi(const std::string& maker, const std::string& gross) {
    return fixedLine({{1, "CAPI"}, {63, maker}, {222, gross}});
}

} // namespace

TEST(SamsungIntegration, InvoicesInOrderOfFirstAppearanceEveryLineWrittenTheLastToo) {
    IntegrationWorld w;
    mapSamsung(w);
    const std::string file = samsung("4500000101", "COM-B", "15032026", "12,5", "PC", "SEC01", "B1") + "\r\n" +
                             samsung("4500000100", "COM-A", "        ", "3,75", "PC", "SEC02", "A1") + "\r\n" +
                             samsung("4500000101", "COM-B2", "16032026", "1.234,50", "PC", "SEC02", "B2") + "\r\n" +
                             samsung("", "AVULSA", "01042026", "0,99", "PC", "SEC02", "X1") + "\r\n";
    const auto r = w.generate(CustomerFormat::samsung(), file);
    ASSERT_EQ(r.outcome, Outcome::Generated) << r.failure;
    EXPECT_EQ(r.xmlPath, joinPath(w.out, "SAMSUNG4242.XML")) << "named after the last invoice written";
    EXPECT_EQ(TestEnv::readFile(r.xmlPath), r.document);
    w.parse(r);
    ASSERT_EQ(w.invoices.size(), 3u);

    // The invoice values come from the line that opens the invoice.
    EXPECT_EQ(IntegrationWorld::values(w.invoices[0]), (Pairs{{"NUM_FACTURA", "4500000101"},
                                                              {"FACTURA_COMERCIAL", "COM-B"},
                                                              {"INCOTERM_FACTURA", "99"},
                                                              {"INCOTERM_LINEAS", "99"},
                                                              {"MONEDA_FACTURA", "USD"},
                                                              {"TC_FACTURA", "1"},
                                                              {"APLICA_TRATADO", "N"},
                                                              {"IND_INTERMEDIARIO", "2"},
                                                              {"COD_FABRICA", "F100"},
                                                              {"ANNO", "2026"},
                                                              {"rec:LYT_INVOICEDETAILDATA", ""}}));
    const auto b = w.lines(0);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(IntegrationWorld::values(b[0]), (Pairs{{"NUM_FACTURA", "4500000101"},
                                                     {"NUM_ORDEN", "B1"},
                                                     {"FEC_ORDEN", "2026-03-15"},
                                                     {"COD_ARTICULO", "ART-B1"},
                                                     {"COD_PARTIDA", "8529.90.20"},
                                                     {"VALOR_UNITARIO", "12.5"},
                                                     {"COD_UNIDAD", "UN"},
                                                     {"PESO_NETO", "0.25"},
                                                     {"CAN_UNIDAD", "10"},
                                                     {"DESC_ESPECIFICA", "Especifica B1"},
                                                     {"COD_NATURALEZA", "1234"},
                                                     {"DESC_ARTICULO", "DESCRICAO B1"},
                                                     {"ANNO", "2026"}}));
    EXPECT_EQ(b[1].child_value("VALOR_UNITARIO"), std::string("1.234.50")) << "only \",\" is replaced";

    EXPECT_EQ(w.invoices[1].child_value("NUM_FACTURA"), std::string("4500000100"));
    EXPECT_EQ(w.invoices[1].child_value("COD_FABRICA"), std::string("F200"));
    const auto a = w.lines(1);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_FALSE(a[0].child("FEC_ORDEN")) << "a blank order date leaves the element out";

    // The line without number comes last under the random number; it opens that invoice and is the
    // last line, and it is written all the same.
    EXPECT_EQ(w.invoices[2].child_value("NUM_FACTURA"), std::string("4242"));
    EXPECT_EQ(w.invoices[2].child_value("FACTURA_COMERCIAL"), std::string("AVULSA"));
    ASSERT_EQ(w.lines(2).size(), 1u);
    EXPECT_EQ(w.lines(2)[0].child_value("NUM_ORDEN"), std::string("X1"));
    EXPECT_EQ(r.invoices, 3);
    EXPECT_EQ(r.lines, 4);

    // The operator saw the progress and the log tells the start and the end.
    const auto open = w.op.callsOf("progressOpen");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].text, "Iniciando recepção do arquivo " + w.input + ", Aguarde...");
    EXPECT_EQ(w.op.progressMaximum(), 4);
    Names steps;
    for (const auto& c : w.op.callsOf("progressStep"))
        steps.push_back(c.text);
    EXPECT_EQ(steps, (Names{"Recebendo Linha 0", "Recebendo Linha 1", "Recebendo Linha 2", "Recebendo Linha 3",
                            "Finalizando geração de arquivo..."}));
    EXPECT_FALSE(w.op.progressIsOpen());
    EXPECT_EQ(w.activityLog(),
              (Names{"Iniciando Integração SAMSUNG x MERLIN", "Finalizando Integração SAMSUNG x MERLIN - " + w.input}));
    EXPECT_TRUE(w.op.messages().empty());
}

TEST(SamsungIntegration, TheLastLineOpeningAnInvoiceAndBlankLinesOfTheFile) {
    IntegrationWorld w;
    mapSamsung(w);
    // Invoice 7 then invoice 8 as the very last line: both invoices, each with its line.
    auto r = w.generate(CustomerFormat::samsung(), samsung("7", "C7", "", "1", "PC", "SEC01") + "\n\n   \n" +
                                                       samsung("8", "C8", "", "2", "PC", "SEC01") + "\n\n");
    ASSERT_EQ(r.outcome, Outcome::Generated) << r.failure;
    w.parse(r);
    ASSERT_EQ(w.invoices.size(), 2u) << "blank lines carry nothing and become no invoice";
    EXPECT_EQ(w.lines(1).size(), 1u);
    EXPECT_EQ(w.lines(1)[0].child_value("NUM_FACTURA"), std::string("8"));
    EXPECT_EQ(r.xmlPath, joinPath(w.out, "SAMSUNG8.XML"));
    // The description stops where the invoice number begins.
    EXPECT_EQ(w.lines(0)[0].child_value("DESC_ARTICULO"), std::string("DESCRICAO PO1"));
}

TEST(SamsungIntegration, MissingMappingsAreAskedForOnceEachAndUsed) {
    IntegrationWorld w;
    w.map("SAMSUNG", "FABRICANTE", "SEC01", "F100");
    // The unit PC has no mapping: the window is shown, closed once without saving, then saved.
    w.op.queueMappingAction([] {});
    w.op.queueMappingAction([&w] { CodeMapping(w.ctx).save("SAMSUNG", "UNIDADE", "PC", "un"); });
    const auto r = w.generate(CustomerFormat::samsung(), samsung("1", "C", "", "1", "pc", "SEC01") + "\n" +
                                                             samsung("1", "C", "", "1", "PC ", "SEC01") + "\n" +
                                                             samsung("2", "C", "", "1", "PC", "SEC01"));
    ASSERT_EQ(r.outcome, Outcome::Generated) << r.failure;
    const auto prompts = w.op.callsOf("codeMappingPrompt");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].text, "pc");
    EXPECT_EQ(prompts[0].extra, (Names{"SAMSUNG", "UNIDADE"}));
    w.parse(r);
    for (size_t i = 0; i < w.invoices.size(); ++i)
        for (const auto& line : w.lines(i))
            EXPECT_EQ(line.child_value("COD_UNIDAD"), std::string("UN"));
    // One lookup per distinct code, not per line: the database is not asked again and again.
    EXPECT_LE(w.db().statementCount(), 8u);
}

TEST(SamsungIntegration, WithNobodyToAskEveryMissingMappingIsNamedAndNothingIsWritten) {
    IntegrationWorld w;
    w.map("SAMSUNG", "UNIDADE", "PC", "UN");
    const auto r = w.generate(CustomerFormat::samsung(), samsung("1", "C", "", "1", "KG", "SEC01") + "\n" +
                                                             samsung("2", "C", "", "1", "PC", "SEC02") + "\n" +
                                                             samsung("3", "C", "", "1", "KG", "SEC01"));
    ASSERT_EQ(r.outcome, Outcome::Failed);
    const std::string listed = "Há código(s) do cliente SAMSUNG sem vínculo com um código Merlin (Vínculos - Tabela "
                               "De / Para):\rFABRICANTE SEC01\rUNIDADE KG\rFABRICANTE SEC02";
    EXPECT_EQ(r.failure, listed);
    EXPECT_EQ(w.op.messages(), Names{"Erro ao integrar arquivo SAMSUNG\rERRO: " + listed});
    EXPECT_EQ(w.op.callsOf("message")[0].icon, MessageIcon::Error);
    EXPECT_TRUE(std::filesystem::is_empty(w.out));
    EXPECT_FALSE(w.op.progressIsOpen());
    ASSERT_EQ(w.errorLog().size(), 1u);
    EXPECT_NE(w.errorLog()[0].find("Procedimento: Gerando arquivo XML de integração SAMSUNG x MERLIN (" + w.input +
                                   ") - Erro: Há código(s)"),
              std::string::npos)
        << w.errorLog()[0];
    w.op.clear(); // the scripted operator noted the unanswered windows; that was the point
}

TEST(SamsungIntegration, NumbersFromTheFileCannotNameAFileOutsideTheFolder) {
    IntegrationWorld w;
    mapSamsung(w);
    const auto r = w.generate(CustomerFormat::samsung(), samsung("../../evil", "C", "", "1", "PC", "SEC01"));
    ASSERT_EQ(r.outcome, Outcome::Generated) << r.failure;
    EXPECT_EQ(r.xmlPath, joinPath(w.out, "SAMSUNG.._.._evil.XML"));
    EXPECT_TRUE(TestEnv::exists(r.xmlPath));
    w.parse(r);
    EXPECT_EQ(w.invoices[0].child_value("NUM_FACTURA"), std::string("../../evil")) << "the value itself is sent";

    // A second run over an existing file replaces it whole and leaves no work file behind.
    TestEnv::writeFile(r.xmlPath, "old");
    const auto again = w.generate(CustomerFormat::samsung(), samsung("../../evil", "D", "", "1", "PC", "SEC01"));
    EXPECT_EQ(TestEnv::readFile(again.xmlPath), again.document);
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(w.out))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST(CustomerIntegration, FailuresAndEmptyFilesSaveNothingAndSaySo) {
    IntegrationWorld w;
    mapSamsung(w);
    // The output folder does not exist.
    w.settings.write(Settings::Integra, "Caminho_Samsung", w.env.path("nao-existe"));
    auto r = w.generate(CustomerFormat::samsung(), samsung("1", "C", "", "1", "PC", "SEC01"));
    ASSERT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(w.op.messages().back(), "Erro ao integrar arquivo SAMSUNG\rERRO: A pasta " + w.env.path("nao-existe") +
                                          " não existe (Integra/Caminho_Samsung em Configurações). Crie-a ou "
                                          "escolha outra.");
    EXPECT_FALSE(w.op.progressIsOpen());
    EXPECT_EQ(w.activityLog(), Names{"Iniciando Integração SAMSUNG x MERLIN"});

    // A file that is not there.
    r = CustomerIntegration(w.ctx, CustomerFormat::honeywell()).generate(w.env.path("sumiu.txt"));
    ASSERT_EQ(r.outcome, Outcome::Failed);
    EXPECT_NE(r.failure.find("Não foi possível ler o arquivo " + w.env.path("sumiu.txt")), std::string::npos);
    EXPECT_NE(w.errorLog().back().find(";Procedimento: Gerando arquivo XML de integração HONEYWELL x MERLIN (" +
                                       w.env.path("sumiu.txt") + ") - Erro: " + r.failure + ";"),
              std::string::npos);

    // Empty files, and files without a line of data: the operator is told, nothing is written.
    w.settings.write(Settings::Integra, "Caminho_Samsung", w.out);
    w.op.clear();
    for (const auto& [format, content] : std::vector<std::pair<const CustomerFormat*, std::string>>{
             {&CustomerFormat::samsung(), ""},
             {&CustomerFormat::samsung(), "\r\n   \r\n"},
             {&CustomerFormat::synthes(), "FATURA;QTDE\r\n"},
             {&CustomerFormat::honeywell(), "ZZZZ outro registro\r\n" + capi("HW01", "1,0")}}) {
        r = w.generate(*format, content);
        EXPECT_EQ(r.outcome, Outcome::Empty) << content;
        EXPECT_EQ(w.op.messages().back(), "O arquivo " + w.input +
                                              " não contém linhas de dados para integrar.\rNenhum arquivo XML foi "
                                              "gerado.");
        EXPECT_FALSE(w.op.progressIsOpen());
    }
    EXPECT_TRUE(std::filesystem::is_empty(w.out));
}

TEST(SynthesIntegration, ColumnsByNameInAnyOrderGroupedByInvoice) {
    IntegrationWorld w;
    w.map("SYNTHES", "FABRICANTE", "CH", "F1");
    w.map("SYNTHES", "EXPORTADOR", "EX", "E1");
    w.map("SYNTHES", "UNIDADE", "UN", "U1");
    w.map("SYNTHES", "FABRICANTE", "US", "F2");
    const std::string file =
        "produto ; DESCRICAO;FATURA;QTDE;UNIDADE;NCM;PESOUNIT;PESOTOT;FOBUNIT;FOBTOT;MOEDA;FABRIC;EXPORT;PEDIDO\r\n"
        "P1;\"Placa; 6 furos\";900B;2;UN;9021;0,045;0,090;617,25;\"1.234,50\";USD;CH;EX;PO-1\r\n"
        "P2;Parafuso;900A;100;UN;9021;0,002;0,2;4,1;410;USD;CH;EX;PO-2\r\n"
        "P3;\"Placa \"\"T\"\"\"; 900B ;1;UN;9021;0,05;0,05;702;702;USD;CH;EX;PO-1\r\n"
        "P4;Broca;;5;UN;8207;0,01;0,05;35;175;EUR;US;EX;PO-3\r\n";
    const auto r = w.generate(CustomerFormat::synthes(), file, "synthes.csv");
    ASSERT_EQ(r.outcome, Outcome::Generated) << r.failure;
    EXPECT_EQ(r.xmlPath, joinPath(w.out, "SYNTHES4242.XML"));
    EXPECT_EQ(w.op.progressMaximum(), 4) << "the lines of the file less the header";
    w.parse(r);
    ASSERT_EQ(w.invoices.size(), 3u);
    EXPECT_EQ(IntegrationWorld::values(w.invoices[0]), (Pairs{{"NUM_FACTURA", "900B"},
                                                              {"FACTURA_COMERCIAL", "900B"},
                                                              {"COD_SUPLIDOR", "103246"},
                                                              {"INCOTERM_FACTURA", "99"},
                                                              {"INCOTERM_LINEAS", "99"},
                                                              {"MONEDA_FACTURA", "USD"},
                                                              {"TC_FACTURA", "1"},
                                                              {"APLICA_TRATADO", "N"},
                                                              {"IND_INTERMEDIARIO", "2"},
                                                              {"COD_FABRICA", "F1"},
                                                              {"COD_EXPORTADOR", "E1"},
                                                              {"ANNO", "2026"},
                                                              {"rec:LYT_INVOICEDETAILDATA", ""}}));
    const auto b = w.lines(0);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(IntegrationWorld::values(b[0]), (Pairs{{"CAN_UNIDAD", "2"},
                                                     {"COD_PARTIDA", "9021"},
                                                     {"PESO_NETO", "0.045"},
                                                     {"PESO_BRUTO", "0.090"},
                                                     {"VALOR_UNITARIO", "617.25"},
                                                     {"MON_ARTICULO_IMP", "1.234.50"},
                                                     {"COD_ARTICULO", "P1"},
                                                     {"DESC_ESPECIFICA", "Placa; 6 furos"},
                                                     {"COD_UNIDAD", "U1"},
                                                     {"NUM_ORDEN", "PO-1"},
                                                     {"NUM_FACTURA", "900B"},
                                                     {"ANNO", "2026"}}));
    EXPECT_EQ(b[1].child_value("DESC_ESPECIFICA"), std::string("Placa \"T\""));
    EXPECT_EQ(w.invoices[1].child_value("NUM_FACTURA"), std::string("900A"));
    EXPECT_EQ(w.invoices[2].child_value("NUM_FACTURA"), std::string("4242"));
    EXPECT_EQ(w.invoices[2].child_value("MONEDA_FACTURA"), std::string("EUR"));
    EXPECT_EQ(w.invoices[2].child_value("COD_FABRICA"), std::string("F2"));
    EXPECT_EQ(w.activityLog().back(), "Finalizando Integração SYNTHES x MERLIN - " + w.input);
}

TEST(SynthesIntegration, WithoutTheInvoiceColumnOneInvoiceInFileOrderAndAbsentColumnsEmpty) {
    IntegrationWorld w;
    w.map("SYNTHES", "FABRICANTE", "", "F0");
    w.map("SYNTHES", "EXPORTADOR", "", "E0");
    w.map("SYNTHES", "UNIDADE", "UN", "U1");
    const auto r = w.generate(CustomerFormat::synthes(), "PRODUTO;UNIDADE;QTDE\nB;UN;1\nA;UN;2\nB;UN;3\n", "s.csv");
    ASSERT_EQ(r.outcome, Outcome::Generated) << r.failure;
    w.parse(r);
    ASSERT_EQ(w.invoices.size(), 1u);
    EXPECT_EQ(w.invoices[0].child_value("NUM_FACTURA"), std::string("4242"));
    EXPECT_EQ(w.invoices[0].child_value("MONEDA_FACTURA"), std::string(""));
    const auto l = w.lines(0);
    ASSERT_EQ(l.size(), 3u);
    Names order;
    for (const auto& line : l) {
        order.push_back(line.child_value("COD_ARTICULO"));
        EXPECT_TRUE(line.child("PESO_BRUTO")) << "a column the header lacks gives an empty element";
        EXPECT_EQ(line.child_value("PESO_BRUTO"), std::string(""));
    }
    EXPECT_EQ(order, (Names{"B", "A", "B"}));
}

TEST(SynthesIntegration, AnUnclosedQuoteStopsTheGenerationNamingItsLine) {
    IntegrationWorld w;
    const auto r =
        w.generate(CustomerFormat::synthes(), "FATURA;DESCRICAO\n1;ok\n2;\"sem fim\n3;resto do arquivo\n", "s.csv");
    ASSERT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(r.failure, "Linha 3: campo entre aspas sem as aspas de fechamento (o restante do arquivo seria lido "
                         "como parte dele)");
    EXPECT_EQ(w.op.messages().back(), "Erro ao integrar arquivo SYNTHES\rERRO: " + r.failure);
}

TEST(HoneywellIntegration, TypedRecordsHeadersItemsDetailsAndDescriptions) {
    IntegrationWorld w;
    w.map("HONEYWELL", "FABRICANTE", "HW01", "M1");
    w.map("HONEYWELL", "FABRICANTE", "HW02", "M2");
    const std::string file = capi("HW01", "1520,40") + "\r\n" + itea("A1", "X") + "\r\n" + ited("PO-1", "310799") +
                             "\r\n" + dp("SENSOR") + "\r\n" + dp("  FAIXA -40 A 125 ") + "\r\n" + dp("CALIBRADO") +
                             "\r\n" + itea("A2", "X") + "\r\n" + ited("PO-2", "150326") + "\r\n" + "ZZZZ ignorada\r\n" +
                             capi("HW02", "88") + "\r\n" + itea("A3", "Y") + "\r\n" + ited("PO-3", "      ") + "\r\n" +
                             capi("HW99", "1") + "\r\n";
    const auto r = w.generate(CustomerFormat::honeywell(), file);
    ASSERT_EQ(r.outcome, Outcome::Generated) << r.failure;
    EXPECT_TRUE(w.op.callsOf("codeMappingPrompt").empty()) << "the closing header's code is never looked up";
    EXPECT_EQ(r.xmlPath, joinPath(w.out, "HONEYWELLY.XML"));
    w.parse(r);
    ASSERT_EQ(w.invoices.size(), 2u);
    EXPECT_EQ(IntegrationWorld::names(w.invoices[0]),
              (Names{"NUM_FACTURA", "FACTURA_COMERCIAL", "INCOTERM_FACTURA", "INCOTERM_LINEAS", "MONEDA_FACTURA",
                     "TC_FACTURA", "APLICA_TRATADO", "IND_INTERMEDIARIO", "COD_FABRICA", "ANNO",
                     "rec:LYT_INVOICEDETAILDATA"}));
    EXPECT_EQ(w.invoices[0].child_value("FACTURA_COMERCIAL"), std::string("X"));
    EXPECT_EQ(w.invoices[0].child_value("COD_FABRICA"), std::string("M1"));
    EXPECT_EQ(w.invoices[1].child_value("COD_FABRICA"), std::string("M2"));

    const auto x = w.lines(0);
    ASSERT_EQ(x.size(), 2u);
    EXPECT_EQ(IntegrationWorld::values(x[0]), (Pairs{{"ANNO", "2026"},
                                                     {"PESO_NETO", "1.25"},
                                                     {"PESO_BRUTO", "1520.40"},
                                                     {"COD_ARTICULO", "A1"},
                                                     {"CAN_UNIDAD", "3.5"},
                                                     {"VALOR_UNITARIO", "45.90"},
                                                     {"COD_PARTIDA", "9025.19.90"},
                                                     {"NUM_FACTURA", "X"},
                                                     {"NUM_ORDEN", "PO-1"},
                                                     {"FEC_ORDEN", "1999-07-31"},
                                                     {"DESC_ESPECIFICA", "SENSOR FAIXA -40 A 125 CALIBRADO"}}));
    EXPECT_EQ(x[1].child_value("FEC_ORDEN"), std::string("2026-03-15"));
    EXPECT_EQ(x[1].child_value("PESO_BRUTO"), std::string("1520.40")) << "every line under a header: its weight";
    EXPECT_FALSE(x[1].child("DESC_ESPECIFICA"));
    const auto y = w.lines(1);
    ASSERT_EQ(y.size(), 1u);
    EXPECT_EQ(y[0].child_value("PESO_BRUTO"), std::string("88"));
    EXPECT_FALSE(y[0].child("FEC_ORDEN")) << "no year, no date";
}

TEST(HoneywellIntegration, RecordsThatBelongToNoItemAndBadYearsStopTheGeneration) {
    IntegrationWorld w;
    w.map("HONEYWELL", "FABRICANTE", "HW01", "M1");
    auto r = w.generate(CustomerFormat::honeywell(), capi("HW01", "1") + "\n" + dp("ORFA") + "\n" + itea("A", "X"));
    ASSERT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(r.failure, "Linha 2: registro de descrição (DP) antes do primeiro registro de item (ITEA); não há item "
                         "a que ele pertença. Corrija o arquivo e integre-o novamente.");
    r = w.generate(CustomerFormat::honeywell(), ited("PO", "010126") + "\n" + itea("A", "X"));
    ASSERT_EQ(r.outcome, Outcome::Failed);
    EXPECT_NE(r.failure.find("Linha 1: registro de detalhe de item (ITED)"), std::string::npos) << r.failure;
    r = w.generate(CustomerFormat::honeywell(), itea("A", "X") + "\n" + ited("PO", "01017A"));
    ASSERT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(r.failure, "Linha 2: o ano da data \"01017A\" (FEC_ORDEN) não é um número de dois dígitos");
    EXPECT_EQ(w.op.messages().back(), "Erro ao integrar arquivo HONEYWELL\rERRO: " + r.failure);
    EXPECT_TRUE(std::filesystem::is_empty(w.out));
}
