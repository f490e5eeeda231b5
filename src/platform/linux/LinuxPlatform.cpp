#include "platform/linux/LinuxPlatform.h"

#include "Version.h"
#include "platform/Paths.h"
#include "platform/ProgramVersion.h"
#include "platform/SystemError.h"
#include "platform/TextCase.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <limits.h>
#include <map>
#include <optional>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::string stripTrailingSeparators(std::string s);

// The settings ("Windows") folder a process with these environment variables uses.
std::string settingsFolderOf(const std::function<std::string(const char*)>& env) {
    std::string base = env("XDG_CONFIG_HOME");
    if (base.empty()) {
        std::string home = env("HOME");
        if (home.empty())
            if (const passwd* pw = ::getpwuid(::getuid()))
                home = pw->pw_dir;
        base = joinPath(home.empty() ? "/" : home, ".config");
    }
    const std::string own = env("PELOMIRA_WINDIR");
    return stripTrailingSeparators(own.empty() ? joinPath(base, "pelomira") : own);
}

// The environment of another process, or nullopt when it cannot be read (it may have ended).
std::optional<std::map<std::string, std::string>> environmentOf(const std::string& procDir) {
    std::ifstream in(procDir + "/environ", std::ios::binary);
    if (!in)
        return std::nullopt;
    std::map<std::string, std::string> vars;
    std::string entry;
    while (std::getline(in, entry, '\0')) {
        const size_t eq = entry.find('=');
        if (eq != std::string::npos)
            vars.emplace(entry.substr(0, eq), entry.substr(eq + 1));
    }
    return vars;
}

std::string stripTrailingSeparators(std::string s) {
    while (s.size() > 1 && endsWithSeparator(s))
        s.pop_back();
    return s;
}

std::string readLink(const std::string& path) {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// The real user of a process, from the "Uid:" line of its status; −1 when it cannot be read (the
// process is gone).
long long processUser(const std::string& procFolder) {
    std::ifstream in(procFolder + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("Uid:", 0) == 0)
            return std::strtoll(line.c_str() + 4, nullptr, 10);
    return -1;
}

std::string readFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// Splits a command line at blanks, keeping "quoted parts" together.
std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> args;
    std::string current;
    bool quoted = false, any = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any)
                args.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        args.push_back(current);
    return args;
}

// Starts argv in workDir without waiting; the child is detached so it never lingers as a zombie.
bool spawnDetached(const std::vector<std::string>& args, const std::string& workDir, std::string& why) {
    if (args.empty()) {
        why = "linha de comando vazia";
        return false;
    }
    int pipefd[2];
    if (::pipe2(pipefd, O_CLOEXEC) != 0) {
        why = systemErrorText(errno);
        return false;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        why = systemErrorText(errno);
        ::close(pipefd[0]);
        ::close(pipefd[1]);
        return false;
    }
    if (pid == 0) {
        ::close(pipefd[0]);
        // The program takes SIGTERM and SIGINT in a thread of its own, with them blocked; a program it
        // starts must get them as usual.
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0)
            ::_exit(grandchild < 0 ? 127 : 0);
        if (!workDir.empty() && ::chdir(workDir.c_str()) != 0) {
            const int e = errno;
            (void)!::write(pipefd[1], &e, sizeof e);
            ::_exit(127);
        }
        std::vector<char*> argv;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        const int e = errno;
        (void)!::write(pipefd[1], &e, sizeof e);
        ::_exit(127);
    }
    ::close(pipefd[1]);
    int childErrno = 0;
    const ssize_t n = ::read(pipefd[0], &childErrno, sizeof childErrno);
    ::close(pipefd[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (n == static_cast<ssize_t>(sizeof childErrno)) {
        why = systemErrorText(childErrno);
        return false;
    }
    return true;
}

} // namespace

std::unique_ptr<Platform> Platform::createNative() {
    return std::make_unique<LinuxPlatform>();
}

std::string LinuxPlatform::windowsFolder() const {
    return settingsFolderOf([](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::string(v) : std::string();
    });
}

std::string LinuxPlatform::programFolder() const {
    std::string folder = std::getenv("PELOMIRA_HOME") && *std::getenv("PELOMIRA_HOME")
                             ? std::string(std::getenv("PELOMIRA_HOME"))
                             : folderOf(readLink("/proc/self/exe"));
    if (!endsWithSeparator(folder))
        folder += "/";
    return folder;
}

