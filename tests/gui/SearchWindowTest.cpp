// The search window over a real embedded Integra table.
#include "IntegraGuiWorld.h"
#include "data/RecordSet.h"
#include "data/TfrmPesquisa.h"
#include "gui/GuiTests.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

namespace {

struct SearchWorld : IntegraGuiWorld {
    SearchWorld() { addRows("UNIDADE", {{"1", "UNIDADE"}, {"2", "CAIXA D'AGUA"}, {"3", "CAIXA"}, {"4", "METRO"}}); }
    IntegraTable& table() { return dm.sqlDsUnidade; }
    RecordSet& rows() { return dm.cdsUnidade; }
    std::string command() { return dm.sqlDsUnidade.commandText(); }
};

QPoint lineCentre(QTableView* grid, int line) {
    return grid->visualRect(grid->model()->index(line, 0)).center();
}

} // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnEveryRowWithOneItemPerColumn() {
        SearchWorld world;
        TfrmPesquisa s(world.ctx, world.table());
        QVERIFY(s.opened());
        QCOMPARE(s.windowTitle(), QStringLiteral("Pesquisa"));
        QCOMPARE(s.size(), QSize(512, 391));
        QVERIFY(s.isModal());
        QCOMPARE(s.dbrPesquisa->title(), QStringLiteral("Procurar por..."));
        QCOMPARE(s.dbrPesquisaItems->buttons().size(), 2);
        QCOMPARE(s.dbrPesquisaItems->button(0)->text(), QStringLiteral("ID_UNIDADE"));
        QCOMPARE(s.dbrPesquisaItems->button(1)->text(), QStringLiteral("DESCRICAO"));
        QCOMPARE(s.dbrPesquisaItems->checkedId(), 0);
        QCOMPARE(world.command(), std::string("SELECT * FROM UNIDADE"));
        QCOMPARE(s.dbgPesquisa->model()->rowCount(), 4);
        QCOMPARE(s.dbgPesquisa->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("DESCRICAO"));
        QCOMPARE(s.dbgPesquisa->model()->index(1, 1).data().toString(), QStringLiteral("CAIXA D'AGUA"));
        QVERIFY(s.dbgPesquisa->editTriggers() == QAbstractItemView::NoEditTriggers);
    }

    void everyKeystrokeQueriesAgain() {
        SearchWorld world;
        TfrmPesquisa s(world.ctx, world.table());
        s.selectItem(1);
        const auto before = world.dm.sqlConIntegra.statementCount();
        QTest::keyClicks(s.edtPesquisa, "ca");
        QCOMPARE(world.dm.sqlConIntegra.statementCount() - before, 2u);
        QCOMPARE(world.command(), std::string("SELECT * FROM UNIDADE WHERE UPPER (DESCRICAO) LIKE '%CA%'"));
        QCOMPARE(s.dbgPesquisa->model()->rowCount(), 2);

        // A quote in the text is a character like any other.
        s.edtPesquisa->clear();
        QTest::keyClicks(s.edtPesquisa, "d'a");
        QCOMPARE(world.command(), std::string("SELECT * FROM UNIDADE WHERE UPPER (DESCRICAO) LIKE '%D''A%'"));
        QCOMPARE(world.rows().recordCount(), 1u);
        QCOMPARE(world.rows().text("ID_UNIDADE"), std::string("2"));

        // The empty text lists every row; the first column searches codes.
        s.edtPesquisa->clear();
        QCOMPARE(world.rows().recordCount(), 4u);
        s.selectItem(0);
        QTest::keyClicks(s.edtPesquisa, "4");
        QCOMPARE(world.command(), std::string("SELECT * FROM UNIDADE WHERE UPPER (ID_UNIDADE) LIKE '%4%'"));
        QCOMPARE(world.rows().text("DESCRICAO"), std::string("METRO"));
        QVERIFY(world.op.calls().empty());
    }

    void enterAndDoubleClickKeepTheChosenRow() {
        SearchWorld world;
        {
            TfrmPesquisa s(world.ctx, world.table());
            s.show();
            QVERIFY(QTest::qWaitForWindowExposed(&s));
            QTest::mouseClick(s.dbgPesquisa->viewport(), Qt::LeftButton, {}, lineCentre(s.dbgPesquisa, 2));
            QCOMPARE(world.rows().position(), 2u);
            QTest::keyClick(s.edtPesquisa, Qt::Key_Return);
            QVERIFY(!s.isVisible());
            QCOMPARE(s.result(), int(QDialog::Accepted));
        }
        QCOMPARE(world.rows().text("DESCRICAO"), std::string("CAIXA"));
        {
            TfrmPesquisa s(world.ctx, world.table());
            s.show();
            QVERIFY(QTest::qWaitForWindowExposed(&s));
            s.dbgPesquisa->setFocus();
            QTest::keyClick(s.dbgPesquisa, Qt::Key_Down);
            QTest::keyClick(s.dbgPesquisa, Qt::Key_Down);
            QTest::keyClick(s.dbgPesquisa, Qt::Key_Enter);
            QVERIFY(!s.isVisible());
        }
        QCOMPARE(world.rows().position(), 2u);
        {
            TfrmPesquisa s(world.ctx, world.table());
            s.show();
            QVERIFY(QTest::qWaitForWindowExposed(&s));
            // A double click is a click followed by the double-click event.
            QTest::mouseClick(s.dbgPesquisa->viewport(), Qt::LeftButton, {}, lineCentre(s.dbgPesquisa, 3));
            QVERIFY(s.isVisible());
            QTest::mouseDClick(s.dbgPesquisa->viewport(), Qt::LeftButton, {}, lineCentre(s.dbgPesquisa, 3));
            QVERIFY(!s.isVisible());
        }
        QCOMPARE(world.rows().text("ID_UNIDADE"), std::string("4"));
        QVERIFY(world.rows().active());
    }

    void noItemChosenListsEverything() {
        SearchWorld world;
        TfrmPesquisa s(world.ctx, world.table());
        s.selectItem(-1);
        QCOMPARE(s.dbrPesquisaItems->checkedId(), -1);
        QTest::keyClicks(s.edtPesquisa, "x");
        QCOMPARE(world.op.messages(), std::vector<std::string>{"Selecione o campo para pesquisa !"});
        QCOMPARE(world.op.callsOf("message").at(0).caption, std::string());
        QCOMPARE(world.command(), std::string("SELECT * FROM UNIDADE"));
        QCOMPARE(world.rows().recordCount(), 4u);
    }

    void failingQueryIsReportedAndTheWindowGoesOn() {
        SearchWorld world;
        TfrmPesquisa s(world.ctx, world.table());
        s.selectItem(1);
        s.show();
        // The database goes away while the window is open.
        world.dm.sqlConIntegra.disconnect();
        world.dm.sqlConIntegra.setDatabase(world.env.path("NAO_HA.FDB"));
        QTest::keyClicks(s.edtPesquisa, "a");
        const auto shown = world.op.messages();
        QCOMPARE(shown.size(), 1u);
        QVERIFY2(shown[0].rfind("Não foi possível pesquisar na tabela UNIDADE.\rERRO: ", 0) == 0, shown[0].c_str());
        QVERIFY(TestEnv::readFile(world.env.home() + "ERRO.CSV").find("Procedimento: Pesquisando na tabela UNIDADE") !=
                std::string::npos);
        QVERIFY(s.isVisible());
        QVERIFY(!world.rows().active());
        QCOMPARE(s.dbgPesquisa->model()->rowCount(), 0);

        world.dm.sqlConIntegra.setDatabase(world.location);
        QTest::keyClicks(s.edtPesquisa, "i");
        QVERIFY(world.rows().active());
        QCOMPARE(world.command(), std::string("SELECT * FROM UNIDADE WHERE UPPER (DESCRICAO) LIKE '%AI%'"));
        QCOMPARE(s.dbgPesquisa->model()->rowCount(), 2);
    }

    void unreadableTableOpensNoWindow() {
        SearchWorld world;
        world.dm.sqlConIntegra.setDatabase(world.env.path("NAO_HA.FDB"));
        QVERIFY(!TfrmPesquisa::Pesquisar(world.ctx, world.table()));
        QCOMPARE(world.op.messages().size(), 1u);
    }
};

PELOMIRA_GUI_TEST(SearchWindowTest)
#include "SearchWindowTest.moc"
