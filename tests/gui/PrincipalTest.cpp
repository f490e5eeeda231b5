// The main window, the splash window's start-up step and the alert scheduler.
#include "ShellWorld.h"
#include "app/QtAlertScheduler.h"
#include "app/QtTray.h"
#include "app/TfrmConfig.h"
#include "app/TfrmPrincipal.h"
#include "app/TfrmSplash.h"
#include "app/VersionUpdate.h"
#include "base/BusyGuard.h"
#include "gui/GuiTests.h"

#include <QAction>
#include <QDate>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

struct MenuRow {
    const char* name;
    const char* caption;
};

// Every menu item in menu order, blanks included; "-" for separators.
const MenuRow kMenu[] = {
    {"SISCOMEX1", "Buscar &DI         ALT+Y"},
    {"BuscarLI1", "Buscar &LI          ALT+K"},
    {"BuscarDSI1", "Buscar D&SI       ALT+Z"},
    {"BuscarLSI1", "Buscar LS&I        ALT+W"},
    {"N1", "-"},
    {"NORVIK1", "NORVI&K             ALT+X"},
    {"Tabelas1", "&Tabelas          ALT+T"},
    {"Processos1", "&Retorno         ALT+R"},
    {"Cadastros1Action", "&Cadastros"},
    {"N2", "-"},
    {"Honeywell1", "&Honeywell"},
    {"Samsung1", "&Samsung"},
    {"Synthes1", "S&ynthes"},
    {"Configuraes2", "&Configurações         CTRL+F12"},
    {"Recriarndices1", "&Recriar Índices        CTRL+I"},
    {"Sair1", "&Sair"},
};

QStringList actionRows(QMenu* menu) {
    QStringList rows;
    for (QAction* a : menu->actions())
        rows << a->objectName() + QLatin1Char('|') + (a->isSeparator() ? QStringLiteral("-") : a->text());
    return rows;
}

} // namespace

class PrincipalTest : public QObject {
    Q_OBJECT
private slots:
    void menuTreeHasEveryCaptionAndName() {
        ShellWorld world;
        TfrmPrincipal w(world.ctx);
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Pelomira - Transferência de Informações"));
        QCOMPARE(w.mmPrincipal->objectName(), QStringLiteral("mmPrincipal"));
        QStringList top;
        for (QAction* a : w.mmPrincipal->actions())
            top << a->text();
        QCOMPARE(top, (QStringList{"&Importar", "&Exportar", QString::fromUtf8("I&ntegrações"),
                                   QString::fromUtf8("&Manutenção")}));
        QStringList rows = actionRows(w.ImportarTabelas1) + actionRows(w.Exportar1) + actionRows(w.Integraes1) +
                           actionRows(w.Configuraes1);
        QStringList expected;
        for (const auto& r : kMenu)
            expected << QString::fromUtf8(r.name) + QLatin1Char('|') + QString::fromUtf8(r.caption);
        QCOMPARE(rows, expected);
        QCOMPARE(actionRows(w.Cadastros1), (QStringList{"Exportador1|&Exportador", "FabricanteExportador1|&Fabricante",
                                                        QString::fromUtf8("Pas1|&País"), "Unidade1|&Unidade"}));
        QStringList tray;
        for (QAction* a : w.tray().PopupMenu->actions())
            tray << a->objectName() + QLatin1Char('|') + a->text();
        QCOMPARE(tray, (QStringList{"GerarRetorno1|&Gerar Retorno", "Restaurar1|&Restaurar", "Fechar1|&Fechar"}));
    }

