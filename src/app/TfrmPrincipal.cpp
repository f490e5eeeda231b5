#include "app/TfrmPrincipal.h"

#include "app/QtAlertScheduler.h"
#include "app/QtHotKeys.h"
#include "app/QtTray.h"
#include "app/TfrmConfig.h"
#include "app/VersionUpdate.h"
#include "base/AlertInterval.h"
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/QtUi.h"
#include "base/Settings.h"
#include "data/TDM.h"
#include "platform/Platform.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindowStateChangeEvent>

namespace {

const char* const kAlertOff = "O alerta automático ficou desligado: ";
const char* const kAlertFix = "Corrija o intervalo em Manutenção, Configurações.";

QAction* item(QMenu* menu, const char* name, const char* caption) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(name);
    return a;
}

QMenu* submenu(QWidget* parent, const char* name, const char* caption) {
    auto* m = new QMenu(QString::fromUtf8(caption), parent);
    m->setObjectName(name);
    m->menuAction()->setObjectName(QString::fromUtf8(name) + QStringLiteral("Action"));
    return m;
}

bool isProcessRequest(MainCommand c) {
    return c == MainCommand::BuscarDI || c == MainCommand::BuscarLI || c == MainCommand::BuscarDSI ||
           c == MainCommand::BuscarLSI || c == MainCommand::NorvikDI;
}

} // namespace

TfrmPrincipal::TfrmPrincipal(AppContext& ctx, QWidget* parent) : QMainWindow(parent), m_ctx(ctx) {
    setObjectName("frmPrincipal");
    setWindowTitle(QString::fromUtf8(Caption));
    setWindowIcon(QIcon(QStringLiteral(":/images/pelomira.png")));
    resize(800, 600);
    centreOnScreen(this);
    setWindowState(Qt::WindowMaximized);
    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0)); // silver
    client->setPalette(pal);
    setCentralWidget(client);

    // exit() rather than quit(): quit() first asks every window to close, and this one refuses.
    m_endApplication = [] { QCoreApplication::exit(0); };
    TrayIcon = new QtTray(this);
    Timer_Alerta = new QtAlertScheduler(ctx.logs, this);
    connect(TrayIcon, &QtTray::restoreRequested, this, [this] { TrayIconDblClick(); });
    connect(TrayIcon, &QtTray::closeRequested, this, [this] { Fechar1Click(); });

    buildMenu();
    buildToolBar();
    buildStatusBar();
    FormCreate();
}

TfrmPrincipal::~TfrmPrincipal() {
    delete frmConfig.data();
}

TfrmConfig* TfrmPrincipal::settingsWindow() const {
    return frmConfig.data();
}

