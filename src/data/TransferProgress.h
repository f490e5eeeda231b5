#pragma once

#include "base/Operator.h"

#include <chrono>
#include <functional>
#include <string>

/// The progress of a running transfer: the shared counter that the table steps and every successful
/// field write raise, the step count its progress window was opened with, and the clock whose local
/// date dates the micro numbers.
struct TransferProgress {
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    int counter = 0;
    int steps = 0;
    /// Fields reported and left unwritten during the whole run (not reset with the counter).
    int fieldErrors = 0;
    Clock now = [] { return std::chrono::system_clock::now(); };

    /// Counter back to 0 for a progress window of stepCount steps.
    void reset(int stepCount) {
        counter = 0;
        steps = stepCount;
    }

    /// One step: the counter goes up by one and the progress window advances with text, its percentage
    /// taken against total (the transfer's step count when total is negative); then the window is drawn.
    void step(Operator& op, const std::string& text, int total = -1) {
        ++counter;
        op.progressStep(counter, total < 0 ? steps : total, text, true);
        op.processEvents();
    }
};
