#include "import/ProcessImport.h"
#include "TestWorld.h"
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/TDM.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Stands in for a transfer that is not built yet: notes what the prologue handed over.
class RecordingTransfer : public ProcessTransfer {
public:
    TransferOutcome run(AppContext& ctx, const LoadedProcessDocument& document) override {
        runs.push_back(document);
        firstId = ctx.dm.cdsXMLPrincipal.text("ID_PROCESSO");
        records = ctx.dm.cdsXMLPrincipal.recordCount();
        commandText = ctx.dm.cdsXMLPrincipal.commandText();
        TransferOutcome done;
        done.status = TransferStatus::Transferred;
        done.transferred.push_back(firstId);
        return done;
    }
    std::vector<LoadedProcessDocument> runs;
    std::string firstId;
    std::size_t records = 0;
    std::string commandText;
};

struct World : TestWorld {
    ProcessTransfers transfers;
    std::map<std::pair<ProcessDestination, ProcessKind>, std::shared_ptr<RecordingTransfer>> recorders;

    World() {
        settings.write(Settings::Dados, Settings::KeyArqTransform, TestEnv::shareFolder() + "/xtr");
        for (auto d : {ProcessDestination::Orientador, ProcessDestination::Norvik})
            for (auto k : {ProcessKind::DI, ProcessKind::LI, ProcessKind::DSI, ProcessKind::LSI}) {
                auto r = std::make_shared<RecordingTransfer>();
                recorders[{d, k}] = r;
                transfers.add(d, k, r);
            }
        resetProcessRecordSets(dm);
    }
    RecordingTransfer& recorder(ProcessDestination d, ProcessKind k) { return *recorders[{d, k}]; }
    int totalRuns() {
        int n = 0;
        for (auto& [key, r] : recorders)
            n += static_cast<int>(r->runs.size());
        return n;
    }
    std::string activityLog() { return TestEnv::readFile(env.home() + Logs::ActivityFile); }
    std::string errorLog() { return TestEnv::readFile(env.home() + Logs::ErrorFile); }
};

std::string sample(const std::string& name) {
    return TestEnv::readFile(TestEnv::shareFolder() + "/samples/" + name);
}

struct Process {
    std::string id, kind, message;
};

std::string document(const std::vector<Process>& processes) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROCESSOS>\n";
    for (const auto& p : processes)
        xml += "<PROCESSO><ID_PROCESSO>" + p.id + "</ID_PROCESSO><TIPO_PROCESSO>" + p.kind +
               "</TIPO_PROCESSO><MENSAGEM>" + p.message + "</MENSAGEM></PROCESSO>\n";
    return xml + "</PROCESSOS>\n";
}

const char* const NotValidatedText =
    "XML NÃO VALIDADO!!!\rVerifique se o arquivo foi gerado corretamente \rou se foi selecionado o arquivo correto...";

} // namespace

TEST(ProcessImportTest, ReceivedTextIsKeptInTempXmlAndHandedToTheDiTransfer) {
    World w;
    importProcessToOrientador(w.ctx, sample("DI_VARIAS_ADICOES.xml"), w.transfers);
    auto& di = w.recorder(ProcessDestination::Orientador, ProcessKind::DI);
    ASSERT_EQ(di.runs.size(), 1u);
    EXPECT_EQ(w.totalRuns(), 1);
    EXPECT_EQ(di.runs[0].file, w.env.home() + "TEMP.XML");
    EXPECT_EQ(di.runs[0].transformFolder, TestEnv::shareFolder() + "/xtr");
    EXPECT_EQ(di.commandText, "SELECT * FROM TEMP");
    EXPECT_EQ(di.firstId, "2026001534");
    EXPECT_TRUE(TestEnv::exists(w.env.home() + "TEMP.XML"));
    EXPECT_TRUE(w.op.callsOf("openFile").empty());
    EXPECT_TRUE(w.op.messages().empty());
    EXPECT_NE(w.activityLog().find("Iniciando Importação de Processos para o SISCOMEX"), std::string::npos);
    EXPECT_EQ(w.dm.XMLTransformProvider.transformRead(), TestEnv::shareFolder() + "/xtr/DI.xtr");
}

