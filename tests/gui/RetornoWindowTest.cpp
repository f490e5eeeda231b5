// The return window, its commands and the alert timer's guard, against merlin-sim (the real program),
// an Orientador folder and an Integra database.
#include "IntegraGuiWorld.h"
#include "app/QtAlertScheduler.h"
#include "app/QtCommandWiring.h"
#include "app/QtTray.h"
#include "app/TfrmPrincipal.h"
#include "base/BusyGuard.h"
#include "base/QtOperator.h"
#include "gui/GuiTests.h"
#include "retorno/AutomaticReturn.h"
#include "retorno/RetornoFixtures.h"
#include "retorno/ReturnList.h"
#include "retorno/TfrmRetorno.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

struct RetornoGuiWorld : IntegraGuiWorld {
    std::string folder = env.path("SISCOPRD/Import.prd");
    SimProcess sim{env};
    RegisteredProcesses orientador{*platform, folder};

    RetornoGuiWorld() : IntegraGuiWorld(false) {
        OrientadorFolder::create(*platform, folder, OrientadorFolder::Options());
        settings.write(Settings::Dados, Settings::KeyDados, folder);
        settings.write(Settings::Dados, Settings::KeyWebService, sim.base());
        // The main window takes the database from the settings when it is made.
        settings.write(Settings::Dados, Settings::KeyTabelasIntegra, location);
    }
    std::vector<std::string> messages() const { return op.messages(); }
};