std::string LinuxPlatform::homeFolder() const {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()))
        return pw->pw_dir;
    return "/";
}

std::string LinuxPlatform::computerName() const {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0)
        return std::string();
    return buf;
}

std::string LinuxPlatform::registeredUserName() const {
    if (const passwd* pw = ::getpwuid(::getuid())) {
        // The full name is the first comma-separated field of the account's comment.
        std::string full = pw->pw_gecos ? pw->pw_gecos : "";
        full = full.substr(0, full.find(','));
        full.erase(0, full.find_first_not_of(" \t"));
        full.erase(full.find_last_not_of(" \t") + 1);
        if (!full.empty())
            return full;
        return pw->pw_name ? pw->pw_name : "";
    }
    return std::string();
}

std::string LinuxPlatform::osVersionName() const {
    utsname u{};
    if (::uname(&u) != 0)
        return "Linux";
    return std::string(u.sysname) + " " + u.release;
}

std::string LinuxPlatform::programVersion() const {
    return versionText(PELOMIRA_VERSION_MAJOR, PELOMIRA_VERSION_MINOR, PELOMIRA_VERSION_PATCH, PELOMIRA_VERSION_TWEAK);
}

int LinuxPlatform::countProcesses(const std::string& exeName) const {
    const std::string wanted = foldCase(exeName);
    const std::string ownSettings = windowsFolder();
    int count = 0;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return 0;
    while (const dirent* e = ::readdir(proc)) {
        const std::string pid = e->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string base = "/proc/" + pid;
        // On a shared machine another person's copy is theirs: only this user's processes count.
        if (processUser(base) != static_cast<long long>(::getuid()))
            continue;
        // The state is the field after the parenthesised name; Z marks a zombie.
        const std::string stat = readFirstLine(base + "/stat");
        const size_t close = stat.rfind(')');
        if (close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] == 'Z')
            continue;
        std::string exe = readLink(base + "/exe");
        if (endsWith(exe, " (deleted)"))
            exe.resize(exe.size() - 10);
        if (exe.empty())
            exe = readFirstLine(base + "/comm");
        if (foldCase(fileNameOf(exe)) != wanted && foldCase(exe) != wanted)
            continue;
        // A copy with a settings folder of its own (another installation, a test run) is another
        // program as far as its settings and logs go; one whose environment cannot be read counts.
        if (const auto env = environmentOf(base)) {
            const auto lookup = [&](const char* name) {
                const auto it = env->find(name);
                return it == env->end() ? std::string() : it->second;
            };
            if (settingsFolderOf(lookup) != ownSettings)
                continue;
        }
        ++count;
    }
    ::closedir(proc);
    return count;
}

bool LinuxPlatform::runProgram(const std::string& commandLine, const std::string& workDir) {
    std::string why;
    return spawnDetached(splitCommandLine(commandLine), workDir, why);
}

std::string LinuxPlatform::openWithSystem(const std::string& file, const std::string& params,
                                          const std::string& workDir) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        return "O arquivo " + file + " não foi encontrado";
    std::vector<std::string> args;
    if (S_ISREG(st.st_mode) && (st.st_mode & S_IXUSR) && ::access(file.c_str(), X_OK) == 0) {
        args.push_back(file);
        for (auto& p : splitCommandLine(params))
            args.push_back(p);
    } else if (endsWith(upperAscii(file), ".EXE")) {
        // A Windows program cannot start here.
        return "O arquivo " + file + " não é um programa que possa ser executado neste sistema";
    } else {
        args = {"xdg-open", file};
    }
    std::string why;
    if (!spawnDetached(args, workDir, why))
        return "Não foi possível abrir " + file + ": " + why;
    return {};
}

std::optional<std::string> LinuxPlatform::findFileNoCase(const std::string& folder, const std::string& name) const {
    const std::string exact = joinPath(folder, name);
    struct stat st {};
    if (::stat(exact.c_str(), &st) == 0)
        return exact;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> found;
    const std::string wanted = foldCase(name);
    while (const dirent* e = ::readdir(dir)) {
        if (foldCase(e->d_name) == wanted) {
            found = joinPath(folder, e->d_name);
            break;
        }
    }
    ::closedir(dir);
    return found;
}
