#include "base/TfrmProgresso.h"

#include "base/QtGauge.h"
#include "base/QtUi.h"
#include "base/TextUtils.h"

#include <QLabel>
#include <QProgressBar>

TfrmProgresso::TfrmProgresso(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("frmProgresso");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Width, Height);

    Gauge = new QtGauge(this);
    Gauge->setObjectName("Gauge");
    Gauge->setGeometry(0, 0, Width, Height);
    Gauge->setMaxValue(0);

    // Below the client area: it keeps the count, the gauge shows it.
    pbProgresso = new QProgressBar(this);
    pbProgresso->setObjectName("pbProgresso");
    pbProgresso->setGeometry(0, Height, Width, 16);
    pbProgresso->setRange(0, 0);
    pbProgresso->setValue(0);

    centreOnScreen(this);
}

void TfrmProgresso::open(int start, int total, const std::string& title) {
    setWindowTitle(toQ(trim(title)));
    pbProgresso->setMaximum(total);
    pbProgresso->setValue(start);
    Gauge->setMaxValue(total);
    show();
}

void TfrmProgresso::step(int current, int total, const std::string& text, QLabel* textLabel, QLabel* percentLabel,
                         bool advanceGauge) {
    pbProgresso->setValue(pbProgresso->value() + 1);
    setWindowTitle(toQ(text));
    if (textLabel)
        textLabel->setText(toQ(text));
    if (percentLabel)
        percentLabel->setText(toQ(progressPercentText(current, total)));
    if (advanceGauge)
        Gauge->addProgress(1);
}