void TfrmPrincipal::buildMenu() {
    mmPrincipal = new QMenuBar(this);
    mmPrincipal->setObjectName("mmPrincipal");
    setMenuBar(mmPrincipal);

    ImportarTabelas1 = submenu(this, "ImportarTabelas1", "&Importar");
    SISCOMEX1 = item(ImportarTabelas1, "SISCOMEX1", "Buscar &DI         ALT+Y");
    BuscarLI1 = item(ImportarTabelas1, "BuscarLI1", "Buscar &LI          ALT+K");
    BuscarDSI1 = item(ImportarTabelas1, "BuscarDSI1", "Buscar D&SI       ALT+Z");
    BuscarLSI1 = item(ImportarTabelas1, "BuscarLSI1", "Buscar LS&I        ALT+W");
    N1 = ImportarTabelas1->addSeparator();
    N1->setObjectName("N1");
    NORVIK1 = item(ImportarTabelas1, "NORVIK1", "NORVI&K             ALT+X");
    mmPrincipal->addMenu(ImportarTabelas1);

    Exportar1 = submenu(this, "Exportar1", "&Exportar");
    Tabelas1 = item(Exportar1, "Tabelas1", "&Tabelas          ALT+T");
    Processos1 = item(Exportar1, "Processos1", "&Retorno         ALT+R");
    mmPrincipal->addMenu(Exportar1);

    Integraes1 = submenu(this, "Integraes1", "I&ntegrações");
    Cadastros1 = submenu(this, "Cadastros1", "&Cadastros");
    Exportador1 = item(Cadastros1, "Exportador1", "&Exportador");
    FabricanteExportador1 = item(Cadastros1, "FabricanteExportador1", "&Fabricante");
    Pas1 = item(Cadastros1, "Pas1", "&País");
    Unidade1 = item(Cadastros1, "Unidade1", "&Unidade");
    Integraes1->addMenu(Cadastros1);
    N2 = Integraes1->addSeparator();
    N2->setObjectName("N2");
    Honeywell1 = item(Integraes1, "Honeywell1", "&Honeywell");
    Samsung1 = item(Integraes1, "Samsung1", "&Samsung");
    Synthes1 = item(Integraes1, "Synthes1", "S&ynthes");
    mmPrincipal->addMenu(Integraes1);

    Configuraes1 = submenu(this, "Configuraes1", "&Manutenção");
    Configuraes2 = item(Configuraes1, "Configuraes2", "&Configurações         CTRL+F12");
    Recriarndices1 = item(Configuraes1, "Recriarndices1", "&Recriar Índices        CTRL+I");
    Sair1 = item(Configuraes1, "Sair1", "&Sair");
    mmPrincipal->addMenu(Configuraes1);

    connect(SISCOMEX1, &QAction::triggered, this, [this] { SISCOMEX1Click(); });
    connect(BuscarLI1, &QAction::triggered, this, [this] { BuscarLI1Click(); });
    connect(BuscarDSI1, &QAction::triggered, this, [this] { BuscarDSI1Click(); });
    connect(BuscarLSI1, &QAction::triggered, this, [this] { BuscarLSI1Click(); });
    connect(NORVIK1, &QAction::triggered, this, [this] { NORVIK1Click(); });
    connect(Tabelas1, &QAction::triggered, this, [this] { Tabelas1Click(); });
    connect(Processos1, &QAction::triggered, this, [this] { Processos1Click(); });
    connect(Exportador1, &QAction::triggered, this, [this] { Exportador1Click(); });
    connect(FabricanteExportador1, &QAction::triggered, this, [this] { FabricanteExportador1Click(); });
    connect(Pas1, &QAction::triggered, this, [this] { Pas1Click(); });
    connect(Unidade1, &QAction::triggered, this, [this] { Unidade1Click(); });
    connect(Honeywell1, &QAction::triggered, this, [this] { Honeywell1Click(); });
    connect(Samsung1, &QAction::triggered, this, [this] { Samsung1Click(); });
    connect(Synthes1, &QAction::triggered, this, [this] { Synthes1Click(); });
    connect(Configuraes2, &QAction::triggered, this, [this] { Configuraes2Click(); });
    connect(Recriarndices1, &QAction::triggered, this, [this] { Recriarndices1Click(); });
    connect(Sair1, &QAction::triggered, this, [this] { Sair1Click(); });
}

void TfrmPrincipal::buildToolBar() {
    tbPrincipal = new QToolBar(this);
    tbPrincipal->setObjectName("tbPrincipal");
    tbPrincipal->setIconSize(QSize(32, 32));
    addToolBar(tbPrincipal);
    auto button = [this](const char* name, const char* icon, const char* tip) {
        auto* b = new QToolButton(tbPrincipal);
        b->setObjectName(name);
        b->setIcon(QIcon(QStringLiteral(":/images/toolbar/") + QLatin1String(icon)));
        b->setToolTip(QString::fromUtf8(tip));
        tbPrincipal->addWidget(b);
        return b;
    };
    ToolButton1 = button("ToolButton1", "buscar_di.png", "Buscar DI");
    ToolButton2 = button("ToolButton2", "tabelas.png", "Exportar Tabelas");
    ToolButton7 = button("ToolButton7", "retorno.png", "Retorno");
    ToolButton5 = tbPrincipal->addSeparator();
    ToolButton5->setObjectName("ToolButton5");
    ToolButton3 = button("ToolButton3", "configuracoes.png", "Configurações");
    ToolButton6 = tbPrincipal->addSeparator();
    ToolButton6->setObjectName("ToolButton6");
    ToolButton4 = button("ToolButton4", "sair.png", "Sair");
    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { ToolButton2Click(); });
    connect(ToolButton3, &QToolButton::clicked, this, [this] { ToolButton3Click(); });
    connect(ToolButton4, &QToolButton::clicked, this, [this] { ToolButton4Click(); });
    connect(ToolButton7, &QToolButton::clicked, this, [this] { ToolButton7Click(); });
    // The bar was always there but never shown; its buttons still follow the commands' state.
    tbPrincipal->hide();
}