TEST(ProcessImportTest, EmptyTextAsksForTheFile) {
    World w;
    w.op.queueFile("");
    importProcessToOrientador(w.ctx, "", w.transfers);
    const auto dialogs = w.op.callsOf("openFile");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].caption, "Selecionar arquivo XML - Dados do Processo");
    EXPECT_EQ(dialogs[0].extra, (std::vector<std::string>{"Arquivo XML|*.xml", "*.XML"}));
    EXPECT_EQ(w.totalRuns(), 0);
    EXPECT_TRUE(w.op.messages().empty()) << "a cancelled dialog ends without a message";

    const std::string chosen = w.env.path("escolhidos/proc123.xml");
    TestEnv::writeFile(chosen, sample("DI_DUAS_DECLARACOES.xml"));
    w.op.queueFile(chosen);
    importProcessToOrientador(w.ctx, "", w.transfers);
    auto& di = w.recorder(ProcessDestination::Orientador, ProcessKind::DI);
    ASSERT_EQ(di.runs.size(), 1u);
    EXPECT_EQ(di.commandText, "SELECT * FROM PROC123");
    EXPECT_EQ(di.runs[0].file, chosen);
    EXPECT_EQ(di.runs[0].baseName, "proc123");
    EXPECT_EQ(di.records, 2u);
    EXPECT_FALSE(TestEnv::exists(w.env.home() + "TEMP.XML"));

    // A name of four characters or fewer still names the records.
    const std::string shortName = w.env.path("escolhidos/x.x");
    TestEnv::writeFile(shortName, sample("DI_DUAS_DECLARACOES.xml"));
    w.op.queueFile(shortName);
    importProcessToOrientador(w.ctx, "", w.transfers);
    ASSERT_EQ(di.runs.size(), 2u) << (w.op.messages().empty() ? "" : w.op.messages().back());
    EXPECT_EQ(di.commandText, "SELECT * FROM X");
    EXPECT_EQ(processDocumentBaseName("/a/x.xml"), "x");
    EXPECT_EQ(processDocumentBaseName("/a/ab"), "ab");
}

TEST(ProcessImportTest, ImpededFirstProcessRefusesTheDocument) {
    World w;
    importProcessToOrientador(w.ctx, sample("PROCESSO_IMPEDIDO.xml"), w.transfers);
    EXPECT_EQ(w.totalRuns(), 0);
    const auto shown = w.op.callsOf("message");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "IMPEDIMENTO NO PROCESSO 2026001588\rDescrição: Licença de importação 26/0412345-6 ainda "
                             "não deferida pelo órgão anuente.\rEste processo não será recebido!");
    EXPECT_EQ(shown[0].caption, "Pelomira");
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
    EXPECT_NE(w.activityLog().find("Processos não recebidos por impedimento (DI: 2026001588)"), std::string::npos);
}

TEST(ProcessImportTest, OnlyTheFirstRecordIsCheckedAndBlanksAreNoImpediment) {
    World w;
    importProcessToOrientador(w.ctx, document({{"111", "1", "   "}, {"222", "1", "Bloqueado"}, {"333", "1", ""}}),
                              w.transfers);
    auto& di = w.recorder(ProcessDestination::Orientador, ProcessKind::DI);
    ASSERT_EQ(di.runs.size(), 1u);
    EXPECT_EQ(di.records, 3u);
    EXPECT_TRUE(w.op.messages().empty());
}

TEST(ProcessImportTest, DocumentWithoutIdentifierIsNotValidated) {
    for (const std::string& text : {sample("SEM_ID_PROCESSO.xml"), document({{"", "1", ""}}), sample("PAISES.xml")}) {
        World w;
        importProcessToOrientador(w.ctx, text, w.transfers);
        EXPECT_EQ(w.totalRuns(), 0);
        ASSERT_EQ(w.op.messages().size(), 1u);
        EXPECT_EQ(w.op.messages()[0], NotValidatedText);
        EXPECT_EQ(w.op.callsOf("message")[0].icon, MessageIcon::Error);
    }
}

