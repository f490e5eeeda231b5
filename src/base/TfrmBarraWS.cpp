#include "base/TfrmBarraWS.h"

#include "base/QtUi.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QMovie>
#include <QTimer>

TfrmBarraWS::TfrmBarraWS(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("frmBarraWS");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(298, 181);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    lblAguarde = new QLabel(QString::fromUtf8(WaitText), this);
    lblAguarde->setObjectName("lblAguarde");
    QFont f = lblAguarde->font();
    f.setBold(true);
    lblAguarde->setFont(f);
    lblAguarde->setAlignment(Qt::AlignCenter);
    lblAguarde->setGeometry(8, 24, 282, 24);

    imgAnimacao = new QLabel(this);
    imgAnimacao->setObjectName("imgAnimacao");
    imgAnimacao->setAlignment(Qt::AlignCenter);
    imgAnimacao->setGeometry(8, 64, 282, 96);
    m_movie = new QMovie(QStringLiteral(":/images/aguarde.gif"), QByteArray(), this);
    imgAnimacao->setMovie(m_movie);
    m_movie->start();

    // Also a title, which no one sees on a frameless window, so tools and tests can find it.
    setWindowTitle(QString::fromUtf8(WaitText));
    centreOnScreen(this);
    show();
}

void TfrmBarraWS::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    m_painted = true;
    // Leave the wait once this paint has been handed to the screen, which happens after this returns.
    if (m_waitingForPaint)
        QTimer::singleShot(0, m_waitingForPaint, &QEventLoop::quit);
}

bool TfrmBarraWS::waitUntilPainted(int timeoutMs) {
    if (!m_painted) {
        QEventLoop loop;
        m_waitingForPaint = &loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_waitingForPaint = nullptr;
    }
    // The drawing must reach the display server before the program stops answering it.
    QGuiApplication::sync();
    return m_painted;
}