void TfrmPrincipal::buildStatusBar() {
    sttPrincipal = new QStatusBar(this);
    sttPrincipal->setObjectName("sttPrincipal");
    sttPrincipal->setSizeGripEnabled(false);
    setStatusBar(sttPrincipal);
    auto panel = [this](const char* name, int width, int stretch) {
        auto* l = new QLabel(sttPrincipal);
        l->setObjectName(name);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(width);
        if (stretch == 0)
            l->setMaximumWidth(width);
        sttPrincipal->addWidget(l, stretch);
        return l;
    };
    sttPanel0 = panel("sttPanel0", 700, 0);
    sttPanel1 = panel("sttPanel1", 100, 0);
    // The last panel takes what is left, as it always did.
    sttPanel2 = panel("sttPanel2", 50, 1);
}

void TfrmPrincipal::FormCreate() {
    m_version = m_ctx.platform.programVersion();
    sttPanel0->setText(QString::fromUtf8(CompanyName));
    sttPanel1->setText(QString::fromUtf8("Versão ") + toQ(m_version));
    sttPanel2->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));

    bool settingsReadable = true;
    try {
        // The Integra location is taken once, here: a change counts at the next start. The connection
        // itself opens with the first statement that needs it.
        m_ctx.dm.sqlConIntegra.setDatabase(m_ctx.settings.read(Settings::Dados, Settings::KeyTabelasIntegra));
        if (!m_ctx.settings.exists())
            m_ctx.settings.writeFirstRunDefaults();
    } catch (const AppError& e) {
        // An unreadable or unwritable PELOMIRA.INI: the window still opens, and each command that
        // needs a setting says what is wrong when it runs.
        m_ctx.logs.reportFailure("OCORREU UM ERRO", e.what(), "Lendo as configurações");
        settingsReadable = false;
    }

    if (settingsReadable && VersionUpdate(m_ctx.platform, m_ctx.settings, m_ctx.op, m_ctx.logs).check())
        m_endRequested = true;

    // Only "0" lets the process requests through; settings that cannot be read block them.
    try {
        m_importBlocked = m_ctx.settings.read(Settings::Tabelas, Settings::KeyACIMTB) != "0";
    } catch (const AppError&) {
        m_importBlocked = true;
    }
    updateCommandStates();
}

QAction* TfrmPrincipal::actionOf(MainCommand command) const {
    switch (command) {
    case MainCommand::BuscarDI:
        return SISCOMEX1;
    case MainCommand::BuscarLI:
        return BuscarLI1;
    case MainCommand::BuscarDSI:
        return BuscarDSI1;
    case MainCommand::BuscarLSI:
        return BuscarLSI1;
    case MainCommand::NorvikDI:
        return NORVIK1;
    case MainCommand::Tabelas:
        return Tabelas1;
    case MainCommand::Retorno:
        return Processos1;
    case MainCommand::Exportador:
        return Exportador1;
    case MainCommand::Fabricante:
        return FabricanteExportador1;
    case MainCommand::Pais:
        return Pas1;
    case MainCommand::Unidade:
        return Unidade1;
    case MainCommand::Honeywell:
        return Honeywell1;
    case MainCommand::Samsung:
        return Samsung1;
    case MainCommand::Synthes:
        return Synthes1;
    case MainCommand::Configuracoes:
        return Configuraes2;
    case MainCommand::RecriarIndices:
        return Recriarndices1;
    }
    return nullptr;
}

bool TfrmPrincipal::blockedBySettings(MainCommand command) const {
    return m_importBlocked && isProcessRequest(command);
}

bool TfrmPrincipal::commandEnabled(MainCommand command) const {
    if (command == MainCommand::Configuracoes)
        return true;
    return m_actions.count(command) != 0 && !blockedBySettings(command);
}

