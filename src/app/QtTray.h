#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QSystemTrayIcon;

/// The notification-area icon of the main window with its popup menu (Gerar Retorno, Restaurar,
/// Fechar) and its information balloon titled "PELOMIRA". Double-clicking the icon asks for the main
/// window to be restored.
class QtTray : public QObject {
    Q_OBJECT
public:
    static constexpr const char* BalloonTitle = "PELOMIRA";

    explicit QtTray(QObject* parent = nullptr);
    ~QtTray() override;

    void setVisible(bool visible);
    bool isVisible() const;
    /// An information balloon. False when the desktop has no notification area to show it in.
    bool balloon(const QString& text);
    /// Removes the icon for good (at exit).
    void destroy();

    QSystemTrayIcon* TrayIcon = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* GerarRetorno1 = nullptr;
    QAction* Restaurar1 = nullptr;
    QAction* Fechar1 = nullptr;

signals:
    void restoreRequested();
    void closeRequested();
};
