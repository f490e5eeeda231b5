// The settings window: filling, the save rules, the folder buttons and the folder fields' exit checks.
#include "ShellWorld.h"
#include "app/QtAlertScheduler.h"
#include "app/TfrmConfig.h"
#include "gui/GuiTests.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// A settings window shown over a world whose keys are all filled.
struct ConfigWorld : ShellWorld {
    QtAlertScheduler alert{logs};
    TfrmConfig* window;
    ConfigWorld() {
        settings.write("Dados", "WebService2", "http://merlin/integra");
        settings.write("Dados", "TabelasIntegra", "servidor:/dados/INTEGRA.FDB");
        TestEnv::makeFolder(env.home() + "XML");
        window = new TfrmConfig(ctx, &alert);
        window->show();
    }
    ~ConfigWorld() { delete window; }
};

} // namespace

class ConfigTest : public QObject {
    Q_OBJECT
private slots:
    void windowShowsEveryKey() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        QCOMPARE(c.windowTitle(), QString::fromUtf8("Pelomira - Configurações"));
        QCOMPARE(c.size(), QSize(521, 713));
        QCOMPARE(c.gbGeral->title(), QStringLiteral(" Geral "));
        QCOMPARE(c.gbAlerta->title(), QStringLiteral(" Alerta "));
        QCOMPARE(c.gbIntegracoes->title(), QString::fromUtf8(" Integrações "));
        QVERIFY(c.btnExibirLog->isHidden());
        QCOMPARE(c.btnExibirLog->text(), QStringLiteral("Exibir &LOG"));
        QCOMPARE(c.btnSalvar->text(), QStringLiteral("&Salvar"));
        QCOMPARE(c.btnFechar->text(), QStringLiteral("&Fechar"));
        QCOMPARE(c.btProcurar->text(), QStringLiteral("&Procurar"));
        QCOMPARE(c.btnProcurarTransf->text(), QStringLiteral("P&rocurar"));
        QCOMPARE(c.btnProcurarAtualizacoes->text(), QStringLiteral("Pr&ocurar"));
        QCOMPARE(c.btnProcurarPastaXML->text(), QStringLiteral("Pro&curar"));
        QCOMPARE(c.edArqTransform->text().toStdString(), w.env.home() + "XTR");
        QCOMPARE(c.edEndWS_Integr->text(), QStringLiteral("http://merlin/integra"));
        QCOMPARE(c.edNomeXML->text(), QStringLiteral("TABS.XML"));
        QCOMPARE(c.edAlerta_Intervalo->text(), QStringLiteral("1"));
        QCOMPARE(c.cbAlerta_Tipo->currentText(), QStringLiteral("Horas"));
        QCOMPARE(c.edCod_Synthes->text(), QStringLiteral("S5857"));
        QVERIFY(w.op.messages().empty());
    }

    void unitThatIsNoNumberIsNamedAndTheRestStillFilled() {
        ShellWorld world;
        world.settings.write("Alerta", "TipoIntervalo", "Horas");
        TfrmConfig c(world.ctx, nullptr);
        c.show();
        QCOMPARE(c.cbAlerta_Tipo->currentIndex(), -1);
        QCOMPARE(c.edCod_Honeywell->text(), QStringLiteral("H8844"));
        QCOMPARE(world.op.messages().size(), size_t(1));
        QVERIFY(world.op.messages()[0].find("'Horas'") != std::string::npos);
        world.op.clear();
        world.settings.write("Alerta", "TipoIntervalo", "-1");
        c.FormShow();
        QCOMPARE(c.cbAlerta_Tipo->currentIndex(), -1);
        QVERIFY(world.op.messages().empty());
    }

    void completeSaveWritesEveryKeyAndAppliesTheInterval() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        c.edBancodeDados->setText("/dados/siscomex/");
        c.edArqTransform->setText(" /dados/xtr/ ");
        c.edAlerta_Intervalo->setText(" 15 ");
        c.cbAlerta_Tipo->setCurrentIndex(0);
        c.edCod_Honeywell->setText(" h8844x ");
        c.edCod_Samsung->setText(QString::fromUtf8("sã01"));
        c.edPastaSamsung->setText(" /dados/samsung/xml ");
        QTest::mouseClick(c.btnSalvar, Qt::LeftButton);
        QVERIFY(c.lastSave().result == SettingsSave::Result::Saved);
        QCOMPARE(w.read("Dados", "Dados"), std::string("/dados/siscomex"));
        QCOMPARE(w.read("Dados", "ArqTransform"), std::string("/dados/xtr/"));
        QCOMPARE(w.read("Alerta", "Intervalo"), std::string("15"));
        QCOMPARE(w.read("Alerta", "TipoIntervalo"), std::string("0"));
        QCOMPARE(w.read("Integra", "Cod_Honeywell"), std::string("H8844X"));
        QCOMPARE(w.read("Integra", "Cod_Samsung"), std::string("SÃ01"));
        // Folder names keep their case here: another case names another folder.
        QCOMPARE(w.read("Integra", "Caminho_Samsung"), std::string("/dados/samsung/xml"));
        QVERIFY(w.alert.enabled());
        QCOMPARE(w.alert.intervalMs(), 15 * 60000);
        const auto messages = w.op.callsOf("message");
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].text, std::string("Configurações gravadas com êxito!"));
        QVERIFY(messages[0].icon == MessageIcon::Information);
        QVERIFY(c.isVisible()); // stays open
    }

    void emptyWebServiceStopsAfterTheTwoFolderKeys() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        const std::string before = w.read("Dados", "WebService");
        c.edBancodeDados->setText("C:\\SISCOPRD\\");
        c.edArqTransform->setText("/novo/xtr");
        c.edEndWS_Proc->setText("   ");
        c.edNomeXML->setText("OUTRO.XML");
        c.btnSalvarClick();
        QVERIFY(c.lastSave().result == SettingsSave::Result::Stopped);
        QVERIFY(c.lastSave().focus == SettingsSave::Field::EndWSProc);
        QCOMPARE(w.read("Dados", "Dados"), std::string("C:\\SISCOPRD"));
        QCOMPARE(w.read("Dados", "ArqTransform"), std::string("/novo/xtr"));
        QCOMPARE(w.read("Dados", "WebService"), before);
        QCOMPARE(w.read("Dados", "ArqXML"), std::string("TABS.XML"));
        const auto messages = w.op.callsOf("message");
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].text, std::string("Campo \"Endereço do WebService (Processos)\" não pode ser vazio!"));
        QCOMPARE(messages[0].caption, std::string("Pelomira"));
    }

    void eachRequiredFieldStopsWithItsOwnMessage_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("integrações") << "edEndWS_Integr"
                                     << QString::fromUtf8(
                                            "Campo \"Endereço do WebService (Integrações)\" não pode ser vazio!");
        QTest::newRow("xml") << "edNomeXML"
                             << QString::fromUtf8("Campo \"Arquivo XML para Importação (Tabelas SISCOMEX)\" não pode "
                                                  "ser vazio!");
        QTest::newRow("atualizações") << "edAtualizacoes"
                                      << QString::fromUtf8("Campo \"Atualizações\" não pode ser vazio!");
        QTest::newRow("servidor") << "edEnd_Servidor"
                                  << QString::fromUtf8("Campo \"Endereço do Servidor (Integrações)\" não pode ser "
                                                       "vazio!");
        QTest::newRow("intervalo") << "edAlerta_Intervalo"
                                   << QString::fromUtf8("Campo \"Intervalo da Checagem Automática\" não pode ser "
                                                        "vazio!");
    }
    void eachRequiredFieldStopsWithItsOwnMessage() {
        QFETCH(QString, field);
        QFETCH(QString, message);
        ConfigWorld w;
        auto* edit = w.window->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        edit->setText(QString());
        w.window->edCod_Samsung->setText("NOVO");
        w.window->btnSalvarClick();
        QVERIFY(w.window->lastSave().result == SettingsSave::Result::Stopped);
        QCOMPARE(QString::fromStdString(w.op.messages().at(0)), message);
        QCOMPARE(w.read("Integra", "Cod_Samsung"), std::string("S0018"));
    }

    void emptyXmlFolderFallsBackAndEndsTheSaveSilently() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        c.edPastaXML->setText("  ");
        c.edEnd_Servidor->setText("outro:/INTEGRA.FDB");
        c.btnSalvarClick();
        QVERIFY(c.lastSave().result == SettingsSave::Result::EndedAtPastaXML);
        QCOMPARE(w.read("Dados", "PastaXML"), w.env.home() + "XML");
        QCOMPARE(w.read("Dados", "TabelasIntegra"), std::string("servidor:/dados/INTEGRA.FDB"));
        QVERIFY(w.op.messages().empty());
    }

    void intervalThatIsNoNumberFailsTheSaveAfterStoringIt() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        w.alert.setIntervalMs(60000);
        w.alert.enable();
        c.edAlerta_Intervalo->setText("dez");
        c.cbAlerta_Tipo->setCurrentIndex(0);
        c.edCod_Honeywell->setText("NOVO");
        c.edPastaHoneywell->setText("/nova/pasta");
        c.btnSalvarClick();
        QVERIFY(c.lastSave().result == SettingsSave::Result::Failed);
        QCOMPARE(w.read("Alerta", "Intervalo"), std::string("dez"));
        QCOMPARE(w.read("Alerta", "TipoIntervalo"), std::string("0"));
        QCOMPARE(w.read("Integra", "Cod_Honeywell"), std::string("H8844"));
        QVERIFY(w.read("Integra", "Caminho_Honeywell") != "/nova/pasta");
        QVERIFY(!w.alert.enabled());
        const auto messages = w.op.callsOf("message");
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].caption, std::string("Erro ao Salvar a Configuração"));
        QVERIFY(messages[0].icon == MessageIcon::Error);
        QVERIFY(messages[0].text.starts_with("Não foi possível salvar as configurações\r\rErro: "));
        QVERIFY(messages[0].text.find("dez") != std::string::npos);
        const std::string log = TestEnv::readFile(w.env.home() + "ERRO.CSV");
        QVERIFY(log.find(";Procedimento: Gravando Configurações - Erro: ") != std::string::npos);
    }

    void siscomexAndTransformFolderButtonsCheckTheFolder() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        const std::string siscomex = w.env.path("siscomex");
        const std::string empty = w.env.path("vazia");
        TestEnv::writeFile(siscomex + "/tabsisco.mdb", "x");
        TestEnv::makeFolder(empty);
        const QString before = c.edBancodeDados->text();

        w.op.queueFolder(empty);
        c.btProcurar->click();
        w.op.queueFolder(""); // cancelled
        c.btProcurar->click();
        QCOMPARE(c.edBancodeDados->text(), before);
        w.op.queueFolder(siscomex);
        c.btProcurar->click();
        QCOMPARE(c.edBancodeDados->text().toStdString(), siscomex);
        auto messages = w.op.callsOf("message");
        QCOMPARE(messages.size(), size_t(2));
        QCOMPARE(messages[1].text, std::string("Esta pasta não contém os arquivos do SISCOMEX!"));
        QVERIFY(messages[1].icon == MessageIcon::Error);
        QCOMPARE(w.op.callsOf("browseFolder").at(0).text, std::string("Selecione a pasta do Orientador - SISCOMEX"));

        w.op.clear();
        const std::string xtr = w.env.path("xtr");
        TestEnv::writeFile(xtr + "/DI.xtr", "<xtr/>");
        w.op.queueFolder(empty);
        c.btnProcurarTransf->click();
        w.op.queueFolder(xtr);
        c.btnProcurarTransf->click();
        QCOMPARE(c.edArqTransform->text().toStdString(), xtr);
        QCOMPARE(w.op.messages(), (std::vector<std::string>{"Esta pasta não contém os arquivos de Transformação!"}));
        QCOMPARE(w.op.callsOf("browseFolder").at(0).text,
                 std::string("Selecione a pasta dos arquivos de Transformação"));
    }

    void plainFolderButtonsFillTheirFieldUnlessCancelled() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        struct Case {
            QPushButton* button;
            QLineEdit* edit;
            const char* title;
        } cases[] = {
            {c.btnProcurarAtualizacoes, c.edAtualizacoes, "Selecione a pasta dos arquivos de Atualização"},
            {c.btnProcurarPastaXML, c.edPastaXML, "Selecione a pasta onde serão gerados os arquivos XML"},
            {c.btnProcurarPastaHoneywell, c.edPastaHoneywell,
             "Selecione a pasta onde serão gerados os arquivos XML - Honeywell"},
            {c.btnProcurarPastaSamsung, c.edPastaSamsung,
             "Selecione a pasta onde serão gerados os arquivos XML - Samsung"},
            {c.btnProcurarPastaSynthes, c.edPastaSynthes,
             "Selecione a pasta onde serão gerados os arquivos XML - Synthes"},
        };
        for (const auto& k : cases) {
            w.op.clear();
            const QString before = k.edit->text();
            w.op.queueFolder("");
            k.button->click();
            QCOMPARE(k.edit->text(), before);
            w.op.queueFolder(w.env.root());
            k.button->click();
            QCOMPARE(k.edit->text().toStdString(), w.env.root());
            QCOMPARE(w.op.callsOf("browseFolder").at(0).text, std::string(k.title));
            QVERIFY(w.op.messages().empty());
        }
    }

    void leavingTheXmlFolderChecksItExists() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        c.edPastaXML->setText(QString::fromStdString(w.env.home() + "XML"));
        c.edPastaXMLExit();
        QVERIFY(w.op.messages().empty());
        c.edPastaXML->setText(QString());
        c.edPastaXMLExit();
        c.edPastaXML->setText(QString::fromStdString(w.env.path("nada")));
        c.edPastaXMLExit();
        QCOMPARE(w.op.messages(), (std::vector<std::string>{"Esta pasta não existe!", "Esta pasta não existe!"}));
    }

    void leavingAnIntegrationFolderOffersToCreateIt() {
        ConfigWorld w;
        TfrmConfig& c = *w.window;
        const std::string folder = w.env.path("samsung");
        c.edPastaSamsung->setText(QString::fromStdString("  " + folder + " "));
        w.op.queueYesNo(false);
        c.edPastaSamsungExit();
        QVERIFY(!TestEnv::exists(folder));
        const auto asks = w.op.callsOf("ask");
        QCOMPARE(asks.size(), size_t(1));
        QCOMPARE(asks[0].text, "Pasta " + folder + " não encontrada, criar a pasta?");
        QVERIFY(asks[0].icon == MessageIcon::Information);

        w.op.queueYesNo(true);
        c.edPastaSamsungExit();
        QVERIFY(TestEnv::exists(folder));
        c.edPastaSamsungExit(); // exists now: nothing asked
        c.edPastaSynthes->setText("  ");
        c.edPastaSynthesExit(); // empty: nothing asked
        QCOMPARE(w.op.callsOf("ask").size(), size_t(2));

        // The first-run defaults name folders whose parents a new installation lacks: all are made.
        c.edPastaHoneywell->setText(QString::fromStdString(w.env.path("Honeywell/XML/novo")));
        w.op.queueYesNo(true);
        c.edPastaHoneywellExit();
        QVERIFY(TestEnv::exists(w.env.path("Honeywell/XML/novo")));
        QVERIFY(w.op.messages().empty());

        // A level that cannot be made is named, in Portuguese.
        TestEnv::writeFile(w.env.path("arquivo"), "x");
        c.edPastaSynthes->setText(QString::fromStdString(w.env.path("arquivo/XML")));
        w.op.queueYesNo(true);
        c.edPastaSynthesExit();
        QCOMPARE(w.op.messages(),
                 (std::vector<std::string>{"Não foi possível criar a pasta " + w.env.path("arquivo/XML") +
                                           ": já existe um arquivo com o nome " + w.env.path("arquivo") + "."}));
        QVERIFY(w.op.unexpected().empty());
    }
};

PELOMIRA_GUI_TEST(ConfigTest)
#include "ConfigTest.moc"
