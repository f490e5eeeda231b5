#include "base/QtGauge.h"

#include <QPainter>

#include <algorithm>

QtGauge::QtGauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void QtGauge::setMaxValue(int maximum) {
    m_max = maximum;
    update();
}

void QtGauge::setProgress(int progress) {
    m_progress = progress;
    update();
}

int QtGauge::percentDone() const {
    if (m_max <= 0)
        return 0;
    const long long p = static_cast<long long>(m_progress) * 100 / m_max;
    return static_cast<int>(std::clamp(p, 0LL, 100LL));
}

QString QtGauge::text() const {
    return QString::number(percentDone()) + QLatin1Char('%');
}

void QtGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect all = rect();
    const QRect inner = all.adjusted(1, 1, -1, -1);
    p.fillRect(all, Qt::white);
    p.setPen(Qt::gray);
    p.drawRect(all.adjusted(0, 0, -1, -1));

    const QColor navy(0, 0, 128);
    const int filled =
        m_max > 0 ? static_cast<int>(static_cast<long long>(inner.width()) * std::clamp(m_progress, 0, m_max) / m_max)
                  : 0;
    const QRect fillRect(inner.left(), inner.top(), filled, inner.height());
    p.fillRect(fillRect, navy);

    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    // Navy text on the white part, white text on the navy part.
    p.setPen(navy);
    p.setClipRect(QRect(inner.left() + filled, inner.top(), inner.width() - filled, inner.height()));
    p.drawText(inner, Qt::AlignCenter, text());
    p.setPen(Qt::white);
    p.setClipRect(fillRect);
    p.drawText(inner, Qt::AlignCenter, text());
}
