#pragma once

// Memory figures the benchmarks print: from the process's own status, and from a fresh copy of the
// benchmark program, so that memory freed by earlier work does not hide what a piece of work needs.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

namespace bench {

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
