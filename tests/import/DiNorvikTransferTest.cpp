// The DI transfer into NORVIK through the NORVIK entry: a scripted operator, a NORVIK folder made by
// init-norvik, the repository's transformation files and samples, the merge program of the build, and
// Debian's Python and Perl readers looking at what was written.
#include "import/DiNorvikTransfer.h"
#include "data/DbfTestFiles.h"
#include "data/NorvikFiles.h"
#include "import/DiNorvikWriter.h"
#include "import/DiTransferWorld.h"
#include "import/NorvikWorld.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string Sample = "DI_VARIAS_ADICOES.xml";
const std::string Registro = "2026001534";

std::size_t itemsIn(const std::string& documentText) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = documentText.find("<ITEM>", at)) != std::string::npos; ++at)
        ++n;
    return n;
}

} // namespace

TEST(NorvikDiTransfer, TheSampleReachesEveryFileWholeAndOtherReadersSeeIt) {
    NorvikWorld w;
    const std::string text = NorvikWorld::sample(Sample);
    w.transfer(text);
    ASSERT_TRUE(w.op.unexpected().empty());
    EXPECT_TRUE(w.messages(MessageIcon::Error).empty()) << w.messages(MessageIcon::Error).front();
    const auto closing = w.op.callsOf("showMessage");
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].text, "DI(s) 2026001534 recebida(s) com êxito no NORVIK!");

    const auto head = w.rowsOf("RIREGI", Registro);
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].at("RRRFLA"), "I");
    EXPECT_EQ(head[0].at("DATA"), "12/03/2026"); // the rate date wins over today's
    EXPECT_EQ(head[0].at("QTADICAO"), "003");
    EXPECT_EQ(head[0].at("FOBDVS"), "S"); // euros and dollars
    EXPECT_EQ(head[0].at("ICMS"), "3");
    EXPECT_NE(head[0].at("COMPLREG").find("\r\n"), std::string::npos);
    EXPECT_EQ(w.rowsOf("RIITEM", Registro).size(), itemsIn(text));
    EXPECT_EQ(w.rowsOf("RIADIC", Registro).size(), 3u); // merged by the merge program
    EXPECT_EQ(w.rowsOf("RIFOBS", Registro).size(), 2u);
    EXPECT_TRUE(w.check().empty()) << w.check().front();

    // Python reads the header, items with their memo, and the merged additions.
    const auto py = DbfTestFiles::runScript(w.env, "/usr/bin/python3", "read.py", R"(
import sys
from dbfread import DBF
d = sys.argv[1]
regi = [r for r in DBF(d + '/RIREGI.DBF', encoding='cp850') if r['REGISTRO'] == '2026001534']
items = [r for r in DBF(d + '/RIITEM.DBF', encoding='cp850') if r['REGISTRO'] == '2026001534']
adic = [r for r in DBF(d + '/RIADIC.DBF', encoding='cp850') if r['REGISTRO'] == '2026001534']
print(len(regi), len(items), len(adic), regi[0]['FOB_REAL'], sorted(a['ADICAO'] for a in adic), all(i['DESCRICAO'] for i in items))
)",
                                            w.folder);
    ASSERT_EQ(py.status, 0) << py.output;
    EXPECT_EQ(py.output,
              "1 " + std::to_string(itemsIn(text)) + " 3 " + head[0].at("FOB_REAL") + " ['001', '002', '003'] True\n");
    // Perl finds every item key in each of the four item indices.
    for (const char* ntx : {"RIIT01", "RIIT02", "RIIT03", "RIIT04"}) {
        const auto pl = DbfTestFiles::runScript(w.env, "perl", "count.pl", R"(
use XBase::Index;
my $i = XBase::Index->new($ARGV[0], type => 'char') or die XBase::Index->errstr;
$i->prepare_select; my $n = 0; $n++ while ($i->fetch); print "$n\n";
)",
                                                w.folder + "/" + ntx + ".NTX");
        ASSERT_EQ(pl.status, 0) << pl.output;
        EXPECT_EQ(pl.output, std::to_string(w.rows("RIITEM").size()) + "\n") << ntx;
    }

    // Again, overwriting: nothing doubled, the header marked as replaced.
    w.op.queueButton(0); // "&Sobrepõe"
    w.transfer(text);
    const auto presence = w.op.callsOf("showMessage");
    ASSERT_EQ(presence.size(), 3u);
    EXPECT_EQ(presence[1].text, "Declaração de Importação \r2026001534\rjá existente no NORVIK!");
    EXPECT_EQ(presence[1].extra.size() > 0, true);
    const auto again = w.rowsOf("RIREGI", Registro);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].at("RRRFLA"), "X");
    EXPECT_EQ(w.rowsOf("RIITEM", Registro).size(), itemsIn(text));
    EXPECT_EQ(w.rowsOf("RIADIC", Registro).size(), 3u);
    EXPECT_EQ(w.rowsOf("RICUST", Registro).size(), w.rows("RICUST").size());
    EXPECT_EQ(w.rows("RIFABR").size(), 4u); // manufacturers and exporters found again, not made twice
    EXPECT_TRUE(w.check().empty()) << w.check().front();
}

