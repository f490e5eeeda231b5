// The four registry windows over real embedded Integra databases.
#include "IntegraGuiWorld.h"
#include "base/TBarraCadastro.h"
#include "cadastros/TfrmExportador.h"
#include "cadastros/TfrmFabricante.h"
#include "cadastros/TfrmPais.h"
#include "cadastros/TfrmUnidade.h"
#include "data/QtDBEdit.h"
#include "data/RecordSet.h"
#include "data/TfrmPesquisa.h"
#include "gui/GuiTests.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

// Opens a window as the menu does and waits until it has the keyboard; closes it at the end.
template <class Window> struct Opened {
    QPointer<Window> w;
    explicit Opened(AppContext& ctx) : w(Window::openWindow(ctx)) {
        if (w)
            (void)QTest::qWaitForWindowActive(w);
    }
    ~Opened() {
        if (w) {
            w->close();
            delete w.data();
        }
    }
    Window* operator->() const { return w.data(); }
};

void click(TBarraCadastro* bar, int index) {
    QTest::mouseClick(bar->button(index), Qt::LeftButton);
}

void type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

std::vector<std::string> asks(ScriptedOperator& op) {
    std::vector<std::string> texts;
    for (const auto& call : op.callsOf("ask"))
        texts.push_back(call.text);
    return texts;
}

} // namespace

class RegistryWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void showOpensOnTheLastRowWithTheHint() {
        IntegraGuiWorld world;
        world.addRows("UNIDADE", {{"1", "UN"}, {"2", "KG"}});
        Opened<TfrmUnidade> w(world.ctx);
        QVERIFY(w.w);
        QCOMPARE(w->windowTitle(), QString::fromUtf8("Cadastro de Unidade"));
        QCOMPARE(w->dbeCodigoMerlin->text(), QStringLiteral("2"));
        QCOMPARE(w->dbeUnidade->text(), QStringLiteral("KG"));
        QCOMPARE(w->dbeUnidade->objectName(), QStringLiteral("dbeUnidade"));
        QCOMPARE(w->findChild<QLabel*>("lblUnidade")->text(), QStringLiteral("Unidade:"));
        QCOMPARE(w->sttUnidade->objectName(), QStringLiteral("sttUnidade"));
        QCOMPARE(w->btnImportar->text(), QStringLiteral("I&mportar"));
        // The lookup of Show ran once, for the last row's code; the code field has the hint.
        QCOMPARE(world.dm.sqlDsUnidade.commandText(), std::string("SELECT * FROM UNIDADE WHERE ID_UNIDADE = '2'"));
        QTRY_COMPARE(w->statusText(), QStringLiteral("<ALT+V> - Código Vago"));
        QVERIFY(!w->newRecordMode());