void TfrmPrincipal::updateCommandStates() {
    for (int c = static_cast<int>(MainCommand::BuscarDI); c <= static_cast<int>(MainCommand::RecriarIndices); ++c) {
        const auto command = static_cast<MainCommand>(c);
        actionOf(command)->setEnabled(commandEnabled(command));
    }
    ImportarTabelas1->menuAction()->setEnabled(!m_importBlocked);
    ImportarTabelas1->setEnabled(!m_importBlocked);
    ToolButton1->setEnabled(commandEnabled(MainCommand::BuscarDI));
    ToolButton2->setEnabled(commandEnabled(MainCommand::Tabelas));
    ToolButton7->setEnabled(commandEnabled(MainCommand::Retorno));
    ToolButton3->setEnabled(true);
    ToolButton4->setEnabled(true);
}

void TfrmPrincipal::setCommand(MainCommand command, std::function<void()> action) {
    if (action)
        m_actions[command] = std::move(action);
    else
        m_actions.erase(command);
    updateCommandStates();
}

bool TfrmPrincipal::runCommand(MainCommand command) {
    if (!commandEnabled(command))
        return false;
    if (command == MainCommand::Configuracoes && !m_actions.count(command)) {
        Configuraes2Click();
        return true;
    }
    m_actions.at(command)();
    return true;
}

void TfrmPrincipal::hotKey(int id) {
    static const MainCommand byId[] = {MainCommand::Configuracoes, MainCommand::RecriarIndices, MainCommand::BuscarDI,
                                       MainCommand::BuscarLI,      MainCommand::BuscarDSI,      MainCommand::BuscarLSI,
                                       MainCommand::NorvikDI,      MainCommand::Tabelas,        MainCommand::Retorno};
    if (id >= 1 && id <= 9)
        runCommand(byId[id - 1]);
}

void TfrmPrincipal::runIntegration(int number) {
    switch (number) {
    case 1:
        runCommand(MainCommand::Samsung);
        break;
    case 2:
        runCommand(MainCommand::Synthes);
        break;
    case 3:
        runCommand(MainCommand::Honeywell);
        break;
    default:
        break;
    }
}

void TfrmPrincipal::Configuraes2Click() {
    // A new window each time, owned by this one through frmConfig until it closes.
    frmConfig = new TfrmConfig(m_ctx, Timer_Alerta);
    frmConfig->show();
    frmConfig->raise();
    frmConfig->activateWindow();
}

void TfrmPrincipal::FormShow() {
    try {
        const int interval =
            AlertInterval::fromSettings(m_ctx.settings.read(Settings::Alerta, Settings::KeyIntervalo),
                                        m_ctx.settings.read(Settings::Alerta, Settings::KeyTipoIntervalo));
        Timer_Alerta->setIntervalMs(interval);
        Timer_Alerta->enable();
    } catch (const std::exception& e) {
        // A bad interval would fire without pause or not at all: the alert stays off, and says so.
        Timer_Alerta->disable();
        m_ctx.op.message(std::string(kAlertOff) + e.what() + "\r" + kAlertFix, "Pelomira", MessageIcon::Warning);
    }
}

void TfrmPrincipal::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmPrincipal::hideToTray() {
    hide();
    TrayIcon->setVisible(true);
}

void TfrmPrincipal::restore() {
    // The whole screen also where no window manager maximises (a bare X server).
    if (const QScreen* s = screen())
        setGeometry(s->availableGeometry());
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    show();
    raise();
    activateWindow();
}

bool TfrmPrincipal::requestExit() {
    if (m_exiting)
        return true;
    if (!m_ctx.op.askYesNo(ExitQuestion, ExitCaption, MessageIcon::Question))
        return false;
    m_exiting = true;
    if (m_hotKeys)
        m_hotKeys->unregisterAll();
    TrayIcon->destroy();
    m_endApplication();
    return true;
}

void TfrmPrincipal::closeEvent(QCloseEvent* event) {
    // The window never closes by itself: the exit question decides, and a Yes ends the application.
    if (m_exiting) {
        event->accept();
        return;
    }
    event->ignore();
    requestExit();
}

void TfrmPrincipal::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isVisible())
        return;
    const auto old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if (windowState() & Qt::WindowMinimized) {
        // Minimised means gone to the notification area, without a task-bar button.
        QTimer::singleShot(0, this, [this] { hideToTray(); });
    } else if ((old & Qt::WindowMaximized) && !(windowState() & Qt::WindowMaximized)) {
        // The window is always shown maximised; a restore brings it back that way.
        QTimer::singleShot(0, this, [this] { restore(); });
    }
}