TEST(NorvikDiTransfer, RatesAlreadyThereStayAndNewOnesAreRelativeToTheFirstCurrency) {
    NorvikWorld w;
    {
        DbfTable t;
        t.open(w.folder + "/RITAXA.DBF", {w.folder + "/RITAXA.NTX"});
        t.append();
        t.setText("CODIGO", "978");
        t.setText("DATA", "12/03/2026");
        t.setText("TX_REAL", "6.5");
        t.setText("TX_US", "9");
        t.post();
    }
    SampleDocument doc(Sample);
    // The first rate of the document is the reference: euros, already in RITAXA at 6.5.
    auto rates = doc.doc.select_nodes("/PROCESSOS/PROCESSO/TAXAS");
    ASSERT_GE(rates.size(), 2u);
    pugi::xml_node first = rates[0].node();
    first.child("MOEDA").text().set("978");
    first.child("TAXA").text().set("6.2318");
    rates[1].node().child("MOEDA").text().set("220");
    rates[1].node().child("TAXA").text().set("5.2");
    w.transfer(doc.text());
    std::map<std::string, NorvikRow> onDate;
    for (const NorvikRow& r : w.rows("RITAXA"))
        if (r.at("DATA") == "12/03/2026")
            onDate[r.at("CODIGO")] = r;
    EXPECT_EQ(onDate["978"].at("TX_REAL"), "6.5000000");
    EXPECT_EQ(onDate["978"].at("TX_US"), "9.0000000");
    EXPECT_EQ(onDate["220"].at("TX_US"), "0.8000000"); // 5.2 / 6.5
    EXPECT_EQ(onDate["790"].at("TX_US"), "1.0000000");
}

TEST(NorvikDiTransfer, ProcessKeysAndWorkCopyNamesStayInsideTheFolder) {
    EXPECT_EQ(DiNorvikWriter::processKey("123456789012"), "123456789012");
    EXPECT_EQ(DiNorvikWriter::processKey(" 12 "), " 12 "); // kept as the record set holds it
    EXPECT_EQ(DiNorvikWriter::processKey("AB123456789012Z"), "123456789012");
    EXPECT_EQ(DiNorvikWriter::workCopyName("2026001534"), "TM001534.DBF");
    EXPECT_EQ(DiNorvikWriter::workCopyName("IMP/../x/26"), "TM__x_26.DBF");
    EXPECT_EQ(DiNorvikWriter::workCopyName("1\\2.3"), "TM1_2_3.DBF");
}

TEST(NorvikDiTransfer, CancelAtThePresenceCheckEndsTheWalkWithoutWriting) {
    NorvikWorld w;
    const std::string two = NorvikWorld::sample("DI_DUAS_DECLARACOES.xml");
    w.transfer(two);
    const std::size_t items = w.rows("RIITEM").size();
    const std::size_t heads = w.rows("RIREGI").size();
    ASSERT_EQ(heads, 2u);
    w.op.queueButton(1); // "&Cancelar" on the first DI
    resetProcessRecordSets(w.dm);
    w.op.queueYesNo(true);
    importProcessToNorvik(w.ctx, two, w.transfers);
    EXPECT_EQ(w.rows("RIREGI").size(), heads);
    EXPECT_EQ(w.rows("RIITEM").size(), items);
    EXPECT_EQ(w.op.callsOf("showMessage").size(), 2u); // the closing window of the first run and the question
    EXPECT_TRUE(w.check().empty());
}

