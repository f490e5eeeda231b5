#pragma once

#include <string>

/// A request to end the program from outside (SIGTERM from the system or `kill`, SIGINT from Ctrl+C)
/// turned into something the program handles at a point of its choosing: the window leaves its event
/// loop and closes its connections; pelomira-cli stops its operation between two records.
///
/// After install() the first such signal is only noted: received() names it and readFd() becomes
/// readable (for an event loop to watch). A second one ends the process at once, as it would without
/// the program's handling, for when the first did not make it stop.
class TerminationSignals {
public:
    /// Installs the handlers (once; later calls do nothing). Call first thing in main.
    static void install();
    /// The read end of the pipe the handler writes into; −1 before install().
    static int readFd();
    /// The signal received (SIGTERM, SIGINT), or 0.
    static int received();
    /// "SIGTERM", "SIGINT" (the number for any other).
    static std::string name(int signal);
};
