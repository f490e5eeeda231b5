#pragma once

#include "base/AlertTimer.h"

#include <QObject>

#include <functional>

class Logs;
class QTimer;

/// The alert timer of the main window (Timer_Alerta). Each tick runs the work given with setWork (the
/// registration scan and automatic return); a tick with no work does nothing. When a long operation is
/// running (BusyGuard), the tick is skipped and the skip noted in the activity log, so the scan never
/// runs on the shared connections under a transfer that is letting events through.
class QtAlertScheduler : public QObject, public AlertTimer {
    Q_OBJECT
public:
    static constexpr const char* WorkProcedure = "Retorno Automático";

    QtAlertScheduler(Logs& logs, QObject* parent = nullptr);

    void disable() override;
    void setIntervalMs(int milliseconds) override;
    int intervalMs() const override { return m_interval; }
    void enable() override;
    bool enabled() const override;

    /// The work of a tick. It reports its own failures; one that escapes is noted in ERRO.CSV.
    void setWork(std::function<void()> work) { m_work = std::move(work); }
    bool hasWork() const { return static_cast<bool>(m_work); }
    /// Ticks skipped because an operation was running.
    int skippedTicks() const { return m_skipped; }

public slots:
    /// One tick (Timer_AlertaTimer).
    void Timer_AlertaTimer();

private:
    Logs& m_logs;
    QTimer* m_timer;
    std::function<void()> m_work;
    int m_interval = 0;
    int m_skipped = 0;
};
