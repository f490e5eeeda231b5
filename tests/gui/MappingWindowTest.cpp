// The code-mapping window, plugged into the Qt operator as the program does, over a real embedded
// Integra database.
#include "IntegraGuiWorld.h"
#include "base/QtOperator.h"
#include "cadastros/CodeMapping.h"
#include "cadastros/TfrmVinculo.h"
#include "data/QtDBEdit.h"
#include "data/RecordSet.h"
#include "data/TfrmPesquisa.h"
#include "gui/GuiTests.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class MappingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void leavingAsksAgainUntilAMappingIsSaved() {
        IntegraGuiWorld world;
        QtOperator qtOp(*world.platform);
        qtOp.setCodeMappingPrompt([&world](const std::string& c, const std::string& r, const std::string& k) {
            return TfrmVinculo::prompt(world.ctx, c, r, k);
        });
        AppContext ctx{*world.platform, qtOp, world.settings, world.logs, world.dm};

        int shown = 0;
        whenModal<TfrmVinculo>([&](TfrmVinculo* w) {
            ++shown;
            QCOMPARE(w->windowTitle(), QString::fromUtf8("Vínculos (Tabela De / Para)"));
            QCOMPARE(w->findChild<QLabel*>("lblCodMerlin")->text(), QString::fromUtf8("Código Merlin:"));
            // The three values as the integration gave them (trimmed, not upper-cased).
            QCOMPARE(w->dbeCliente->text(), QStringLiteral("samsung"));
            QCOMPARE(w->dbeCodCliente->text(), QStringLiteral("ab12"));
            QCOMPARE(w->rows().text("TABELA"), std::string("fabricante"));
            QCOMPARE(w->cbTabela->currentText(), QStringLiteral("Fabricante"));
            QCOMPARE(w->cbTabela->count(), 4);
            QVERIFY(!w->dbeCliente->isEnabled() && !w->dbeCodCliente->isEnabled() && !w->cbTabela->isEnabled());
            QVERIFY(w->dbeCodMerlin->isEnabled());
            QTRY_VERIFY(w->dbeCodMerlin->hasFocus());
            // Saving without a code does nothing; leaving brings the window back for the same code.
            QTest::mouseClick(w->btnSalvar, Qt::LeftButton);
            QVERIFY(w->isVisible());
            whenModal<TfrmVinculo>([&](TfrmVinculo* again) {
                ++shown;
                QCOMPARE(again->dbeCodCliente->text(), QStringLiteral("ab12"));
                QTest::keyClicks(again->dbeCodMerlin, " x9 ");
                QTest::mouseClick(again->btnSalvar, Qt::LeftButton);
            });
            QTest::mouseClick(w->btnSair, Qt::LeftButton);
        });
        const std::string merlin = CodeMapping(ctx).lookup("samsung ", "fabricante", "ab12");
        QCOMPARE(shown, 2);
        QCOMPARE(merlin, std::string("X9"));
        QCOMPARE(world.column("SELECT COD_CLIENTE || ';' || TABELA || ';' || COD_INTEGR || ';' || COD_MERLIN FROM "
                              "VINCULO"),
                 std::vector<std::string>{"SAMSUNG;FABRICANTE;AB12;X9"});
        QVERIFY(!world.dm.cdsVinculo.active());
        // Found now without asking.
        QCOMPARE(CodeMapping(ctx).lookup("SAMSUNG", "FABRICANTE", "AB12"), std::string("X9"));
        QCOMPARE(shown, 2);
    }

    void searchWritesTheChosenCode() {
        IntegraGuiWorld world;
        world.addRows("FABRICANTE", {{"10", "ACME"}, {"20", "BOLT"}});
        world.dm.sqlDsVinculo.query(CodeMapping::lookupSql("HONEYWELL", "FABRICANTE", "P-1"));
        TfrmVinculo w(world.ctx);
        QVERIFY(w.prepare("HONEYWELL", "FABRICANTE", "P-1"));
        w.show();
        whenModal<TfrmPesquisa>([](TfrmPesquisa* s) {
            s->selectItem(1);
            QTest::keyClicks(s->edtPesquisa, "bo");
            QTest::keyClick(s->edtPesquisa, Qt::Key_Return);
        });
        QTest::mouseClick(w.btnPesquisar_CodMerlin, Qt::LeftButton);
        QCOMPARE(world.dm.sqlDsFabricante.commandText(),
                 std::string("SELECT * FROM FABRICANTE WHERE UPPER (DESCRICAO) LIKE '%BO%'"));
        QCOMPARE(w.dbeCodMerlin->text(), QStringLiteral("20"));
        QCOMPARE(w.rows().text("COD_MERLIN"), std::string("20"));
        QTest::mouseClick(w.btnSalvar, Qt::LeftButton);
        QVERIFY(w.saved());
        QVERIFY(!w.isVisible());
        QCOMPARE(world.column("SELECT COD_CLIENTE || ';' || TABELA || ';' || COD_INTEGR || ';' || COD_MERLIN FROM "
                              "VINCULO"),
                 std::vector<std::string>{"HONEYWELL;FABRICANTE;P-1;20"});
    }

    void failedSaveKeepsTheWindowForAnotherTry() {
        IntegraGuiWorld world;
        world.sql("INSERT INTO VINCULO VALUES ('SYNTHES', 'UNIDADE', 'CX', '1')");
        world.dm.sqlDsVinculo.query(CodeMapping::lookupSql("SYNTHES", "UNIDADE", "CX2"));
        TfrmVinculo w(world.ctx);
        QVERIFY(w.prepare("SYNTHES", "UNIDADE", "CX"));
        w.show();
        QTest::keyClicks(w.dbeCodMerlin, "2");
        QTest::mouseClick(w.btnSalvar, Qt::LeftButton);
        const auto shown = world.op.messages();
        QCOMPARE(shown.size(), 1u);
        QVERIFY2(shown[0].rfind("OCORREU UM ERRO\rPor favor entre em contato com o suporte técnico\r\rProcedimento: "
                                "Gravando dados na tabela VINCULO\rERRO: ",
                                0) == 0,
                 shown[0].c_str());
        QVERIFY(TestEnv::readFile(world.env.home() + "ERRO.CSV")
                    .find("Procedimento: Gravando dados na tabela VINCULO - Erro: ") != std::string::npos);
        QVERIFY(w.isVisible());
        QVERIFY(!w.saved());
        QCOMPARE(w.dbeCliente->text(), QStringLiteral("SYNTHES"));
        QCOMPARE(w.dbeCodMerlin->text(), QStringLiteral("2"));
        QTest::mouseClick(w.btnSair, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(!world.dm.cdsVinculo.active());
        QCOMPARE(world.column("SELECT COD_MERLIN FROM VINCULO"), std::vector<std::string>{"1"});
    }

    void unknownRegistryIsRefused() {
        IntegraGuiWorld world;
        TfrmVinculo w(world.ctx);
        QVERIFY(!w.prepare("SAMSUNG", "IMPORTADOR", "9"));
        QCOMPARE(world.op.messages().size(), 1u);
        QVERIFY(world.op.messages()[0].find("IMPORTADOR") != std::string::npos);
    }
};

PELOMIRA_GUI_TEST(MappingWindowTest)
#include "MappingWindowTest.moc"
