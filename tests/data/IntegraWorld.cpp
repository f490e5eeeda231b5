#include "IntegraWorld.h"

#include "base/TextUtils.h"
#include "data/IntegraSchema.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

IntegraWorld::IntegraWorld(const std::string& serverAddress) {
    location = serverAddress.empty() ? env.path("INTEGRA.FDB") : serverAddress + ":" + env.path("INTEGRA.FDB");
    // Throw-away databases need not wait for the disk on every commit.
    IntegraDatabase::create(location, integraSchemaSql(), false);
    dm.sqlConIntegra.setDatabase(location);
    m_side.setDatabase(location);
}

IntegraResult IntegraWorld::sql(const std::string& statement) {
    return m_side.query(statement);
}

std::vector<std::string> IntegraWorld::column(const std::string& query) {
    std::vector<std::string> values;
    for (const auto& row : sql(query).rows)
        values.push_back(row.at(0).value_or("<null>"));
    return values;
}

std::vector<std::string> IntegraWorld::errorLog() const {
    std::vector<std::string> lines;
    const std::string content = TestEnv::readFile(env.home() + Logs::ErrorFile);
    for (const std::string& line : split(content, '\n')) {
        const std::string l = trimRight(line);
        if (!l.empty())
            lines.push_back(l);
    }
    if (!lines.empty())
        lines.erase(lines.begin());
    return lines;
}

std::string loopbackServer() {
    const char* env = std::getenv("PELOMIRA_FB_PORT");
    const int port = env && *env ? std::atoi(env) : 30535;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return std::string();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool reachable = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return reachable ? "127.0.0.1/" + std::to_string(port) : std::string();
}

std::string integraHelperProgram() {
    return INTEGRA_TEST_HELPER;
}

std::string ChildProcess::readLine() {
    std::string line;
    char c;
    while (stdoutFd >= 0 && ::read(stdoutFd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

int ChildProcess::wait() {
    if (stdinFd >= 0)
        ::close(stdinFd);
    if (stdoutFd >= 0)
        ::close(stdoutFd);
    stdinFd = stdoutFd = -1;
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ChildProcess startProcess(const std::vector<std::string>& args, bool pipes, const std::string& outputFile) {
    ChildProcess child;
    int in[2] = {-1, -1}, out[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pipes) {
        // Close-on-exec, so no other child inherits our ends and keeps a pipe open.
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    } else if (!outputFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int rc = ::posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (pipes) {
        ::close(in[0]);
        ::close(out[1]);
        child.stdinFd = in[1];
        child.stdoutFd = out[0];
    }
    if (rc != 0)
        throw std::runtime_error("could not start " + args.at(0));
    return child;
}
