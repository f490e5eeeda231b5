#include "platform/TerminationSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<int> g_received{0};
int g_pipe[2] = {-1, -1};

// The first request is noted; a second one ends the process the way the signal ends a program that
// does not handle it.
void note(int signal) {
    int expected = 0;
    if (g_received.compare_exchange_strong(expected, signal)) {
        const char byte = static_cast<char>(signal);
        (void)!::write(g_pipe[1], &byte, 1);
        return;
    }
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

extern "C" void onTerminationSignal(int signal) {
    const int savedErrno = errno;
    note(signal);
    errno = savedErrno;
}

} // namespace

void TerminationSignals::install() {
    static const bool installed = [] {
        if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return false;
        sigset_t both;
        sigemptyset(&both);
        sigaddset(&both, SIGTERM);
        sigaddset(&both, SIGINT);
        // The signals are taken by one thread of ours and no handler runs: the Firebird client would
        // otherwise react to them itself (ending every connection, and leaving its engine slow to let
        // go of the file afterwards). Threads started later inherit the blocked mask; programs this
        // one starts get a clear one back (LinuxPlatform).
        ::pthread_sigmask(SIG_BLOCK, &both, nullptr);
        std::promise<void> started;
        std::future<void> running = started.get_future();
        std::thread([both, started = std::move(started)]() mutable {
            started.set_value();
            for (;;) {
                int signal = 0;
                if (::sigwait(&both, &signal) == 0)
                    note(signal);
            }
        }).detach();
        // A short command could otherwise end while the thread is still being set up.
        running.wait();
        // Should a thread unblock them after all, the request still comes here.
        struct sigaction action {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGINT, &action, nullptr);
        return true;
    }();
    (void)installed;
}

int TerminationSignals::readFd() {
    return g_pipe[0];
}

int TerminationSignals::received() {
    return g_received.load();
}

std::string TerminationSignals::name(int signal) {
    switch (signal) {
    case SIGTERM:
        return "SIGTERM";
    case SIGINT:
        return "SIGINT";
    default:
        return "sinal " + std::to_string(signal);
    }
}
