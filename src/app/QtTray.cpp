#include "app/QtTray.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

QtTray::QtTray(QObject* parent) : QObject(parent) {
    setObjectName("TrayIcon");
    PopupMenu = new QMenu();
    PopupMenu->setObjectName("PopupMenu");
    GerarRetorno1 = PopupMenu->addAction(QString::fromUtf8("&Gerar Retorno"));
    GerarRetorno1->setObjectName("GerarRetorno1");
    // Enabled where the return window is wired (QtCommandWiring); until then it cannot be chosen.
    GerarRetorno1->setEnabled(false);
    Restaurar1 = PopupMenu->addAction(QString::fromUtf8("&Restaurar"));
    Restaurar1->setObjectName("Restaurar1");
    Fechar1 = PopupMenu->addAction(QString::fromUtf8("&Fechar"));
    Fechar1->setObjectName("Fechar1");
    connect(Restaurar1, &QAction::triggered, this, &QtTray::restoreRequested);
    connect(Fechar1, &QAction::triggered, this, &QtTray::closeRequested);

    TrayIcon = new QSystemTrayIcon(QIcon(QStringLiteral(":/images/pelomira.png")), this);
    TrayIcon->setToolTip(QStringLiteral("Pelomira"));
    TrayIcon->setContextMenu(PopupMenu);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            emit restoreRequested();
    });
}

QtTray::~QtTray() {
    delete PopupMenu;
}

void QtTray::setVisible(bool visible) {
    if (TrayIcon)
        TrayIcon->setVisible(visible);
}

bool QtTray::isVisible() const {
    return TrayIcon && TrayIcon->isVisible();
}

bool QtTray::balloon(const QString& text) {
    if (!TrayIcon || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    TrayIcon->showMessage(QString::fromUtf8(BalloonTitle), text, QSystemTrayIcon::Information);
    return true;
}

void QtTray::destroy() {
    if (!TrayIcon)
        return;
    TrayIcon->hide();
    delete TrayIcon;
    TrayIcon = nullptr;
}