TEST(ProcessImportTest, OrientadorDispatchesByProcessKind) {
    const std::vector<std::pair<std::string, ProcessKind>> cases = {{"1", ProcessKind::DI},  {"2", ProcessKind::LI},
                                                                    {"3", ProcessKind::DSI}, {" 4 ", ProcessKind::LSI},
                                                                    {"9", ProcessKind::DI},  {"0", ProcessKind::DI}};
    for (const auto& [code, kind] : cases) {
        World w;
        importProcessToOrientador(w.ctx, document({{"500", code, ""}}), w.transfers);
        EXPECT_EQ(w.recorder(ProcessDestination::Orientador, kind).runs.size(), 1u) << code;
        EXPECT_EQ(w.totalRuns(), 1) << code;
        EXPECT_EQ(w.recorder(ProcessDestination::Orientador, kind).runs[0].kind, kind);
    }
}

TEST(ProcessImportTest, KindThatIsNotANumberStopsBeforeAnyTransfer) {
    for (const std::string& code : {std::string(""), std::string("DI"), std::string("2.0")}) {
        for (const bool norvik : {false, true}) {
            World w;
            if (norvik)
                importProcessToNorvik(w.ctx, document({{"500", code, ""}}), w.transfers);
            else
                importProcessToOrientador(w.ctx, document({{"500", code, ""}}), w.transfers);
            EXPECT_EQ(w.totalRuns(), 0);
            ASSERT_EQ(w.op.messages().size(), 1u);
            EXPECT_NE(w.op.messages()[0].find("TIPO_PROCESSO"), std::string::npos) << w.op.messages()[0];
            EXPECT_NE(w.op.messages()[0].find("'" + code + "'"), std::string::npos);
            EXPECT_NE(w.errorLog().find("TIPO_PROCESSO"), std::string::npos);
        }
    }
}

TEST(ProcessImportTest, NorvikTakesEveryDocumentAsADi) {
    World w;
    importProcessToNorvik(w.ctx, sample("LI_DUAS_LICENCAS.xml"), w.transfers);
    EXPECT_EQ(w.recorder(ProcessDestination::Norvik, ProcessKind::DI).runs.size(), 1u);
    EXPECT_EQ(w.totalRuns(), 1);
    EXPECT_NE(w.activityLog().find("Iniciando Importação de Processos para o NORVIK"), std::string::npos);
}

TEST(ProcessImportTest, MissingTransferIsReportedAsNotAvailable) {
    World w;
    ProcessTransfers none;
    importProcessToOrientador(w.ctx, sample("DSI.xml"), none);
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0], "A transferência de DSI para o Orientador - SISCOMEX ainda não está disponível "
                                  "nesta versão do Pelomira.\rNada foi gravado.");
    EXPECT_EQ(w.op.callsOf("message")[0].icon, MessageIcon::Information);
    importProcessToNorvik(w.ctx, sample("DI_VARIAS_ADICOES.xml"), none);
    EXPECT_NE(w.op.messages()[1].find("DI para o NORVIK"), std::string::npos);
}

TEST(ProcessImportTest, BadDocumentsAreReportedAndKeepTheLastTempXml) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<PROCESSOS><PROCESSO></PROCESSOS>", "não é um XML válido"},
        {"   \r\n", "está vazio"},
        {"<html><head><title>Service Unavailable</title></head><body>503</body></html>", "página HTML"},
        {"<PROCESSOS><PROCESSO><ID_PROCESSO>S\xE3o</ID_PROCESSO></PROCESSO></PROCESSOS>", "UTF-8"},
    };
    for (const auto& [text, expected] : cases) {
        World w;
        TestEnv::writeFile(w.env.home() + "TEMP.XML", "anterior");
        importProcessToOrientador(w.ctx, text, w.transfers);
        EXPECT_EQ(w.totalRuns(), 0);
        ASSERT_EQ(w.op.messages().size(), 1u);
        EXPECT_NE(w.op.messages()[0].find(expected), std::string::npos) << w.op.messages()[0];
        EXPECT_EQ(TestEnv::readFile(w.env.home() + "TEMP.XML"), "anterior");
        EXPECT_NE(w.errorLog().find("Procedimento: Importação de Processos para o SISCOMEX - Erro: "),
                  std::string::npos);
    }
}

