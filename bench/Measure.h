#pragma once

// What the benchmarks measure: processor time of the measuring thread, and memory from the process's own
// status or from a fresh copy of the benchmark program, so that memory freed by earlier work does not
// hide what a piece of work needs.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <time.h>
#include <unistd.h>

namespace bench {

/// Processor time of this thread in seconds: the machine is shared, and other programs' load moves
/// wall-clock time far more than it moves the time the work itself takes.
inline double cpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

/// The processor time work takes, in seconds.
inline double seconds(const std::function<void()>& work) {
    const double start = cpuNow();
    work();
    return cpuNow() - start;
}

/// A kB figure of /proc/self/status ("VmRSS:", "VmHWM:"), or -1.
inline long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::strlen(key));
    return -1;
}

/// Peak memory growth of work, in bytes, from the process's high-water mark.
inline long peakGrowth(const std::function<void()>& work) {
    const long base = statusKb("VmRSS:");
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5"; // restart the high-water mark from the current size
    }
    work();
    return (statusKb("VmHWM:") - base) * 1024;
}

/// Runs this program again with "--memory" and arguments and reads the one number it prints, or -1.
inline long numberFromFreshProcess(const std::string& arguments) {
    const std::string command = "/proc/" + std::to_string(::getpid()) + "/exe --memory " + arguments;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    long value = -1;
    if (std::fscanf(pipe, "%ld", &value) != 1)
        value = -1;
    ::pclose(pipe);
    return value;
}

} // namespace bench