/// Goes before the world it is declared after: a window a failed check left open is gone before the
/// list it shows.
struct WindowsGone {
    ~WindowsGone() {
        delete TfrmRetorno::current();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

/// An operator whose "let pending messages through" also runs what a test puts there (a timer tick).
class TickingOperator : public ScriptedOperator {
public:
    std::function<void()> duringEvents;
    void processEvents() override {
        ScriptedOperator::processEvents();
        if (duringEvents)
            duringEvents();
    }
};

// Opens the window and lets it scan; null when it closed itself.
TfrmRetorno* openScanned(AppContext& ctx) {
    QPointer<TfrmRetorno> w = TfrmRetorno::openWindow(ctx);
    QCoreApplication::processEvents();
    QTest::qWait(20);
    return w.data();
}

QRect cell(const QPointer<TfrmRetorno>& w, int row, int column) {
    return w->dbgRetorno->visualRect(w->dbgRetorno->model()->index(row, column));
}

void clickCell(const QPointer<TfrmRetorno>& w, int row, int column) {
    QTest::mouseClick(w->dbgRetorno->viewport(), Qt::LeftButton, {}, cell(w, row, column).center());
}

} // namespace

class RetornoWindowTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheRegisteredProcessesWithItsColumns() {
        RetornoGuiWorld world;
        WindowsGone gone;
        world.orientador.lsi("00007/26", "2600000017", "02/03/2026", "7000000001");
        world.orientador.di("123456", "2612345678", "05032026", "9876543210", "04032026", "03032026");
        QPointer<TfrmRetorno> w = openScanned(world.ctx);
        QVERIFY(w);
        QCOMPARE(TfrmRetorno::current(), w.data());
        QCOMPARE(w->windowTitle(), QStringLiteral("Retorno de Processos"));
        QCOMPARE(w->lblSelecione->text(), QStringLiteral("Selecione os processos a serem retornados:"));
        QCOMPARE(w->btnGerar->text(), QStringLiteral("Gerar"));
        QCOMPARE(w->minimumSize(), w->maximumSize()); // a fixed border
        QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));

        QTableView* grid = w->dbgRetorno;
        QCOMPARE(grid->model()->rowCount(), 2);
        const QString titles[] = {" ", "Tipo Processo", "Registro", "Registro SISCOMEX", "Data Registro"};
        const int widths[] = {37, 80, 85, 105, 75};
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
            // As wide as the program always had it, and wide enough for its title and values.
            QVERIFY(grid->columnWidth(c) >= widths[c]);
            QVERIFY(grid->columnWidth(c) >= grid->horizontalHeader()->sectionSizeHint(c));
            QVERIFY(grid->columnWidth(c) >= static_cast<QAbstractItemView*>(grid)->sizeHintForColumn(c));
            QVERIFY(!grid->isColumnHidden(c));
        }
        for (int c = 5; c < 9; ++c)
            QVERIFY2(grid->isColumnHidden(c), qPrintable(QString::number(c)));
        QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral("DI"));
        QCOMPARE(grid->model()->index(1, 2).data().toString(), QStringLiteral("123456"));
        QCOMPARE(grid->model()->index(1, 3).data().toString(), QStringLiteral("2612345678"));
        QCOMPARE(grid->model()->index(1, 4).data().toString(), QStringLiteral("05/03/2026"));
        QCOMPARE(grid->model()->index(1, 0).data().toString(), QString()); // the images say it
        QCOMPARE(w->imgCkeckBox.size(), 3);
        QCOMPARE(world.dm.cdsTemp.position(), std::size_t(0)); // on the first row
        QCOMPARE(grid->currentIndex().row(), 0);
        // The menu command again: the same window, not a second one on the same list.
        QCOMPARE(TfrmRetorno::openWindow(world.ctx), w.data());
        w->close();
        QVERIFY(!TfrmRetorno::current());
        QTRY_VERIFY(!w);
        QVERIFY(!world.dm.cdsTemp.active());
    }

    void aClickInTheFirstColumnTicksAndTheTickIsDrawn() {
        RetornoGuiWorld world;
        WindowsGone gone;
        world.orientador.li("LI-1", "N1", "04/03/2026", "P1");
        world.orientador.li("LI-2", "N2", "04/03/2026", "P2");
        QPointer<TfrmRetorno> w = openScanned(world.ctx);
        QVERIFY(w);
        const QImage before = w->dbgRetorno->viewport()->grab(cell(w, 1, 0)).toImage();

        clickCell(w, 1, 0);
        RecordSet& list = world.dm.cdsTemp;
        QCOMPARE(list.position(), std::size_t(1));
        QVERIFY(ReturnList::ticked(list));
        const QImage after = w->dbgRetorno->viewport()->grab(cell(w, 1, 0)).toImage();
        QVERIFY(before != after);
        // The unticked box sits 10 pixels right of the cell's edge and 1 below its top.
        const QColor border = before.pixelColor(TfrmRetorno::ImageLeft + 2, TfrmRetorno::ImageTop + 6);
        QVERIFY2(border.lightness() < 100, qPrintable(border.name()));

        clickCell(w, 0, 2); // another column only moves
        QCOMPARE(list.position(), std::size_t(0));
        QVERIFY(!ReturnList::ticked(list));
        QTest::keyClick(w->dbgRetorno, Qt::Key_Space); // the space bar ticks too
        QVERIFY(ReturnList::ticked(list));
        clickCell(w, 1, 0);
        QVERIFY(!ReturnList::ticked(list));
        w->close();
        QTRY_VERIFY(!w); // gone before the list it shows
    }

    void nothingToReturnSaysSoAndCloses() {
        RetornoGuiWorld world;
        WindowsGone gone;
        world.orientador.li("LI-1", "N1", "04/03/2026", ""); // no protocol yet: not listed
        QPointer<TfrmRetorno> w = TfrmRetorno::openWindow(world.ctx);
        QTRY_VERIFY(!w);
        QCOMPARE(world.messages(),
                 std::vector<std::string>{"Não existem processos registrados a serem retornados no momento!"});
        QCOMPARE(world.op.callsOf("message").at(0).icon, MessageIcon::Information);
    }

    void gerarReturnsTheTickedOnesAndScansAgain() {
        RetornoGuiWorld world;
        WindowsGone gone;
        world.orientador.li("LI-1", "N1", "04/03/2026", "P1");
        world.orientador.li("LI-2", "N2", "04/03/2026", "P2");
        QPointer<TfrmRetorno> w = openScanned(world.ctx);
        QVERIFY(w);
        clickCell(w, 0, 0);
        world.op.clear();
        w->btnGerar->click();

        QCOMPARE(world.messages(),
                 std::vector<std::string>{"Os seguintes processos foram recebidos pelo MERLIN: \r\rLI - LI-1\r\r\r"});
        QVERIFY(w);
        QCOMPARE(w->dbgRetorno->model()->rowCount(), 1); // scanned again: the one left
        QCOMPARE(world.dm.cdsTemp.text(ReturnList::Registro), std::string("LI-2"));
        QCOMPARE(world.sim.returnTargets().size(), std::size_t(1));

        clickCell(w, 0, 0);
        world.op.clear();
        w->btnGerar->click();
        QCOMPARE(world.messages(),
                 (std::vector<std::string>{"Os seguintes processos foram recebidos pelo MERLIN: \r\rLI - LI-2\r\r\r",
                                           "Não existem processos registrados a serem retornados no momento!"}));
        QTRY_VERIFY(!w);
        QCOMPARE(world.column("SELECT NR_PROC FROM GERADOS ORDER BY 1"), (std::vector<std::string>{"LI-1", "LI-2"}));
    }

    void aTickDuringAReturnIsSkippedAndLogged() {
        RetornoGuiWorld world;
        WindowsGone gone;
        world.orientador.li("LI-1", "N1", "04/03/2026", "P1");
        world.orientador.li("LI-2", "N2", "04/03/2026", "P2");
        TickingOperator op;
        AppContext ctx{*world.platform, op, world.settings, world.logs, world.dm};
        QtAlertScheduler timer(world.logs);
        timer.setWork([&ctx] { AutomaticReturn(ctx).run(); });
        QPointer<TfrmRetorno> w = openScanned(ctx);
        QVERIFY(w);
        clickCell(w, 0, 0);
        // The timer ticks while the return lets messages through between its requests.
        op.duringEvents = [&timer] { timer.Timer_AlertaTimer(); };
        w->btnGerar->click();
        op.duringEvents = nullptr;

        QVERIFY(timer.skippedTicks() > 0);
        // Only the ticked process went to Merlin: the tick neither sent the other nor replaced the list.
        QCOMPARE(world.sim.returnTargets().size(), std::size_t(1));
        QCOMPARE(world.column("SELECT NR_PROC FROM GERADOS"), std::vector<std::string>{"LI-1"});
        const std::string log = TestEnv::readFile(world.env.home() + Logs::ActivityFile);
        QVERIFY2(log.find("Checagem automática adiada: Retorno de Processos em andamento") != std::string::npos,
                 log.c_str());
        QVERIFY(w);
        QCOMPARE(w->dbgRetorno->model()->rowCount(), 1);
        // Idle again, a tick runs: the one left goes back, and the window's own list is left alone.
        timer.Timer_AlertaTimer();
        QCOMPARE(world.sim.returnTargets().size(), std::size_t(2));
        QCOMPARE(w->dbgRetorno->model()->rowCount(), 1);
        QCOMPARE(world.dm.cdsTemp.text(ReturnList::Registro), std::string("LI-2"));
        w->close();
        QTRY_VERIFY(!w);
    }

    void refusedWhileAnotherOperationRuns() {
        RetornoGuiWorld world;
        WindowsGone gone;
        world.orientador.li("LI-1", "N1", "04/03/2026", "P1");
        QPointer<TfrmRetorno> w;
        {
            BusyGuard transfer("Importação de Processos");
            w = TfrmRetorno::openWindow(world.ctx);
            QTRY_VERIFY(!w);
        }
        QCOMPARE(world.messages(), std::vector<std::string>{"Há uma operação em andamento (Importação de Processos).\r"
                                                            "Aguarde o término para retornar os processos."});
        QVERIFY(world.op.callsOf("progressOpen").empty());
    }

    void menuToolButtonHotKeyAndTrayOpenTheWindow() {
        RetornoGuiWorld world;
        WindowsGone gone;
        world.orientador.li("LI-1", "N1", "04/03/2026", "P1");
        TfrmPrincipal principal(world.ctx);
        QtOperator qtOp(*world.platform);
        wireMainCommands(principal, qtOp, world.ctx);
        QVERIFY(principal.Processos1->isEnabled());
        QVERIFY(principal.ToolButton7->isEnabled());
        QVERIFY(principal.tray().GerarRetorno1->isEnabled());
        QVERIFY(principal.alertScheduler().hasWork());
        const std::function<void()> ways[] = {[&] { principal.Processos1->trigger(); },
                                              [&] { principal.ToolButton7->click(); }, [&] { principal.hotKey(9); },
                                              [&] { principal.tray().GerarRetorno1->trigger(); }};
        for (const auto& open : ways) {
            open();
            QPointer<TfrmRetorno> w = TfrmRetorno::current();
            QVERIFY(w);
            QTRY_VERIFY2(w.isNull() || w->dbgRetorno->model()->rowCount() == 1, "scanning");
            QVERIFY2(w, world.messages().empty() ? "closed" : world.messages().back().c_str());
            w->close();
            QTRY_VERIFY(!w);
        }
    }
};

PELOMIRA_GUI_TEST(RetornoWindowTest)
#include "RetornoWindowTest.moc"
