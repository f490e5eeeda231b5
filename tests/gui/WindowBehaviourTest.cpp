// What every window shares: Alt combinations never type, modeless windows stay above the main window and
// cascade by kind, and Qt's own texts are Brazilian Portuguese.
#include "ShellWorld.h"
#include "app/QtAlertScheduler.h"
#include "app/QtLanguage.h"
#include "app/TfrmConfig.h"
#include "base/QtAltKeyFilter.h"
#include "base/QtWindowStacking.h"
#include "gui/GuiTests.h"
#include "import/ProcessTransfers.h"
#include "import/TfrmImportar_Merlin.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTranslator>
#include <QWindow>

namespace {

// The filter as the program installs it, for the length of one test.
struct AltFilterInstalled {
    QtAltKeyFilter filter;
    AltFilterInstalled() { qApp->installEventFilter(&filter); }
    ~AltFilterInstalled() { qApp->removeEventFilter(&filter); }
};

void showActive(QWidget* w) {
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class WindowBehaviourTest : public QObject {
    Q_OBJECT
private slots:
    void altCombinationsNeverTypeButMnemonicsStillWork() {
        ShellWorld world;
        AltFilterInstalled installed;

        auto* request = new TfrmImportar_Merlin(world.ctx, ProcessTransfers());
        QPointer<TfrmImportar_Merlin> requestGuard(request);
        showActive(request);
        QLineEdit* reference = request->edProcesso_Merlin;
        reference->setFocus();
        QTest::keyClicks(reference, "1534");
        QTest::keyClick(reference, Qt::Key_M, Qt::AltModifier); // no mnemonic of this window
        QTest::keyClick(reference, Qt::Key_M, Qt::AltModifier | Qt::ShiftModifier);
        QTest::keyClick(reference, Qt::Key_5, Qt::AltModifier);
        QTest::keyClick(reference, Qt::Key_Space, Qt::AltModifier);
        QCOMPARE(reference->text(), QStringLiteral("1534"));
        QTest::keyClick(reference, Qt::Key_7); // plain keys still type
        QCOMPARE(reference->text(), QStringLiteral("15347"));
        QTest::keyClick(reference, Qt::Key_Backspace, Qt::AltModifier); // no text: left to the field
        delete request;

        QtAlertScheduler alert(world.logs);
        auto* config = new TfrmConfig(world.ctx, &alert);
        QPointer<TfrmConfig> configGuard(config);
        showActive(config);
        config->edCod_Samsung->setFocus();
        config->edCod_Samsung->setText(QStringLiteral("S0018"));
        QTest::keyClick(config->edCod_Samsung, Qt::Key_Q, Qt::AltModifier);
        QCOMPARE(config->edCod_Samsung->text(), QStringLiteral("S0018"));
        // A mnemonic of the window is matched before the filter looks: Alt+F is "&Fechar".
        QTest::keyClick(config->edCod_Samsung, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(configGuard.isNull());

        // Any text field of any window, also multi-line ones other areas may add.
        QPlainTextEdit notes;
        showActive(&notes);
        QTest::keyClicks(&notes, "ok");
        QTest::keyClick(&notes, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(notes.toPlainText(), QStringLiteral("ok"));
    }

    void cascadeSkipsTakenPlacesAndWrapsInsideTheScreen() {
        const QRect area(0, 0, 1280, 800);
        const QSize size(273, 193);
        const QPoint centre(503, 303);
        QCOMPARE(QtWindowStacking::cascade(centre, {}, area, size), centre);
        QCOMPARE(QtWindowStacking::cascade(centre, {centre}, area, size), centre + QPoint(24, 24));
        // A window the operator moved a little still counts as standing there.
        QCOMPARE(QtWindowStacking::cascade(centre, {centre + QPoint(5, -3), centre + QPoint(24, 24)}, area, size),
                 centre + QPoint(48, 48));
        // A free place in the middle of the cascade is taken again.
        QCOMPARE(QtWindowStacking::cascade(centre, {centre, centre + QPoint(48, 48)}, area, size),
                 centre + QPoint(24, 24));
        // Off the bottom right: back to the top left corner of the screen.
        const QPoint low(1000, 600);
        QCOMPARE(QtWindowStacking::cascade(low, {low}, area, size), QPoint(0, 0));
        // Everything taken: some place all the same, and no endless search.
        QList<QPoint> all;
        for (int i = 0; i < 40; ++i)
            all << QPoint(i * 24 % 1000, i * 24 % 600);
        QtWindowStacking::cascade(QPoint(0, 0), all, area, size);
    }

    void modelessWindowsStayAboveTheMainWindowAndCascadeByKind() {
        ShellWorld world;
        // Windows other tests left open would count as taken places.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TfrmConfig*>(w) || qobject_cast<TfrmImportar_Merlin*>(w))
                w->hide();
        QMainWindow main;
        main.resize(800, 600);
        main.show();
        QtWindowStacking stacking(&main);

        auto* first = new TfrmImportar_Merlin(world.ctx, ProcessTransfers());
        auto* second = new TfrmImportar_Merlin(world.ctx, ProcessTransfers());
        QPointer<TfrmImportar_Merlin> firstGuard(first), secondGuard(second);
        const QPoint centred = first->pos();
        QCOMPARE(second->pos(), centred); // both are made centred…
        first->show();
        second->show();
        // …not shown so. The frame is the window manager's (here a stand-in's), so a pixel or two either way
        // is its business; the e2e checks the exact step under a real one.
        const QPoint step(QtWindowStacking::Step, QtWindowStacking::Step);
        const auto nearly = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 4; };
        QVERIFY(nearly(second->pos(), first->pos() + step));
        QCOMPARE(first->windowHandle()->transientParent(), main.windowHandle());
        QCOMPARE(second->windowHandle()->transientParent(), main.windowHandle());

        // Another kind opens at its own place.
        QtAlertScheduler alert(world.logs);
        auto* config = new TfrmConfig(world.ctx, &alert);
        QPointer<TfrmConfig> configGuard(config);
        const QPoint configPlace = config->pos();
        config->show();
        QCOMPARE(config->pos(), configPlace);
        QCOMPARE(config->windowHandle()->transientParent(), main.windowHandle());

        // A window shown again stays where it was; a third fills the first free place.
        second->hide();
        second->move(40, 40);
        second->show();
        QCOMPARE(second->pos(), QPoint(40, 40));
        auto* third = new TfrmImportar_Merlin(world.ctx, ProcessTransfers());
        QPointer<TfrmImportar_Merlin> thirdGuard(third);
        third->show();
        QVERIFY(nearly(third->pos(), first->pos() + step));

        // Windows minimised with the main window come back with it.
        first->setWindowState(Qt::WindowMinimized);
        main.hide();
        main.show();
        QVERIFY(!(first->windowState() & Qt::WindowMinimized));

        // Modal dialogs are left to Qt.
        QDialog modal;
        modal.setWindowModality(Qt::ApplicationModal);
        modal.show();
        QVERIFY(!modal.windowHandle()->transientParent());
        modal.hide();

        delete first;
        delete second;
        delete third;
        delete config;
    }

    void qtTextsAndFormatsArePortuguese() {
        const QLocale before;
        QTranslator* texts = installQtPortuguese(*qApp);
        QVERIFY2(texts, "qtbase_pt_BR.qm not found: scripts/install-deps installs qt6-translations-l10n");
        QCOMPARE(QLocale().toString(QDate(2025, 12, 8), QLocale::ShortFormat), QStringLiteral("08/12/2025"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Abrir"));
        QCOMPARE(QCoreApplication::translate("QFileSystemModel", "Date Modified"),
                 QStringLiteral("Data de modificação"));
        QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QStringLiteral("Pasta"));
        QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
                 QStringLiteral("Pasta"));
        QCoreApplication::removeTranslator(texts);
        delete texts;
        QLocale::setDefault(before);
    }
};

PELOMIRA_GUI_TEST(WindowBehaviourTest)
#include "WindowBehaviourTest.moc"