    void unbuiltCommandsStayDisabledAndWiringEnablesThem() {
        ShellWorld world;
        TfrmPrincipal w(world.ctx);
        QVERIFY(w.ImportarTabelas1->menuAction()->isEnabled());
        for (QAction* a :
             {w.SISCOMEX1, w.BuscarLI1, w.BuscarDSI1, w.BuscarLSI1, w.NORVIK1, w.Tabelas1, w.Processos1, w.Exportador1,
              w.FabricanteExportador1, w.Pas1, w.Unidade1, w.Honeywell1, w.Samsung1, w.Synthes1, w.Recriarndices1})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(w.Configuraes2->isEnabled());
        QVERIFY(w.Sair1->isEnabled());
        QVERIFY(!w.ToolButton1->isEnabled());
        QVERIFY(!w.ToolButton2->isEnabled());
        QVERIFY(!w.ToolButton7->isEnabled());
        QVERIFY(w.ToolButton3->isEnabled());
        QVERIFY(w.ToolButton4->isEnabled());
        QVERIFY(!w.tray().GerarRetorno1->isEnabled());
        QVERIFY(!w.runCommand(MainCommand::Retorno));

        int di = 0, samsung = 0;
        w.setCommand(MainCommand::BuscarDI, [&di] { ++di; });
        w.setCommand(MainCommand::Samsung, [&samsung] { ++samsung; });
        QVERIFY(w.SISCOMEX1->isEnabled());
        QVERIFY(w.ToolButton1->isEnabled());
        w.SISCOMEX1->trigger();
        w.ToolButton1->click();
        w.hotKey(3); // ALT+Y
        QCOMPARE(di, 3);
        w.runIntegration(1);
        w.Samsung1->trigger();
        w.runIntegration(4); // no such integration
        QCOMPARE(samsung, 2);
    }

    void importMenuOnlyWithAcimtbZero_data() {
        QTest::addColumn<QString>("acimtb");
        QTest::addColumn<bool>("writeKey");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("0") << "0" << true << true;
        QTest::newRow("1") << "1" << true << false;
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("00") << "00" << true << false;
        QTest::newRow("missing") << "" << false << false;
    }
    void importMenuOnlyWithAcimtbZero() {
        QFETCH(QString, acimtb);
        QFETCH(bool, writeKey);
        QFETCH(bool, enabled);
        ShellWorld world;
        if (writeKey) {
            world.settings.write(Settings::Tabelas, Settings::KeyACIMTB, acimtb.toStdString());
        } else {
            // A settings file without the key.
            TestEnv::writeFile(world.settings.path(), "[Dados]\r\nAtualiza=" + world.updateFolder() + "\r\n");
        }
        TfrmPrincipal w(world.ctx);
        int runs = 0;
        w.setCommand(MainCommand::BuscarDI, [&runs] { ++runs; });
        w.setCommand(MainCommand::NorvikDI, [&runs] { ++runs; });
        w.setCommand(MainCommand::Tabelas, [&runs] { ++runs; });
        QCOMPARE(w.ImportarTabelas1->menuAction()->isEnabled(), enabled);
        QCOMPARE(w.SISCOMEX1->isEnabled(), enabled);
        QCOMPARE(w.NORVIK1->isEnabled(), enabled);
        QCOMPARE(w.ToolButton1->isEnabled(), enabled);
        QVERIFY(w.Tabelas1->isEnabled()); // other menus are not affected
        w.hotKey(3);
        w.hotKey(7);
        w.hotKey(8);
        QCOMPARE(runs, enabled ? 3 : 1);
    }

