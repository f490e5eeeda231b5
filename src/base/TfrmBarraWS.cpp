#include "base/TfrmBarraWS.h"

#include "base/QtUi.h"

#include <QLabel>
#include <QMovie>

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

    centreOnScreen(this);
    show();
}
