#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QtAlertScheduler;
class QtHotKeys;
class QtTray;
class TfrmConfig;
struct AppContext;

/// The commands of the main window's menu, tool bar and hot keys.
enum class MainCommand {
    BuscarDI,       // SISCOMEX1, ToolButton1, ALT+Y
    BuscarLI,       // BuscarLI1, ALT+K
    BuscarDSI,      // BuscarDSI1, ALT+Z
    BuscarLSI,      // BuscarLSI1, ALT+W
    NorvikDI,       // NORVIK1, ALT+X
    Tabelas,        // Tabelas1, ToolButton2, ALT+T
    Retorno,        // Processos1, ToolButton7, ALT+R
    Exportador,     // Exportador1
    Fabricante,     // FabricanteExportador1
    Pais,           // Pas1
    Unidade,        // Unidade1
    Honeywell,      // Honeywell1
    Samsung,        // Samsung1
    Synthes,        // Synthes1
    Configuracoes,  // Configuraes2, ToolButton3, CTRL+F12
    RecriarIndices, // Recriarndices1, CTRL+I
};

/// The main window: the menu that opens every other window, the hidden tool bar, the status bar, the
/// notification-area icon and the alert timer.
///
/// A command is enabled only once its window or operation exists: setCommand(command, action) installs
/// the action and enables its menu item, tool button and hot key (QtCommandWiring.cpp is where the
/// program does so). The settings window and the exit are built in. The process requests also stay
/// disabled while Tabelas/ACIMTB is not "0".
class TfrmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Pelomira - Transferência de Informações";
    static constexpr const char* CompanyName = "Comissária de Despachos Aduaneiros";
    static constexpr const char* ExitQuestion = "Deseja encerrar o Pelomira?";
    static constexpr const char* ExitCaption = "Pelomira - Sair";

    /// Runs the window's creation steps (FormCreate), which may ask to end the application (update).
    explicit TfrmPrincipal(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmPrincipal() override;

    /// Installs the action of a command and enables it (unless the settings block it).
    void setCommand(MainCommand command, std::function<void()> action);
    /// True when the command has an action and is not blocked.
    bool commandEnabled(MainCommand command) const;
    /// Runs a command when it is enabled; false otherwise.
    bool runCommand(MainCommand command);
    /// The nine system-wide hot keys, identifiers 1 to 9.
    void hotKey(int id);
    /// The customer integrations by number: 1 Samsung, 2 Synthes, 3 Honeywell; others do nothing.
    void runIntegration(int number);

    /// The hot keys to give back at exit (registered by the splash window).
    void setHotKeys(QtHotKeys* hotKeys) { m_hotKeys = hotKeys; }
    /// How the application ends after a confirmed exit (default: leave the event loop at once).
    void setApplicationEnd(std::function<void()> end) { m_endApplication = std::move(end); }
    /// True when the update check started an installer: the application must end without showing.
    bool endRequested() const { return m_endRequested; }

    QtTray& tray() { return *TrayIcon; }
    QtAlertScheduler& alertScheduler() { return *Timer_Alerta; }
    const std::string& versionText() const { return m_version; }
    /// The newest settings window, while open.
    TfrmConfig* settingsWindow() const;

    void hideToTray();
    void restore();
    /// Asks "Deseja encerrar o Pelomira?"; on Yes gives back the hot keys, removes the icon and ends.
    bool requestExit();

    // Menu handlers.
    void SISCOMEX1Click() { runCommand(MainCommand::BuscarDI); }
    void BuscarLI1Click() { runCommand(MainCommand::BuscarLI); }
    void BuscarDSI1Click() { runCommand(MainCommand::BuscarDSI); }
    void BuscarLSI1Click() { runCommand(MainCommand::BuscarLSI); }
    void NORVIK1Click() { runCommand(MainCommand::NorvikDI); }
    void Tabelas1Click() { runCommand(MainCommand::Tabelas); }
    void Processos1Click() { runCommand(MainCommand::Retorno); }
    void Exportador1Click() { runCommand(MainCommand::Exportador); }
    void FabricanteExportador1Click() { runCommand(MainCommand::Fabricante); }
    void Pas1Click() { runCommand(MainCommand::Pais); }
    void Unidade1Click() { runCommand(MainCommand::Unidade); }
    void Honeywell1Click() { runIntegration(3); }
    void Samsung1Click() { runIntegration(1); }
    void Synthes1Click() { runIntegration(2); }
    void Configuraes2Click();
    void Recriarndices1Click() { runCommand(MainCommand::RecriarIndices); }
    void Sair1Click() { requestExit(); }
    void Restaurar1Click() { restore(); }
    void Fechar1Click() { requestExit(); }
    void TrayIconDblClick() { restore(); }
    void ToolButton1Click() { SISCOMEX1Click(); }
    void ToolButton2Click() { Tabelas1Click(); }
    void ToolButton3Click() { Configuraes2Click(); }
    void ToolButton4Click() { Sair1Click(); }
    void ToolButton7Click() { Processos1Click(); }

    // Components, named as the program always named them.
    QMenuBar* mmPrincipal;
    QMenu* ImportarTabelas1;
    QAction* SISCOMEX1;
    QAction* BuscarLI1;
    QAction* BuscarDSI1;
    QAction* BuscarLSI1;
    QAction* N1;
    QAction* NORVIK1;
    QMenu* Exportar1;
    QAction* Tabelas1;
    QAction* Processos1;
    QMenu* Integraes1;
    QMenu* Cadastros1;
    QAction* Exportador1;
    QAction* FabricanteExportador1;
    QAction* Pas1;
    QAction* Unidade1;
    QAction* N2;
    QAction* Honeywell1;
    QAction* Samsung1;
    QAction* Synthes1;
    QMenu* Configuraes1;
    QAction* Configuraes2;
    QAction* Recriarndices1;
    QAction* Sair1;
    QToolBar* tbPrincipal;
    QToolButton* ToolButton1;
    QToolButton* ToolButton2;
    QToolButton* ToolButton3;
    QToolButton* ToolButton4;
    QAction* ToolButton5;
    QAction* ToolButton6;
    QToolButton* ToolButton7;
    QStatusBar* sttPrincipal;
    QLabel* sttPanel0;
    QLabel* sttPanel1;
    QLabel* sttPanel2;
    QtTray* TrayIcon;
    QtAlertScheduler* Timer_Alerta;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenu();
    void buildToolBar();
    void buildStatusBar();
    void FormCreate();
    void FormShow();
    void updateCommandStates();
    QAction* actionOf(MainCommand command) const;
    bool blockedBySettings(MainCommand command) const;

    AppContext& m_ctx;
    std::map<MainCommand, std::function<void()>> m_actions;
    std::string m_version;
    bool m_importBlocked = false;
    bool m_endRequested = false;
    bool m_exiting = false;
    QtHotKeys* m_hotKeys = nullptr;
    std::function<void()> m_endApplication;
    QPointer<TfrmConfig> frmConfig;
};