    void creationWritesFirstRunSettingsAndFillsTheStatusBar() {
        ShellWorld world(false);
        QVERIFY(!world.settings.exists());
        TfrmPrincipal w(world.ctx);
        QVERIFY(world.settings.exists());
        QCOMPARE(world.read("Tabelas", "ACIMTB"), std::string("0"));
        QVERIFY(w.ImportarTabelas1->menuAction()->isEnabled());
        QCOMPARE(w.sttPanel0->text(), QString::fromUtf8(TfrmPrincipal::CompanyName));
        QCOMPARE(w.sttPanel1->text(),
                 QString::fromUtf8("Versão ") + QString::fromStdString(world.platform->programVersion()));
        QCOMPARE(w.sttPanel2->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        QCOMPARE(w.sttPanel0->minimumWidth(), 700);
        QCOMPARE(w.sttPanel1->minimumWidth(), 100);
        QCOMPARE(w.sttPanel2->minimumWidth(), 50);
        QVERIFY(w.tbPrincipal->isHidden());
        QVERIFY(w.ToolButton5->isSeparator());
        QVERIFY(w.ToolButton6->isSeparator());
        QVERIFY(!w.alertScheduler().enabled()); // set in the show step
    }

    void showStepSetsTheAlertInterval_data() {
        QTest::addColumn<QString>("intervalo");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("minutes") << "5"
                                 << "0" << 300000;
        QTest::newRow("hours") << "2"
                               << "1" << 7200000;
        QTest::newRow("no unit counts minutes") << "3"
                                                << "-1" << 180000;
        QTest::newRow("not a number") << "abc"
                                      << "0" << 0;
        QTest::newRow("zero") << "0"
                              << "1" << 0;
        QTest::newRow("empty") << ""
                               << "0" << 0;
    }
    void showStepSetsTheAlertInterval() {
        QFETCH(QString, intervalo);
        QFETCH(QString, tipo);
        QFETCH(int, milliseconds);
        ShellWorld world;
        world.settings.write("Alerta", "Intervalo", intervalo.toStdString());
        world.settings.write("Alerta", "TipoIntervalo", tipo.toStdString());
        TfrmPrincipal w(world.ctx);
        w.show();
        QCOMPARE(w.alertScheduler().enabled(), milliseconds > 0);
        if (milliseconds > 0) {
            QCOMPARE(w.alertScheduler().intervalMs(), milliseconds);
            QVERIFY(world.op.messages().empty());
        } else {
            QCOMPARE(world.op.messages().size(), size_t(1));
            QVERIFY(world.op.messages()[0].starts_with("O alerta automático ficou desligado: "));
        }
    }

    void exitAnsweredNoKeepsEverything() {
        ShellWorld world;
        TfrmPrincipal w(world.ctx);
        int ended = 0;
        w.setApplicationEnd([&ended] { ++ended; });
        w.show();
        world.op.queueYesNo(false);
        w.Sair1->trigger();
        world.op.queueYesNo(false);
        w.tray().Fechar1->trigger();
        world.op.queueYesNo(false);
        QVERIFY(!w.close());
        world.op.queueYesNo(false);
        w.ToolButton4->click();
        QCOMPARE(ended, 0);
        QVERIFY(w.isVisible());
        QVERIFY(w.tray().TrayIcon);
        const auto asks = world.op.callsOf("ask");
        QCOMPARE(asks.size(), size_t(4));
        for (const auto& a : asks) {
            QCOMPARE(a.text, std::string("Deseja encerrar o Pelomira?"));
            QCOMPARE(a.caption, std::string("Pelomira - Sair"));
            QVERIFY(a.icon == MessageIcon::Question);
        }
        world.op.queueYesNo(true);
        w.Sair1->trigger();
        QCOMPARE(ended, 1);
        QVERIFY(!w.tray().TrayIcon); // the icon is gone
        QVERIFY(world.op.unexpected().empty());
    }

    void minimisingHidesToTheTrayAndRestoreMaximises() {
        ShellWorld world;
        TfrmPrincipal w(world.ctx);
        w.restore();
        QVERIFY(w.isVisible());
        QVERIFY(w.isMaximized());
        w.showMinimized();
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(w.tray().isVisible());
        emit w.tray().restoreRequested(); // double-click or "&Restaurar"
        QVERIFY(w.isVisible());
        QVERIFY(w.isMaximized());
    }

    void settingsOpenFromMenuToolButtonAndHotKey() {
        ShellWorld world;
        TfrmPrincipal w(world.ctx);
        w.Configuraes2->trigger();
        QPointer<TfrmConfig> first = w.settingsWindow();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->windowTitle(), QString::fromUtf8("Pelomira - Configurações"));
        w.hotKey(1); // CTRL+F12
        QVERIFY(w.settingsWindow() != first.data());
        w.ToolButton3->click();
        QVERIFY(w.settingsWindow()->isVisible());
        first->close();
        QTRY_VERIFY(first.isNull()); // frees itself
    }

    void startedWithSlashMStaysInTheTrayWithTheAlertOff() {
        QVERIFY(TfrmSplash::startsInTray({"pelomira", "/m"}));
        QVERIFY(TfrmSplash::startsInTray({"pelomira", "/M"}));
        QVERIFY(!TfrmSplash::startsInTray({"pelomira"}));
        QVERIFY(!TfrmSplash::startsInTray({"pelomira", "/X"}));
        QVERIFY(!TfrmSplash::startsInTray({"pelomira", "-x", "/M"}));

        ShellWorld world;
        TfrmSplash splash(world.ctx, true);
        QCOMPARE(splash.size(), QSize(455, 127));
        QCOMPARE(splash.Timer->interval(), 2000);
        QVERIFY(splash.Timer->isActive());
        splash.show();
        splash.TimerTimer();
        QVERIFY(!splash.Timer->isActive());
        QVERIFY(!splash.isVisible());
        TfrmPrincipal* main = splash.principal();
        QVERIFY(main);
        QVERIFY(!main->isVisible());
        QVERIFY(main->tray().isVisible());
        QVERIFY(!main->alertScheduler().enabled());

        // Offscreen there is no X11 display: every hot key fails with its own message, in order.
        const auto messages = world.op.callsOf("message");
        QCOMPARE(messages.size(), size_t(9));
        const char* keys[] = {"CTRL+F12", "CTRL+I", "ALT+Y", "ALT+K", "ALT+Z", "ALT+W", "ALT+X", "ALT+T", "ALT+R"};
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(messages[i].text, "Não foi possível definir <" + std::string(keys[i]) + "> como tecla de atalho.");
            QCOMPARE(std::string(TfrmSplash::hotKeyFailureText(i + 1)), messages[i].text);
        }

