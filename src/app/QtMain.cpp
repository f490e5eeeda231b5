// The desktop program's entry: one copy per computer, the splash window, then the main window.
#include "app/QtCommandWiring.h"
#include "app/QtLanguage.h"
#include "app/QtTray.h"
#include "app/TfrmPrincipal.h"
#include "app/TfrmSplash.h"
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/QtAltKeyFilter.h"
#include "base/QtOperator.h"
#include "base/QtWindowStacking.h"
#include "base/Settings.h"
#include "data/TDM.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>

namespace {

#ifdef _WIN32
constexpr const char* ProgramFileName = "PELOMIRA.EXE";
#else
constexpr const char* ProgramFileName = "pelomira";
#endif
constexpr const char* AlreadyRunning = "O Pelomira já está sendo executado neste terminal!";

} // namespace

int main(int argc, char** argv) {
    useBrazilianSystemLocaleInQt();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelomira"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/pelomira.png")));
    // The main window hides in the notification area; closing a last visible window must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // The standard dialogs (files, folders) in the operator's language.
    installQtPortuguese(app);
    // Alt + a key that is no mnemonic never types into a field, in any window.
    app.installEventFilter(new QtAltKeyFilter(&app));

    auto platform = Platform::createNative();
    QtOperator op(*platform);
    // This copy is one of the processes counted.
    if (platform->countProcesses(ProgramFileName) >= 2) {
        op.message(AlreadyRunning, "Pelomira", MessageIcon::Information);
        return 0;
    }

    Settings settings(*platform);
    Logs logs(*platform, op);
    TDM dm;
    AppContext ctx{*platform, op, settings, logs, dm};

    TfrmSplash splash(ctx, TfrmSplash::startsInTray(QApplication::arguments()));
    splash.setOnMainWindowCreated([&](TfrmPrincipal& principal) {
        QPointer<QtTray> tray = &principal.tray();
        op.setBalloonShower([tray](const QString& text) { return tray && tray->balloon(text); });
        wireMainCommands(principal, op, ctx);
        // The other windows stay above the main window and cascade instead of covering one another.
        new QtWindowStacking(&principal, &principal);
    });
    splash.show();
    const int result = QApplication::exec();
    op.setBalloonShower({});
    return result;
}
