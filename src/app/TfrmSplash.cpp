#include "app/TfrmSplash.h"

#include "app/QtHotKeys.h"
#include "app/QtTray.h"
#include "app/TfrmPrincipal.h"
#include "base/AppContext.h"
#include "base/Operator.h"
#include "base/QtUi.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

namespace {

struct HotKeyDef {
    int id;
    unsigned modifiers;
    unsigned keysym; // X keysym: the lower-case character for letters
    const char* failure;
};

constexpr unsigned KeysymF12 = 0xFFC9;

const HotKeyDef kHotKeys[] = {
    {1, QtHotKeys::Control, KeysymF12, "Não foi possível definir <CTRL+F12> como tecla de atalho."},
    {2, QtHotKeys::Control, 'i', "Não foi possível definir <CTRL+I> como tecla de atalho."},
    {3, QtHotKeys::Alt, 'y', "Não foi possível definir <ALT+Y> como tecla de atalho."},
    {4, QtHotKeys::Alt, 'k', "Não foi possível definir <ALT+K> como tecla de atalho."},
    {5, QtHotKeys::Alt, 'z', "Não foi possível definir <ALT+Z> como tecla de atalho."},
    {6, QtHotKeys::Alt, 'w', "Não foi possível definir <ALT+W> como tecla de atalho."},
    {7, QtHotKeys::Alt, 'x', "Não foi possível definir <ALT+X> como tecla de atalho."},
    {8, QtHotKeys::Alt, 't', "Não foi possível definir <ALT+T> como tecla de atalho."},
    {9, QtHotKeys::Alt, 'r', "Não foi possível definir <ALT+R> como tecla de atalho."},
};

} // namespace

TfrmSplash::TfrmSplash(AppContext& ctx, bool startInTray, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_ctx(ctx), m_startInTray(startInTray) {
    setObjectName("frmSplash");
    setWindowTitle(QStringLiteral("Pelomira"));
    setFixedSize(455, 127);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* picture = new QLabel(this);
    picture->setObjectName("imgSplash");
    picture->setPixmap(QPixmap(QStringLiteral(":/images/splash.png")));
    picture->setGeometry(14, 13, 100, 100);

    auto* product = new QLabel(QStringLiteral("PELOMIRA"), this);
    product->setObjectName("lblProduto");
    QFont big = product->font();
    big.setPointSize(28);
    big.setBold(true);
    product->setFont(big);
    product->setStyleSheet(QStringLiteral("color: #1E4E9C"));
    product->setGeometry(130, 18, 310, 50);

    auto* line = new QLabel(QString::fromUtf8("Integração SISCOMEX - MERLIN"), this);
    line->setObjectName("lblIntegracao");
    QFont mid = line->font();
    mid.setPointSize(12);
    line->setFont(mid);
    line->setGeometry(132, 74, 310, 26);

    m_hotKeys = new QtHotKeys(this);
    connect(m_hotKeys, &QtHotKeys::activated, this, [this](int id) {
        if (m_principal)
            m_principal->hotKey(id);
    });

    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setInterval(StartDelayMs);
    connect(Timer, &QTimer::timeout, this, &TfrmSplash::TimerTimer);
    Timer->start();

    centreOnScreen(this);
}

TfrmSplash::~TfrmSplash() {
    m_hotKeys->unregisterAll();
}

bool TfrmSplash::startsInTray(const QStringList& arguments) {
    return arguments.size() > 1 && arguments.at(1).toUpper() == QStringLiteral("/M");
}

const char* TfrmSplash::hotKeyFailureText(int id) {
    for (const auto& k : kHotKeys)
        if (k.id == id)
            return k.failure;
    return "";
}

void TfrmSplash::registerHotKeys() {
    for (const auto& k : kHotKeys)
        if (!m_hotKeys->registerKey(k.id, k.modifiers, k.keysym))
            m_ctx.op.message(k.failure, "Pelomira", MessageIcon::None);
}

void TfrmSplash::TimerTimer() {
    Timer->stop(); // once
    registerHotKeys();
    m_ctx.op.processEvents();

    m_principal = std::make_unique<TfrmPrincipal>(m_ctx);
    m_principal->setHotKeys(m_hotKeys);
    if (m_end)
        m_principal->setApplicationEnd(m_end);
    if (m_principal->endRequested()) {
        // The installer runs now; this copy ends without showing its window.
        hide();
        m_hotKeys->unregisterAll();
        if (m_end)
            m_end();
        else
            QCoreApplication::exit(0);
        return;
    }
    if (m_onCreated)
        m_onCreated(*m_principal);

    hide();
    m_principal->tray().setVisible(true);
    if (!m_startInTray)
        m_principal->restore();
}