        Opened<TfrmExportador> e(world.ctx);
        QCOMPARE(e->windowTitle(), QStringLiteral("Cadastro de Exportador"));
        QCOMPARE(e->dbeNome->objectName(), QStringLiteral("dbeNome"));
        QCOMPARE(e->findChild<QLabel*>("lblNome")->text(), QStringLiteral("Nome:"));
        QCOMPARE(e->sttExportador->objectName(), QStringLiteral("sttExportador"));
        QVERIFY(world.op.calls().empty());
    }

    void altVProposesTheNextFreeCode() {
        IntegraGuiWorld world;
        Opened<TfrmUnidade> w(world.ctx);
        w->dbeCodigoMerlin->setFocus();
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_V, Qt::AltModifier);
        QCOMPARE(w->dbeCodigoMerlin->text(), QStringLiteral("1"));
        QCOMPARE(w->rows().state(), RecordSet::State::Insert);
        QCOMPARE(w->rows().text("ID_UNIDADE"), std::string("1"));
        QVERIFY(w->dbeUnidade->hasFocus());

        for (int n = 1; n <= 20; ++n)
            if (n != 17)
                world.addRows("UNIDADE", {{std::to_string(n), "U"}});
        w->dbeCodigoMerlin->setFocus();
        const auto before = world.dm.sqlConIntegra.statementCount();
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_V, Qt::AltModifier);
        QCOMPARE(w->dbeCodigoMerlin->text(), QStringLiteral("17"));
        // One query for the free code and the lookup of leaving the field; none per candidate.
        QCOMPARE(world.dm.sqlConIntegra.statementCount() - before, 2u);

        world.sql("DELETE FROM UNIDADE");
        world.addRows("UNIDADE", {{"01", "ZERO UM"}});
        w->dbeCodigoMerlin->setFocus();
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_V, Qt::AltModifier);
        QCOMPARE(w->dbeCodigoMerlin->text(), QStringLiteral("1"));
        // Ctrl+Alt+V is not the key.
        w->dbeCodigoMerlin->setFocus();
        w->dbeCodigoMerlin->setFieldText("X");
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_V, Qt::AltModifier | Qt::ControlModifier);
        QVERIFY(w->dbeCodigoMerlin->text().startsWith("X"));
        QVERIFY(world.op.calls().empty());
    }

    void leavingAnEmptyCodeDoesNothing() {
        IntegraGuiWorld world;
        Opened<TfrmUnidade> w(world.ctx);
        click(w->BarraCadastro, 1); // Incluir
        QVERIFY(w->newRecordMode());
        QVERIFY(w->dbeCodigoMerlin->hasFocus());
        QCOMPARE(w->statusText(), QStringLiteral("<ALT+V> - Código Vago"));
        const auto before = world.dm.sqlConIntegra.statementCount();
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_Tab);
        QVERIFY(!w->newRecordMode());
        QCOMPARE(w->statusText(), QString());
        QCOMPARE(world.dm.sqlConIntegra.statementCount(), before);
        QVERIFY(world.op.calls().empty());
    }

    void existingCodeInNewRecordModeShowsTheRow() {
        IntegraGuiWorld world;
        world.addRows("UNIDADE", {{"5", "CAIXA"}, {"6", "PECA"}});
        Opened<TfrmUnidade> w(world.ctx);
        click(w->BarraCadastro, 1);
        type(w->dbeCodigoMerlin, "5");
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_Tab);
        QCOMPARE(w->dbeUnidade->text(), QStringLiteral("CAIXA"));
        QCOMPARE(w->rows().state(), RecordSet::State::Browse);
        QVERIFY(!w->newRecordMode());
        QVERIFY(world.op.calls().empty());
        QCOMPARE(world.column("SELECT COUNT(*) FROM UNIDADE"), std::vector<std::string>{"2"});
    }

    void unknownCodeAsksThenSavesTheInsert() {
        IntegraGuiWorld world;
        Opened<TfrmUnidade> w(world.ctx);
        world.op.queueYesNo(false);
        type(w->dbeCodigoMerlin, " 8 ");
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_Tab);
        QCOMPARE(asks(world.op), std::vector<std::string>{"Unidade 8 não encontrada, incluir?"});
        QCOMPARE(world.op.callsOf("ask").at(0).icon, MessageIcon::Information);
        QVERIFY(w->rows().state() != RecordSet::State::Insert);

        world.op.clear();
        world.op.queueYesNo(true);
        w->dbeCodigoMerlin->clear();
        type(w->dbeCodigoMerlin, "9");
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_Tab);
        QCOMPARE(asks(world.op), std::vector<std::string>{"Unidade 9 não encontrada, incluir?"});
        QCOMPARE(w->rows().state(), RecordSet::State::Insert);
        QCOMPARE(w->rows().text("ID_UNIDADE"), std::string("9"));
        QVERIFY(w->dbeUnidade->hasFocus());
        type(w->dbeUnidade, "Metro d'agua");
        click(w->BarraCadastro, 0); // Salvar
        QCOMPARE(w->statusText(), QStringLiteral("Registro 9 - Metro d'agua gravado com êxito!"));
        QCOMPARE(world.column("SELECT ID_UNIDADE || '=' || DESCRICAO FROM UNIDADE"),
                 std::vector<std::string>{"9=Metro d'agua"});
        QCOMPARE(w->rows().state(), RecordSet::State::Browse);
    }

    void typingOverAShownRowSavesAnUpdate() {
        IntegraGuiWorld world;
        world.addRows("FABRICANTE", {{"3", "ACME"}, {"5", "BOLT"}});
        Opened<TfrmFabricante> w(world.ctx);
        QCOMPARE(w->dbeNome->text(), QStringLiteral("BOLT"));
        w->dbeNome->setFocus();
        w->dbeNome->selectAll();
        QTest::keyClicks(w->dbeNome, "BOLT & NUT");
        QCOMPARE(w->rows().state(), RecordSet::State::Edit);
        click(w->BarraCadastro, 0);
        QCOMPARE(w->statusText(), QStringLiteral("Registro 5 - BOLT & NUT gravado com êxito!"));
        QCOMPARE(world.column("SELECT ID_FABRICANTE || '=' || DESCRICAO FROM FABRICANTE ORDER BY 1"),
                 (std::vector<std::string>{"3=ACME", "5=BOLT & NUT"}));
        // Saving with nothing being typed does nothing.
        world.op.clear();
        click(w->BarraCadastro, 0);
        QVERIFY(world.op.calls().empty());
    }

    void emptyFieldsAreRefused() {
        IntegraGuiWorld world;
        Opened<TfrmUnidade> w(world.ctx);
        click(w->BarraCadastro, 1);
        click(w->BarraCadastro, 0);
        QCOMPARE(world.op.messages(), std::vector<std::string>{"Campo CÓDIGO MERLIN obrigatório!"});
        QCOMPARE(world.op.callsOf("message").at(0).icon, MessageIcon::Error);
        QVERIFY(w->dbeCodigoMerlin->hasFocus());

        // Leaving the code field for Salvar ended new-record mode: the new code is asked about.
        world.op.clear();
        world.op.queueYesNo(true);
        type(w->dbeCodigoMerlin, "7");
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_Tab);
        QCOMPARE(asks(world.op), std::vector<std::string>{"Unidade 7 não encontrada, incluir?"});
        world.op.clear();
        type(w->dbeUnidade, "   ");
        click(w->BarraCadastro, 0);
        QCOMPARE(world.op.messages(), std::vector<std::string>{"Campo UNIDADE obrigatório!"});
        QVERIFY(w->dbeUnidade->hasFocus());
        QCOMPARE(world.column("SELECT COUNT(*) FROM UNIDADE"), std::vector<std::string>{"0"});

        Opened<TfrmFabricante> f(world.ctx);
        world.op.clear();
        click(f->BarraCadastro, 3); // Limpar Campos
        type(f->dbeCodigoMerlin, "7");
        world.op.queueYesNo(true);
        QTest::keyClick(f->dbeCodigoMerlin, Qt::Key_Tab);
        QCOMPARE(asks(world.op), std::vector<std::string>{"Fabricante 7 não encontrado, incluir?"});
        click(f->BarraCadastro, 0);
        QCOMPARE(world.op.messages(), std::vector<std::string>{"Campo NOME obrigatório!"});
    }

    void deleteAsksThenShowsTheTableAgain() {
        IntegraGuiWorld world;
        world.addRows("EXPORTADOR", {{"1", "ALFA"}, {"2", "BETA"}});
        Opened<TfrmExportador> w(world.ctx);
        world.op.queueYesNo(true);
        click(w->BarraCadastro, 2);
        QCOMPARE(asks(world.op), std::vector<std::string>{"Excluir Exportador 2\rBETA?"});
        QCOMPARE(world.op.callsOf("ask").at(0).icon, MessageIcon::Warning);
        QCOMPARE(world.column("SELECT ID_EXPORTADOR FROM EXPORTADOR"), std::vector<std::string>{"1"});
        QCOMPARE(w->dbeCodigoMerlin->text(), QStringLiteral("1"));
        QCOMPARE(w->dbeNome->text(), QStringLiteral("ALFA"));
        QCOMPARE(w->statusText(), QStringLiteral("Registro 2 - BETA excluído com êxito."));

        // No is no; an empty code field asks nothing.
        world.op.clear();
        world.op.queueYesNo(false);
        click(w->BarraCadastro, 2);
        QCOMPARE(world.column("SELECT COUNT(*) FROM EXPORTADOR"), std::vector<std::string>{"1"});
        world.op.clear();
        click(w->BarraCadastro, 3);
        QCOMPARE(w->dbeCodigoMerlin->text(), QString());
        click(w->BarraCadastro, 2);
        QVERIFY(world.op.calls().empty());
    }

    void countryCodeFieldHasNoHandlers() {
        IntegraGuiWorld world;
        world.addRows("PAIS", {{"023", "ALEMANHA"}, {"105", "BRASIL"}});
        Opened<TfrmPais> w(world.ctx);
        QCOMPARE(w->windowTitle(), QString::fromUtf8("Cadastro de País"));
        QCOMPARE(w->findChild<QLabel*>("lblPais")->text(), QString::fromUtf8("País:"));
        QCOMPARE(w->dbePais->text(), QStringLiteral("BRASIL"));
        // Show looked the code up once.
        QCOMPARE(world.dm.sqlDsPais.commandText(), std::string("SELECT * FROM PAIS WHERE ID_PAIS = '105'"));
        QCOMPARE(w->statusText(), QString());

        const auto before = world.dm.sqlConIntegra.statementCount();
        w->dbeCodigoMerlin->selectAll();
        type(w->dbeCodigoMerlin, "999");
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_V, Qt::AltModifier);
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_Tab);
        QCOMPARE(world.dm.sqlConIntegra.statementCount(), before);
        QCOMPARE(w->dbeCodigoMerlin->text(), QStringLiteral("999"));
        QVERIFY(!w->newRecordMode());
        QCOMPARE(w->statusText(), QString());
        QVERIFY(world.op.calls().empty());

        // Its toolbar works as everywhere: the typed code over the shown row is an update.
        w->dbePais->selectAll();
        type(w->dbePais, "BRAZIL");
        click(w->BarraCadastro, 0);
        QCOMPARE(world.op.messages().size(), 1u); // the update found no row "999": a failure, not a save
        QCOMPARE(world.column("SELECT DESCRICAO FROM PAIS ORDER BY 1"),
                 (std::vector<std::string>{"ALEMANHA", "BRASIL"}));
    }

    void failedSaveIsReportedAndKeepsTheRow() {
        IntegraGuiWorld world;
        Opened<TfrmUnidade> w(world.ctx);
        click(w->BarraCadastro, 1);
        type(w->dbeCodigoMerlin, "X");
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_Tab);
        const QString tooLong(300, QLatin1Char('D')); // the column holds 255
        type(w->dbeUnidade, tooLong);
        click(w->BarraCadastro, 0);
        const auto shown = world.op.messages();
        QCOMPARE(shown.size(), 1u);
        QVERIFY2(shown[0].rfind("OCORREU UM ERRO\rPor favor entre em contato com o suporte técnico\r\rProcedimento: "
                                "Gravando dados na tabela UNIDADE\rERRO: ",
                                0) == 0,
                 shown[0].c_str());
        const std::string log = TestEnv::readFile(world.env.home() + "ERRO.CSV");
        QVERIFY(log.find("Procedimento: Gravando dados na tabela UNIDADE - Erro: ") != std::string::npos);
        QCOMPARE(world.column("SELECT COUNT(*) FROM UNIDADE"), std::vector<std::string>{"0"});
        // What was typed is still there, ready for another try.
        QCOMPARE(w->rows().state(), RecordSet::State::Insert);
        QCOMPARE(w->dbeCodigoMerlin->text(), QStringLiteral("X"));
        QCOMPARE(w->dbeUnidade->text(), tooLong);
        w->dbeUnidade->selectAll();
        QTest::keyClicks(w->dbeUnidade, "CURTA");
        click(w->BarraCadastro, 0);
        QCOMPARE(world.column("SELECT DESCRICAO FROM UNIDADE WHERE ID_UNIDADE = 'X'"),
                 std::vector<std::string>{"CURTA"});
    }

    void windowThatCannotBeMadeIsNotShown() {
        {
            IntegraGuiWorld world(false); // no toolbar glyphs
            QVERIFY(!TfrmUnidade::openWindow(world.ctx));
            const auto shown = world.op.messages();
            QCOMPARE(shown.size(), 1u);
            QVERIFY(shown[0].find("Não foi possível abrir a janela Cadastro de Unidade.") != std::string::npos);
            QVERIFY(shown[0].find("Images/BarraCadastro/save16_h.bmp") != std::string::npos);
            QCOMPARE(TfrmCadastro::openWindows(), 0);
            QVERIFY(!world.dm.sqlConIntegra.connected());
        }
        IntegraGuiWorld world;
        world.dm.sqlConIntegra.setDatabase(world.env.path("NAO_HA.FDB"));
        QVERIFY(!TfrmPais::openWindow(world.ctx));
        QVERIFY(world.op.messages().at(0).find("não foi encontrado") != std::string::npos);
        QCOMPARE(TfrmCadastro::openWindows(), 0);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<TfrmCadastro*>(top) || !top->isVisible());
    }

    void closingReleasesChainAndConnection() {
        IntegraGuiWorld world;
        world.addRows("UNIDADE", {{"1", "UN"}});
        auto* first = new Opened<TfrmUnidade>(world.ctx);
        auto* second = new Opened<TfrmUnidade>(world.ctx);
        auto* country = new Opened<TfrmPais>(world.ctx);
        QCOMPARE(TfrmCadastro::openWindows(), 3);
        delete first;
        // Another unit window still shows the chain.
        QVERIFY(world.dm.cdsUnidade.active());
        QCOMPARE((*second)->dbeUnidade->text(), QStringLiteral("UN"));
        delete second;
        QVERIFY(!world.dm.cdsUnidade.active());
        QVERIFY(world.dm.sqlConIntegra.connected());
        click((*country)->BarraCadastro, 4); // Sair
        QVERIFY(country->w.isNull() || !(*country)->isVisible());
        delete country;
        QVERIFY(!world.dm.cdsPais.active());
        QVERIFY(!world.dm.sqlConIntegra.connected());
        QCOMPARE(TfrmCadastro::openWindows(), 0);
    }

    void searchButtonShowsTheChosenRow() {
        IntegraGuiWorld world;
        world.addRows("UNIDADE", {{"1", "UN"}, {"2", "KG"}, {"3", "CX"}});
        Opened<TfrmUnidade> w(world.ctx);
        bool searched = false;
        whenModal<TfrmPesquisa>([&](TfrmPesquisa* s) {
            searched = true;
            s->selectItem(1); // DESCRICAO
            QTest::keyClicks(s->edtPesquisa, "k");
            QTest::keyClick(s->edtPesquisa, Qt::Key_Return);
        });
        QTest::mouseClick(w->btnPesquisar, Qt::LeftButton);
        QVERIFY(searched);
        QCOMPARE(w->dbeCodigoMerlin->text(), QStringLiteral("2"));
        QCOMPARE(w->dbeUnidade->text(), QStringLiteral("KG"));
    }

    void importButtonLoadsAMerlinFile() {
        IntegraGuiWorld world;
        Opened<TfrmUnidade> w(world.ctx);
        world.op.queueFile(TestEnv::shareFolder() + "/samples/UNIDADES.xml");
        QTest::mouseClick(w->btnImportar, Qt::LeftButton);
        QCOMPARE(world.op.messages(), std::vector<std::string>{"Importação do cadastro de Unidade concluída com "
                                                               "êxito!\rRegistros incluídos:   10\rRegistros "
                                                               "atualizados: 0"});
        QCOMPARE(world.column("SELECT COUNT(*) FROM UNIDADE"), std::vector<std::string>{"10"});
        // The window's rows are not read again; the next lookup finds the new codes.
        type(w->dbeCodigoMerlin, "12");
        QTest::keyClick(w->dbeCodigoMerlin, Qt::Key_Tab);
        QCOMPARE(w->dbeUnidade->text(), QStringLiteral("MILHEIRO"));
    }
};

PELOMIRA_GUI_TEST(RegistryWindowsTest)
#include "RegistryWindowsTest.moc"
