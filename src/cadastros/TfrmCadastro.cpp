#include "cadastros/TfrmCadastro.h"

#include "base/QtControls.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/BusyGuard.h"
#include "base/Logs.h"
#include "base/QtUi.h"
#include "base/TBarraCadastro.h"
#include "base/TextUtils.h"
#include "cadastros/Registry.h"
#include "cadastros/RegistryImport.h"
#include "data/QtDBEdit.h"
#include "data/RecordSet.h"
#include "data/TDM.h"
#include "data/TfrmPesquisa.h"
#include "platform/Platform.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>

#include <map>

namespace {

using namespace controls;

constexpr int Margin = 8;
constexpr int StatusHeight = 22;
constexpr int WindowWidth = TBarraCadastro::Width + 2 * Margin;
constexpr int ToolbarTop = 110;
constexpr int WindowHeight = ToolbarTop + TBarraCadastro::Height + Margin + StatusHeight;

const char* const OpenFailureProcedure = "Abrindo ";

// Windows open per registry table, and in all: the chain and the connection are shared, so they are
// closed only when the last window that uses them goes.
std::map<std::string, int>& windowsByTable() {
    static std::map<std::string, int> counts;
    return counts;
}
int& windowsInAll() {
    static int count = 0;
    return count;
}

bool leavesWithinWindow(const QEvent* event) {
    // Switching to another window (or a popup) moves no focus inside this one: no Enter, no Exit.
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

RegistryEditState editStateOf(const RecordSet& rows) {
    if (!rows.active())
        return RegistryEditState::Browse;
    switch (rows.state()) {
    case RecordSet::State::Insert:
        return RegistryEditState::Insert;
    case RecordSet::State::Edit:
        return RegistryEditState::Edit;
    default:
        return RegistryEditState::Browse;
    }
}

} // namespace

TfrmCadastro::TfrmCadastro(AppContext& ctx, const Registry& registry, const char* descriptionEditName,
                           const char* descriptionLabel, const char* statusBarName, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_ops(ctx, registry) {
    setObjectName(toQ("frm" + registry.formClass.substr(4)));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(toQ(registry.caption));
    setFixedSize(WindowWidth, WindowHeight);

    label(this, "lblCodigoMerlin", CodeLabel, Margin, 10, 200);
    dbeCodigoMerlin = new QtDBEdit(this);
    dbeCodigoMerlin->setObjectName("dbeCodigoMerlin");
    dbeCodigoMerlin->setGeometry(Margin, 27, 121, EditHeight);
    btnPesquisar = button(this, "btnPesquisar", SearchCaption, Margin + 121 + 6, 26);
    btnImportar = button(this, "btnImportar", ImportCaption, WindowWidth - Margin - ButtonWidth, 26);

    label(this, (std::string("lbl") + (descriptionEditName + 3)).c_str(), descriptionLabel, Margin, 58, 200);
    m_description = new QtDBEdit(this);
    m_description->setObjectName(descriptionEditName);
    m_description->setGeometry(Margin, 75, TBarraCadastro::Width, EditHeight);

    // Throws when a glyph is missing: the window is then never shown.
    BarraCadastro = new TBarraCadastro(ctx.platform.programFolder(), this);
    BarraCadastro->move(Margin, ToolbarTop);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(statusBarName);
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setGeometry(0, WindowHeight - StatusHeight, WindowWidth, StatusHeight);
    m_status = new QLabel(m_statusBar);
    m_status->setObjectName("pnlStatus");
    m_statusBar->addWidget(m_status, 1);

    setTabOrder(dbeCodigoMerlin, m_description);
    dbeCodigoMerlin->installEventFilter(this);
    connect(BarraCadastro, &TBarraCadastro::OnClick, this, &TfrmCadastro::BarraCadastroClick);
    connect(btnPesquisar, &QPushButton::clicked, this, [this] { btnPesquisarClick(); });
    connect(btnImportar, &QPushButton::clicked, this, [this] { btnImportarClick(); });

    // The connection is made with the window, so a database that cannot be reached keeps it closed.
    ctx.dm.sqlConIntegra.connect();
    ++windowsByTable()[registry.table];
    ++windowsInAll();
    m_registered = true;
    centreOnScreen(this);
    dbeCodigoMerlin->setFocus();
}

TfrmCadastro::~TfrmCadastro() {
    release();
}

TfrmCadastro* TfrmCadastro::open(AppContext& ctx, const Registry& registry,
                                 const std::function<TfrmCadastro*()>& make) {
    TfrmCadastro* window = nullptr;
    try {
        window = make();
    } catch (const std::exception& e) {
        ctx.logs.reportFailure("Não foi possível abrir a janela " + registry.caption + ".", e.what(),
                               OpenFailureProcedure + registry.caption);
        return nullptr;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

int TfrmCadastro::openWindows() {
    return windowsInAll();
}

RecordSet& TfrmCadastro::rows() {
    return m_ops.rows();
}

QString TfrmCadastro::statusText() const {
    return m_status->text();
}

void TfrmCadastro::setStatus(const std::string& text) {
    m_status->setText(toQ(text));
}

std::string TfrmCadastro::lookupProcedure() const {
    return "Consultando dados da tabela " + registry().table;
}

bool TfrmCadastro::guarded(const std::string& procedure, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        m_ctx.logs.reportFailure(RegistryOperations::FailureHeadline, e.what(), procedure, procedure);
        return false;
    }
}

void TfrmCadastro::ensureOpen() {
    // A failed statement leaves the chain closed; its last query brings it back.
    if (!rows().active())
        m_ops.table().open();
}

void TfrmCadastro::startInsert(const std::string& code) {
    ensureOpen();
    rows().insert();
    dbeCodigoMerlin->setFieldText(toQ(code));
}

// ---------------------------------------------------------------- window events

void TfrmCadastro::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown by the program, not restored from a minimised state.
    if (!event->spontaneous())
        FormShow();
}

void TfrmCadastro::closeEvent(QCloseEvent* event) {
    m_closing = true;
    release();
    event->accept();
}

void TfrmCadastro::release() {
    if (m_released)
        return;
    m_released = true;
    dbeCodigoMerlin->bind(nullptr, std::string());
    m_description->bind(nullptr, std::string());
    if (!m_registered)
        return;
    if (--windowsByTable()[registry().table] <= 0)
        m_ops.table().close();
    if (--windowsInAll() <= 0)
        m_ctx.dm.sqlConIntegra.disconnect();
}

bool TfrmCadastro::eventFilter(QObject* watched, QEvent* event) {
    if (watched != dbeCodigoMerlin || m_closing)
        return QWidget::eventFilter(watched, event);
    const bool reacts = registry().codeFieldReacts;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (reacts && (leavesWithinWindow(event) || !m_codeFieldEntered)) {
            m_codeFieldEntered = true;
            dbeCodigoMerlinEnter();
        }
        break;
    case QEvent::FocusOut:
        if (reacts && leavesWithinWindow(event)) {
            m_codeFieldEntered = false;
            dbeCodigoMerlinExit();
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const Qt::KeyboardModifiers shifts =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (key->key() == Qt::Key_V && shifts == Qt::AltModifier) {
            // Never typed as a letter; only the windows whose code field reacts propose a code.
            if (reacts)
                dbeCodigoMerlinCodigoVago();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- handlers

void TfrmCadastro::FormShow() {
    m_newRecordMode = false;
    guarded(lookupProcedure(), [this] { m_ops.showAll(); });
    dbeCodigoMerlin->bind(&rows(), registry().codeColumn);
    m_description->bind(&rows(), Registry::DescriptionColumn);
    // The lookup of the code field runs once here, in every window (also where the field itself
    // has no handlers).
    dbeCodigoMerlinExit();
}

void TfrmCadastro::dbeCodigoMerlinEnter() {
    setStatus(RegistryOperations::CodeFieldHint);
}

void TfrmCadastro::dbeCodigoMerlinExit() {
    if (m_inCodeExit)
        return;
    m_inCodeExit = true;
    setStatus("");
    const std::string code = trim(fromQ(dbeCodigoMerlin->text()));
    guarded(lookupProcedure(), [&] {
        if (m_ops.codeFieldExit(code, m_newRecordMode) != RegistryOperations::CodeExit::Insert)
            return;
        // New (when the operator accepted the question) or the new row already asked for: the code
        // typed becomes the new row's code.
        m_newRecordMode = true;
        startInsert(code);
        m_description->setFocus();
    });
    m_newRecordMode = false;
    m_inCodeExit = false;
}

void TfrmCadastro::dbeCodigoMerlinCodigoVago() {
    m_newRecordMode = true;
    guarded(lookupProcedure(), [this] {
        ensureOpen();
        rows().insert();
        const std::string code = m_ops.nextFreeCode();
        rows().cancel();
        rows().insert();
        dbeCodigoMerlin->setFieldText(toQ(code));
        m_description->setFocus();
    });
}

void TfrmCadastro::BarraCadastroClick(TBarraCadastro*, int index) {
    switch (index) {
    case 0:
        Salvar();
        break;
    case 1:
        Incluir();
        break;
    case 2:
        Excluir();
        break;
    case 3:
        LimparCampos();
        break;
    case 4:
        close();
        break;
    default:
        break;
    }
}

void TfrmCadastro::Salvar() {
    RecordSet& r = rows();
    const RegistryEditState state = editStateOf(r);
    const std::string code = state == RegistryEditState::Browse ? std::string() : r.text(registry().codeColumn);
    const std::string description =
        state == RegistryEditState::Browse ? std::string() : r.text(Registry::DescriptionColumn);
    const RegistryOperations::SaveOutcome outcome = m_ops.save(state, code, description);
    if (outcome.saved) {
        setStatus(outcome.status);
        return;
    }
    if (outcome.focus == RegistryOperations::SaveOutcome::Focus::Code)
        dbeCodigoMerlin->setFocus();
    else if (outcome.focus == RegistryOperations::SaveOutcome::Focus::Description)
        m_description->setFocus();
    else if (state != RegistryEditState::Browse)
        restorePending(state, code, description);
}

void TfrmCadastro::restorePending(RegistryEditState state, const std::string& code, const std::string& description) {
    // The failed statement closed the chain and with it the row being typed; bring the row back so
    // the operator can correct it and save again instead of typing it anew.
    try {
        ensureOpen();
        RecordSet& r = rows();
        if (state == RegistryEditState::Insert)
            r.insert();
        else if (r.locate(registry().codeColumn, code))
            r.edit();
        else
            return;
        dbeCodigoMerlin->setFieldText(toQ(code));
        m_description->setFieldText(toQ(description));
    } catch (const std::exception&) {
        // The failure has been reported; the fields stay as the closed chain shows them.
    }
}

void TfrmCadastro::Incluir() {
    m_newRecordMode = true;
    guarded(lookupProcedure(), [this] {
        ensureOpen();
        rows().insert();
    });
    dbeCodigoMerlin->setFocus();
}

void TfrmCadastro::Excluir() {
    RecordSet& r = rows();
    const std::string rowCode = r.active() ? r.text(registry().codeColumn) : std::string();
    const std::string rowDescription = r.active() ? r.text(Registry::DescriptionColumn) : std::string();
    const RegistryOperations::DeleteOutcome outcome =
        m_ops.remove(fromQ(dbeCodigoMerlin->text()), rowCode, rowDescription);
    if (!outcome.deleted)
        return;
    // Show again (the table was read again, the last row current), then the confirmation, so the
    // lookup of Show does not wipe it from the status bar at once.
    m_newRecordMode = false;
    dbeCodigoMerlinExit();
    setStatus(outcome.status);
}

void TfrmCadastro::LimparCampos() {
    dbeCodigoMerlin->clear();
    m_description->clear();
    dbeCodigoMerlin->setFocus();
    guarded(lookupProcedure(), [this] {
        ensureOpen();
        rows().insert();
    });
}

void TfrmCadastro::btnPesquisarClick() {
    TfrmPesquisa::Pesquisar(m_ctx, m_ops.table(), this);
}

void TfrmCadastro::btnImportarClick() {
    BusyGuard busy(RegistryImport(m_ctx, registry()).failureProcedure());
    RegistryImport(m_ctx, registry()).run();
}