TEST(NorvikDiTransfer, LongTextsWarnAndAreKeptWhole) {
    NorvikWorld w;
    SampleDocument doc(Sample);
    doc.set("/PROCESSOS/PROCESSO/COMPLEMENTARES", std::string(7801, 'c'));
    doc.set("/PROCESSOS/PROCESSO/VIA_TRANSPORTE", "4");
    w.transfer(doc.text());
    const auto warnings = w.messages(MessageIcon::Warning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("(tamanho atual: 7801 caracteres)"), std::string::npos);
    const auto head = w.rowsOf("RIREGI", Registro);
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].at("COMPLREG").size(), 7801u);
    EXPECT_EQ(head[0].at("VIA_TRANSP"), "01");

    NorvikWorld quiet;
    doc.set("/PROCESSOS/PROCESSO/COMPLEMENTARES", std::string(7800, 'c'));
    doc.set("/PROCESSOS/PROCESSO/VIA_TRANSPORTE", "");
    quiet.transfer(doc.text());
    EXPECT_TRUE(quiet.messages(MessageIcon::Warning).empty());
    EXPECT_EQ(quiet.rowsOf("RIREGI", Registro)[0].at("VIA_TRANSP"), "");
}

TEST(NorvikDiTransfer, OneCurrencyWritesNoFobSummaryAndAKnownImporterIsReused) {
    NorvikWorld w;
    SampleDocument doc(Sample);
    for (auto n : doc.doc.select_nodes("//ITEM/MOEDA_NEGOCIADA"))
        n.node().text().set("220");
    doc.set("/PROCESSOS/PROCESSO/IMPORTADOR_CNPJ_CPF", "44555666000199"); // importer 000002 of the sample
    w.transfer(doc.text());
    const auto head = w.rowsOf("RIREGI", Registro);
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].at("FOBDVS"), "N");
    EXPECT_TRUE(w.rows("RIFOBS").empty());
    EXPECT_EQ(head[0].at("IMPORTADOR"), "000002");
    EXPECT_EQ(w.rows("RIIMPO").size(), 2u);
}

TEST(NorvikDiTransfer, AFailureHalfWayLeavesNoRowsOfTheDiBehind) {
    NorvikWorld w;
    // The items' file cannot be opened: the DI fails after its lists were written.
    std::filesystem::remove(w.folder + "/RIIT03.NTX");
    w.transfer(NorvikWorld::sample(Sample));
    const auto errors = w.messages(MessageIcon::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Procedimento: Transferindo a tabela"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("RIIT03.NTX"), std::string::npos) << errors[0];
    EXPECT_NE(w.errorLog().find("RIIT03.NTX"), std::string::npos);
    EXPECT_TRUE(w.op.callsOf("showMessage").empty());
    EXPECT_TRUE(w.rowsOf("RIREGI", Registro).empty());
    EXPECT_TRUE(w.rowsOf("RICUST", Registro).empty());
    EXPECT_TRUE(w.rowsOf("RICAMB", Registro).empty());
    EXPECT_FALSE(w.op.progressIsOpen());
}

TEST(NorvikDiTransfer, TheClosingWindowOpensNorvikOrSaysWhyItCannot) {
    NorvikWorld w;
    resetProcessRecordSets(w.dm);
    w.op.queueYesNo(true);
    w.op.queueButton(DiNorvikTransfer::OpenButtonResult);
    w.op.failOpenWith("O arquivo NORVIK.EXE não foi encontrado");
    importProcessToNorvik(w.ctx, NorvikWorld::sample("DI_DUAS_DECLARACOES.xml"), w.transfers);
    const auto closing = w.op.callsOf("showMessage");
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].text, "DI(s) 111, 222 recebida(s) com êxito no NORVIK!");
    const auto opened = w.op.callsOf("openWithSystem");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].text, w.folder + "/NORVIK.EXE");
    EXPECT_EQ(opened[0].extra.at(1), w.folder + "/");
    const auto errors = w.messages(MessageIcon::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], DiNorvikTransfer::OpenFailure);
    const std::string activity = TestEnv::readFile(w.env.home() + "PELOMIRA_LOG.CSV");
    EXPECT_NE(activity.find("Iniciando Importação de Processos para o NORVIK"), std::string::npos);
    EXPECT_NE(activity.find("Finalizando Importação de Processos para o NORVIK (DI: 111, 222)"), std::string::npos)
        << activity;
    w.waitForMerge();
}
