// Sending request documents to the real merlin-sim: its answers, its checks of the vocabulary, and the
// failures of the send as the operator sees them.
#include "IntegrationWorld.h"
#include "MerlinSimProcess.h"
#include "integra/MerlinRequestSender.h"

namespace {

using Outcome = CustomerIntegration::Result::Outcome;

/// A Synthes file with one invoice of two lines, mapped, generated, the simulator listening.
struct SendWorld : IntegrationWorld {
    MerlinSimProcess sim{env};
    CustomerIntegration::Result generated;

    SendWorld() {
        map("SYNTHES", "FABRICANTE", "CH", "F1");
        map("SYNTHES", "EXPORTADOR", "EX", "E1");
        map("SYNTHES", "UNIDADE", "UN", "U1");
        settings.write(Settings::Dados, Settings::KeyWebService2, sim.webService2());
        generated =
            generate(CustomerFormat::synthes(),
                     "FATURA;QTDE;FOBTOT;UNIDADE;FABRIC;EXPORT\n77;2;1.234,50;UN;CH;EX\n77;1;3,5;UN;CH;EX\n", "s.csv");
        op.clear();
    }
    SendOutcome send() { return CustomerIntegration(ctx, CustomerFormat::synthes()).send(generated); }
};

} // namespace

TEST(MerlinRequestSend, AcceptedAndRejectedAnswersAreToldWithMerlinsReasons) {
    SendWorld w;
    ASSERT_TRUE(w.sim.running()) << TestEnv::readFile(w.env.path("sim.out"));
    ASSERT_EQ(w.generated.outcome, Outcome::Generated) << w.generated.failure;

    SendOutcome s = w.send();
    EXPECT_EQ(s.result, SendOutcome::Result::Accepted) << s.text;
    EXPECT_EQ(w.op.messages(), std::vector<std::string>{"Arquivo " + w.generated.xmlPath + "\renviado com êxito!"});
    EXPECT_EQ(w.op.callsOf("message")[0].icon, MessageIcon::Information);
    EXPECT_EQ(w.op.callsOf("waitOpen").size(), 1u);
    EXPECT_EQ(w.op.callsOf("waitClose").size(), 1u);
    // The text sent is the text saved, posted to WebService2 + ":receiveMerlinRequest".
    const std::string log = w.sim.log();
    EXPECT_NE(log.find("POST /ws:receiveMerlinRequest"), std::string::npos) << log;
    EXPECT_NE(log.find(w.generated.document.substr(0, 400)), std::string::npos);

    // Refused by rule: code 1 and the two description items, each followed by a line break.
    w.sim.rules("soap@S5857=refuse\nsoap.reason=A|B\n");
    w.op.clear();
    s = w.send();
    EXPECT_EQ(s.result, SendOutcome::Result::Rejected);
    EXPECT_EQ(s.text, "A\rB\r");
    EXPECT_EQ(w.op.messages(), std::vector<std::string>{"Arquivo " + w.generated.xmlPath +
                                                        " rejeitado pelo WebService.\r\rMotivo: A\rB\r"});
    EXPECT_EQ(w.op.callsOf("message")[0].icon, MessageIcon::Error);

    // Under "strict" a value that is no decimal is refused: "1.234,50" became "1.234.50".
    w.sim.rules("soap=strict\n");
    s = w.send();
    EXPECT_EQ(s.result, SendOutcome::Result::Rejected);
    EXPECT_NE(s.text.find("MON_ARTICULO_IMP = \"1.234.50\" is not a decimal"), std::string::npos) << s.text;
    EXPECT_TRUE(w.errorLog().empty()) << "a rejection is Merlin's answer, not a failure";
}