TEST(ProcessImportTest, MissingOrBrokenTransformationIsReported) {
    World w;
    const std::string folder = w.env.path("xtr");
    w.settings.write(Settings::Dados, Settings::KeyArqTransform, folder);
    std::filesystem::create_directories(folder);
    importProcessToOrientador(w.ctx, sample("DI_VARIAS_ADICOES.xml"), w.transfers);
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_NE(w.op.messages()[0].find("Arquivo de transformação não encontrado"), std::string::npos);
    EXPECT_NE(w.op.messages()[0].find("DI.xtr"), std::string::npos);

    // Found whatever its case; a broken one names itself and its line.
    TestEnv::writeFile(folder + "/di.XTR", "<transformation>\n<rows path=\"PROCESSOS/PROCESSO\">\n<fields>ID_PROCESSO "
                                           "MENSAGEM</fields>\n<set nome=\"X\"/></rows></transformation>");
    importProcessToOrientador(w.ctx, sample("DI_VARIAS_ADICOES.xml"), w.transfers);
    ASSERT_EQ(w.op.messages().size(), 2u);
    EXPECT_NE(w.op.messages()[1].find("di.XTR inválido, linha 4"), std::string::npos) << w.op.messages()[1];

    // A transformation without the fields the checks read.
    TestEnv::writeFile(folder + "/di.XTR", "<transformation><rows path=\"PROCESSOS/PROCESSO\"><fields>ID_PROCESSO"
                                           "</fields></rows></transformation>");
    importProcessToOrientador(w.ctx, sample("DI_VARIAS_ADICOES.xml"), w.transfers);
    ASSERT_EQ(w.op.messages().size(), 3u);
    EXPECT_NE(w.op.messages()[2].find("Campo 'MENSAGEM' não encontrado no conjunto de registros cdsXMLPrincipal"),
              std::string::npos)
        << w.op.messages()[2];
    EXPECT_EQ(w.totalRuns(), 0);
}

TEST(ProcessImportTest, ResetClosesAndBindsTheRecordSets) {
    World w;
    importProcessToOrientador(w.ctx, sample("DI_VARIAS_ADICOES.xml"), w.transfers);
    w.dm.cdsXMLAux.bindToNested(w.dm.cdsXMLPrincipal, "ADICAO");
    w.dm.cdsXMLAux.setIndexFieldNames("ID_ADICAO");
    w.dm.cdsXMLAux2.bindToNested(w.dm.cdsXMLPrincipal, "DADOS_LI");
    w.dm.cdsXMLTPAux.setProvider(&w.dm.XMLTransformProvider);
    ASSERT_TRUE(w.dm.cdsXMLPrincipal.active());

    resetProcessRecordSets(w.dm);
    for (RecordSet* s : {&w.dm.cdsXMLPrincipal, &w.dm.cdsXMLAux})
        EXPECT_EQ(s->providerName(), "XMLTransformProvider") << s->name();
    for (RecordSet* s : {&w.dm.cdsXMLTPAux, &w.dm.cdsXMLTPAux2, &w.dm.cdsXMLTPAux3, &w.dm.cdsXMLFabrExp,
                         &w.dm.cdsXMLTaxas, &w.dm.cdsXMLAdicao})
        EXPECT_EQ(s->providerName(), "XMLTPAux") << s->name();
    for (RecordSet* s : {&w.dm.cdsXMLPrincipal, &w.dm.cdsXMLAux, &w.dm.cdsXMLAux2})
        EXPECT_FALSE(s->active()) << s->name();
    EXPECT_EQ(w.dm.cdsXMLAux.parentSet(), nullptr);
    EXPECT_EQ(w.dm.cdsXMLAux.indexFieldNames(), "");
    EXPECT_EQ(w.dm.cdsXMLAux2.parentSet(), &w.dm.cdsXMLPrincipal) << "cdsXMLAux2 is not reset";
}

