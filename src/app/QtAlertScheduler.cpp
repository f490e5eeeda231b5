#include "app/QtAlertScheduler.h"

#include "base/BusyGuard.h"
#include "base/Logs.h"

#include <QTimer>

QtAlertScheduler::QtAlertScheduler(Logs& logs, QObject* parent) : QObject(parent), m_logs(logs) {
    setObjectName("Timer_Alerta");
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &QtAlertScheduler::Timer_AlertaTimer);
}

void QtAlertScheduler::disable() {
    m_timer->stop();
}

void QtAlertScheduler::setIntervalMs(int milliseconds) {
    m_interval = milliseconds > 0 ? milliseconds : 0;
    if (m_interval > 0)
        m_timer->setInterval(m_interval);
    else
        m_timer->stop();
}

void QtAlertScheduler::enable() {
    // Without an interval the timer would fire without pause: it stays off.
    if (m_interval > 0)
        m_timer->start(m_interval);
}

bool QtAlertScheduler::enabled() const {
    return m_timer->isActive();
}

void QtAlertScheduler::Timer_AlertaTimer() {
    if (!m_work)
        return;
    if (BusyGuard::busy()) {
        ++m_skipped;
        m_logs.activity("Checagem automática adiada: " + BusyGuard::operation() + " em andamento");
        return;
    }
    BusyGuard busy(WorkProcedure);
    try {
        m_work();
    } catch (const std::exception& e) {
        m_logs.error(WorkProcedure, e.what());
    }
}
