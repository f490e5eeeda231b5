#pragma once

#include <string>
#include <vector>

/// Marks the program busy while a long operation runs (a transfer, a scan, a return, an export, an
/// integration). Everything runs on the one UI thread, but long operations let pending events run
/// between records, so the alert timer can tick in the middle of one; the timer asks busy() and skips
/// that tick instead of reusing the shared Orientador connection and return list under the running
/// operation.
///
/// Usage: `BusyGuard busy("Importando DI");` at the start of the operation; the program is busy
/// until the guard goes out of scope, also when the operation ends with an exception. Guards nest.
class BusyGuard {
public:
    explicit BusyGuard(std::string operation);
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    /// True while at least one guard is alive.
    static bool busy();
    /// The operation of the outermost live guard; empty when idle.
    static std::string operation();

private:
    static std::vector<std::string>& running();
};
