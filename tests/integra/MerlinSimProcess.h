#pragma once

#include "TestEnv.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

/// The real merlin-sim on a free port of 127.0.0.1, behaving as a control file says (rewritten by the
/// test, read again by the server at every request); stopped when this object goes away.
class MerlinSimProcess {
public:
    explicit MerlinSimProcess(const TestEnv& env) : m_env(env) {
        const std::string program = PELOMIRA_BINARY_DIR "/bin/merlin-sim";
        const std::string portFile = env.path("sim.port"), control = env.path("sim.control");
        const std::string log = env.path("sim.log"), out = env.path("sim.out");
        TestEnv::writeFile(control, "");
        m_pid = fork();
        if (m_pid == 0) {
            const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            dup2(fd, 2);
            execl(program.c_str(), program.c_str(), "--port", "0", "--port-file", portFile.c_str(), "--docs",
                  env.root().c_str(), "--log", log.c_str(), "--control", control.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 400 && !TestEnv::exists(portFile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        if (TestEnv::exists(portFile))
            m_port = std::stoi(TestEnv::readFile(portFile));
    }
    ~MerlinSimProcess() { stop(); }
    MerlinSimProcess(const MerlinSimProcess&) = delete;
    MerlinSimProcess& operator=(const MerlinSimProcess&) = delete;

    bool running() const { return m_port > 0 && m_pid > 0; }
    /// The value of the WebService2 setting that reaches it.
    std::string webService2() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/ws"; }
    void rules(const std::string& text) { TestEnv::writeFile(m_env.path("sim.control"), text); }
    std::string log() const { return TestEnv::readFile(m_env.path("sim.log")); }

    void stop() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && waitpid(m_pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (waitpid(m_pid, &status, WNOHANG) == 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
        }
        m_pid = -1;
    }

private:
    const TestEnv& m_env;
    pid_t m_pid = -1;
    int m_port = 0;
};