TEST(MerlinRequestSend, TheSimulatorChecksTheVocabularyOfTheRecordTypes) {
    SendWorld w;
    ASSERT_TRUE(w.sim.running());
    // A document with an element the service does not know, and one in the wrong record.
    CustomerIntegration::Result bad = w.generated;
    const std::string wrong = "<NUM_FACTURAX>1</NUM_FACTURAX><DESC_ESPECIFICA>x</DESC_ESPECIFICA>";
    bad.document.insert(bad.document.find("<COD_SUPLIDOR>"), wrong);
    const SendOutcome s = CustomerIntegration(w.ctx, CustomerFormat::synthes()).send(bad);
    EXPECT_EQ(s.result, SendOutcome::Result::Rejected);
    EXPECT_NE(s.text.find("element NUM_FACTURAX is not part of LYT_INVOICEDATA"), std::string::npos) << s.text;
    EXPECT_NE(s.text.find("element DESC_ESPECIFICA is not part of LYT_INVOICEDATA"), std::string::npos) << s.text;
}

TEST(MerlinRequestSend, FailuresOfTheSendAreReportedAndTheFileStays) {
    SendWorld w;
    ASSERT_TRUE(w.sim.running());
    const std::string path = w.generated.xmlPath;
    const std::string procedure =
        "Procedimento: Enviando arquivo XML de integração SYNTHES x MERLIN (" + path + ") ao WebService - Erro: ";

    // An answer that is not SOAP.
    w.sim.rules("soap=garbage\n");
    SendOutcome s = w.send();
    EXPECT_EQ(s.result, SendOutcome::Result::Failed);
    EXPECT_EQ(w.op.messages().back(), "Erro ao enviar arquivo SYNTHES ao WebService\rERRO: " + s.text);
    EXPECT_NE(w.errorLog().back().find(procedure + s.text + ";"), std::string::npos) << w.errorLog().back();

    // Merlin down: the connection is refused.
    w.sim.stop();
    w.op.clear();
    s = w.send();
    EXPECT_EQ(s.result, SendOutcome::Result::Failed);
    EXPECT_NE(s.text.find("Não foi possível conectar ao servidor"), std::string::npos) << s.text;
    EXPECT_EQ(w.op.messages(),
              std::vector<std::string>{"Erro ao enviar arquivo SYNTHES ao WebService\rERRO: " + s.text});
    EXPECT_EQ(w.op.callsOf("waitClose").size(), 1u) << "the wait window is closed on failure too";
    EXPECT_NE(w.errorLog().back().find(procedure + s.text + ";"), std::string::npos) << w.errorLog().back();
    EXPECT_EQ(TestEnv::readFile(path), w.generated.document);

    // No address configured.
    w.settings.write(Settings::Dados, Settings::KeyWebService2, "");
    s = w.send();
    EXPECT_EQ(s.text, "O endereço do WebService (Integrações) não está configurado (Dados/WebService2 em "
                      "Configurações).");
}

TEST(MerlinRequestSend, TheClosingWindowOpensOrSendsTheFile) {
    SendWorld w;
    ASSERT_TRUE(w.sim.running());
    CustomerIntegration integration(w.ctx, CustomerFormat::synthes());
    w.op.queueButton(2);
    integration.offer(w.generated);
    const auto windows = w.op.callsOf("showMessage");
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].text, "Arquivo " + w.generated.xmlPath + "\r gerado com êxito!");
    EXPECT_EQ(windows[0].caption, "Pelomira");
    EXPECT_EQ(windows[0].extra, (std::vector<std::string>{"", "&Enviar p/\rWebService", "&Abrir Arquivo", "&OK"}));
    EXPECT_EQ(w.op.messages(), std::vector<std::string>{"Arquivo " + w.generated.xmlPath + "\renviado com êxito!"});

    w.op.clear();
    w.op.failOpenWith("sem programa");
    w.op.queueButton(1);
    integration.offer(w.generated);
    EXPECT_EQ(w.op.messages(), std::vector<std::string>{"Não foi possível abrir o Arquivo \r" + w.generated.xmlPath +
                                                        "\rVerifique se o Arquivo existe ou se ele não está aberto!"});
    ASSERT_EQ(w.op.callsOf("openWithSystem").size(), 1u);
    EXPECT_EQ(w.op.callsOf("openWithSystem")[0].text, w.generated.xmlPath);
}