TEST(ProcessImportTest, AuxiliarySetsFollowTheWayTheTransfersReadThem) {
    World w;
    const std::string file = w.env.path("DI_DUAS_DECLARACOES.xml");
    TestEnv::writeFile(file, sample("DI_DUAS_DECLARACOES.xml"));
    TDM& dm = w.dm;
    const std::string xtr = TestEnv::shareFolder() + "/xtr";

    // Additions of the second process with their taxes.
    dm.XMLTPAux.setXMLDataFile(file);
    dm.XMLTPAux.setTransformation(*w.platform, xtr, "ADICAO.xtr");
    dm.cdsXMLAdicao.setCommandText("SELECT * FROM ADICAO WHERE ID_PROCESSO='222'");
    dm.cdsXMLAdicao.open();
    ASSERT_EQ(dm.cdsXMLAdicao.recordCount(), 1u);
    dm.cdsXMLTPAux.setCommandText("SELECT * FROM ADICAO");
    dm.cdsXMLTPAux.bindToNested(dm.cdsXMLAdicao, "ADICAO");
    EXPECT_EQ(dm.cdsXMLTPAux.recordCount(), 1u);
    dm.cdsXMLTPAux2.setCommandText("SELECT * FROM TRIBUTO");
    dm.cdsXMLTPAux2.bindToNested(dm.cdsXMLTPAux, "TRIBUTO");
    EXPECT_EQ(dm.cdsXMLTPAux2.text("ID_TRIBUTO"), "0001");
    EXPECT_EQ(dm.cdsXMLTPAux2.recordCount(), 4u);

    // The whole document: the first process has three additions.
    dm.cdsXMLAdicao.close();
    dm.cdsXMLAdicao.setCommandText("SELECT * FROM ADICAO WHERE ID_PROCESSO = '111'");
    dm.cdsXMLAdicao.open();
    dm.cdsXMLTPAux.bindToNested(dm.cdsXMLAdicao, "ADICAO");
    dm.cdsXMLTPAux2.bindToNested(dm.cdsXMLTPAux, "TRIBUTO");
    EXPECT_EQ(dm.cdsXMLTPAux.recordCount(), 3u);
    dm.cdsXMLTPAux.next();
    EXPECT_EQ(dm.cdsXMLTPAux.text("ID_ADICAO"), "002");
    EXPECT_EQ(dm.cdsXMLTPAux2.recordCount(), 5u) << "the addition with antidumping";
    EXPECT_TRUE(dm.cdsXMLTPAux2.bof());

    // Manufacturer lookup through the same provider, pointed at FABR_EXP.xtr (the document is read once).
    dm.XMLTPAux.setTransformation(*w.platform, xtr, "FABR_EXP.xtr");
    dm.cdsXMLFabrExp.setCommandText("SELECT * FROM FABR_EXP WHERE ID_FABREXP='3310'");
    dm.cdsXMLFabrExp.open();
    ASSERT_EQ(dm.cdsXMLFabrExp.recordCount(), 2u) << "one per process of the document";
    EXPECT_EQ(dm.cdsXMLFabrExp.text("RAZAO_SOCIAL"), "Bulloneria Lombarda S.p.A.");
    EXPECT_EQ(dm.cdsXMLFabrExp.value("COMPLEMENTO"), std::optional<std::string>(""));

    // Items of one addition, in the order of their addition.
    dm.XMLTransformProvider.setXMLDataFile(file);
    dm.XMLTransformProvider.setTransformation(*w.platform, xtr, "DI.xtr");
    dm.cdsXMLPrincipal.setCommandText("SELECT * FROM DI_DUAS_DECLARACOES");
    dm.cdsXMLPrincipal.open();
    dm.cdsXMLTPAux.close();
    dm.cdsXMLTPAux.setCommandText("SELECT * FROM ITEM WHERE ID_ADICAO = '003'");
    dm.cdsXMLTPAux.bindToNested(dm.cdsXMLPrincipal, "ITEM");
    EXPECT_EQ(dm.cdsXMLTPAux.recordCount(), 2u);
    dm.cdsXMLPrincipal.next(); // second DI: only addition 001
    EXPECT_TRUE(dm.cdsXMLTPAux.isEmpty());
}
