#pragma once

/// The alert timer of the main window as the settings see it. The Qt implementation is
/// QtAlertScheduler; the settings save applies a new interval through this interface.
class AlertTimer {
public:
    virtual ~AlertTimer() = default;
    virtual void disable() = 0;
    virtual void setIntervalMs(int milliseconds) = 0;
    /// The interval in milliseconds; 0 while none has been set.
    virtual int intervalMs() const = 0;
    /// Starts the timer. Without an interval the timer stays off: it never fires continuously.
    virtual void enable() = 0;
    virtual bool enabled() const = 0;
};