        main->restore();
        QVERIFY(main->isVisible());
        QVERIFY(main->alertScheduler().enabled());
        QCOMPARE(main->alertScheduler().intervalMs(), 3600000);
    }

    void startedNormallyShowsTheMainWindow() {
        ShellWorld world;
        TfrmSplash splash(world.ctx, false);
        int created = 0;
        splash.setOnMainWindowCreated([&created](TfrmPrincipal&) { ++created; });
        splash.TimerTimer();
        QCOMPARE(created, 1);
        QVERIFY(splash.principal()->isVisible());
        QVERIFY(splash.principal()->isMaximized());
    }

    void acceptedUpdateEndsWithoutShowingTheMainWindow() {
        ShellWorld world;
        const auto running = VersionUpdate::runningVersion(world.platform->programVersion());
        const std::string name = "_PELOMIRA_" + std::to_string(running[0] + 1) + "_0_0_0.EXE";
        TestEnv::writeFile(world.updateFolder() + "/" + name, "installer");
        TfrmSplash splash(world.ctx, false);
        int ended = 0;
        splash.setApplicationEnd([&ended] { ++ended; });
        world.op.queueYesNo(true);
        splash.TimerTimer();
        QCOMPARE(ended, 1);
        QVERIFY(splash.principal()->endRequested());
        QVERIFY(!splash.principal()->isVisible());
        QCOMPARE(world.op.callsOf("openWithSystem").size(), size_t(1));
    }

    void alertTickSkipsWhileAnOperationRuns() {
        ShellWorld world;
        QtAlertScheduler timer(world.logs);
        QCOMPARE(timer.objectName(), QStringLiteral("Timer_Alerta"));
        timer.Timer_AlertaTimer(); // no work wired: nothing happens
        QVERIFY(!TestEnv::exists(world.env.home() + "PELOMIRA_LOG.CSV"));

        int runs = 0;
        bool busyInside = false;
        timer.setWork([&] {
            ++runs;
            busyInside = BusyGuard::busy();
        });
        {
            BusyGuard busy("Transferência DI");
            timer.Timer_AlertaTimer();
        }
        QCOMPARE(runs, 0);
        QCOMPARE(timer.skippedTicks(), 1);
        const std::string log = TestEnv::readFile(world.env.home() + "PELOMIRA_LOG.CSV");
        QVERIFY(log.find("Checagem automática adiada: Transferência DI em andamento") != std::string::npos);
        timer.Timer_AlertaTimer();
        QCOMPARE(runs, 1);
        QVERIFY(busyInside); // a tick's own work keeps later ticks out
        QVERIFY(!BusyGuard::busy());

        timer.setWork([] { throw std::runtime_error("banco indisponível"); });
        timer.Timer_AlertaTimer();
        QVERIFY(TestEnv::readFile(world.env.home() + "ERRO.CSV")
                    .find("Procedimento: Retorno Automático - Erro: banco indisponível") != std::string::npos);
    }

    void alertTimerNeverRunsWithoutAnInterval() {
        ShellWorld world;
        QtAlertScheduler timer(world.logs);
        timer.enable();
        QVERIFY(!timer.enabled());
        timer.setIntervalMs(0);
        timer.enable();
        QVERIFY(!timer.enabled());
        timer.setIntervalMs(60000);
        timer.enable();
        QVERIFY(timer.enabled());
        timer.disable();
        QVERIFY(!timer.enabled());
    }
};

PELOMIRA_GUI_TEST(PrincipalTest)
#include "PrincipalTest.moc"
