// The customer integrations from the main window's menu, with the real windows: the file dialog, the
// mapping window for a code without mapping, and the closing window.
#include "IntegraGuiWorld.h"
#include "app/QtCommandWiring.h"
#include "app/TfrmPrincipal.h"
#include "base/BusyGuard.h"
#include "base/QtOperator.h"
#include "base/TfrmMensagens.h"
#include "cadastros/CodeMapping.h"
#include "cadastros/TfrmVinculo.h"
#include "data/QtDBEdit.h"
#include "gui/GuiTests.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

std::string samsungLine(const std::string& invoice, const std::string& unit, const std::string& maker) {
    std::string line(1305, ' ');
    line.replace(524, invoice.size(), invoice);
    line.replace(242, unit.size(), unit);
    line.replace(1295, maker.size(), maker);
    return line;
}

} // namespace

class IntegrationMenuTest : public QObject {
    Q_OBJECT
private slots:
    void samsungFromTheMenuAsksTheMissingMappingAndSaves() {
        IntegraGuiWorld world;
        world.settings.writeFirstRunDefaults();
        world.settings.write(Settings::Dados, Settings::KeyTabelasIntegra, world.location);
        const std::string out = world.env.path("xml");
        TestEnv::makeFolder(out);
        world.settings.write(Settings::Integra, "Caminho_Samsung", out);
        const std::string file = world.env.path("samsung.txt");
        TestEnv::writeFile(file, samsungLine("900", "PC", "SEC01") + "\r\n");
        QVERIFY(CodeMapping(world.ctx).save("SAMSUNG", "FABRICANTE", "SEC01", "F1"));

        TfrmPrincipal principal(world.ctx);
        QtOperator qtOp(*world.platform);
        AppContext ctx{*world.platform, qtOp, world.settings, world.logs, world.dm};
        wireMainCommands(principal, qtOp, ctx);
        QVERIFY(principal.Samsung1->isEnabled() && principal.Synthes1->isEnabled() &&
                principal.Honeywell1->isEnabled());

        QString closing;
        QStringList buttons;
        bool mappingAsked = false;
        whenModal<QFileDialog>([&](QFileDialog* d) {
            QCOMPARE(d->windowTitle(), QString::fromUtf8("Selecionar arquivo TXT - Integração SAMSUNG 1.0"));
            whenModal<TfrmVinculo>([&](TfrmVinculo* v) {
                mappingAsked = true;
                QCOMPARE(v->dbeCliente->text(), QStringLiteral("SAMSUNG"));
                QCOMPARE(v->dbeCodCliente->text(), QStringLiteral("PC"));
                QCOMPARE(v->cbTabela->currentText(), QStringLiteral("Unidade"));
                whenModal<TfrmMensagens>([&](TfrmMensagens* m) {
                    closing = m->lblMensagem->text();
                    for (QPushButton* b : {m->btn1, m->btn2, m->btn3})
                        buttons << (b->isVisible() ? b->text() : QString());
                    QVERIFY(!m->btn4->isVisible());
                    QTest::mouseClick(m->btn1, Qt::LeftButton);
                });
                QTest::keyClicks(v->dbeCodMerlin, "un");
                QTest::mouseClick(v->btnSalvar, Qt::LeftButton);
            });
            // As the operator does: the path typed in the name field, then Enter.
            auto* name = d->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            name->setText(QString::fromStdString(file));
            QTest::keyClick(name, Qt::Key_Return);
        });
        // Whatever stays open after half a minute is closed, so a failure cannot hang the run; the timer
        // goes with this test.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            while (QWidget* w = QApplication::activeModalWidget()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                qWarning("closing %s %s", w->metaObject()->className(), box ? qPrintable(box->text()) : "");
                w->close();
            }
        });
        watchdog.start(30000);
        principal.Samsung1->trigger();

        QVERIFY(mappingAsked);
        const std::string xml = out + "/SAMSUNG900.XML";
        QCOMPARE(closing, QString::fromUtf8("Arquivo ") + QString::fromStdString(xml) +
                              QString::fromUtf8("\n gerado com êxito!"));
        QCOMPARE(buttons, (QStringList{"&OK", "&Abrir Arquivo", "&Enviar p/\nWebService"}));
        QVERIFY(TestEnv::readFile(xml).find("<COD_UNIDAD>UN</COD_UNIDAD>") != std::string::npos);
        QCOMPARE(world.column("SELECT COD_MERLIN FROM VINCULO WHERE TABELA = 'UNIDADE'"),
                 std::vector<std::string>{"UN"});
    }

    void cancellingTheFileDialogDoesNothingAndABusyProgramWaits() {
        IntegraGuiWorld world;
        TfrmPrincipal principal(world.ctx);
        QtOperator qtOp(*world.platform);
        AppContext ctx{*world.platform, qtOp, world.settings, world.logs, world.dm};
        wireMainCommands(principal, qtOp, ctx);

        QString title, filter;
        whenModal<QFileDialog>([&](QFileDialog* d) {
            title = d->windowTitle();
            filter = d->nameFilters().join("|");
            d->reject();
        });
        principal.Synthes1->trigger();
        QCOMPARE(title, QString::fromUtf8("Selecionar arquivo CSV - Integração SYNTHES 1.0"));
        QVERIFY(filter.contains("*.csv"));
        QVERIFY2(!TestEnv::exists(world.env.home() + "PELOMIRA_LOG.CSV"), "nothing started");

        BusyGuard busy("Transferência DI");
        QString said;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            said = box->text();
            box->accept();
        });
        principal.Honeywell1->trigger();
        QCOMPARE(said, QString::fromUtf8("Há uma operação em andamento (Transferência DI).\nAguarde o término para "
                                         "iniciar a integração HONEYWELL."));
    }
};

PELOMIRA_GUI_TEST(IntegrationMenuTest)
#include "IntegrationMenuTest.moc"
