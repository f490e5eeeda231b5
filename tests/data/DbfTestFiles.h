#pragma once

#include "TestEnv.h"
#include "data/DbfField.h"
#include "data/DbfTable.h"
#include "data/NtxIndex.h"
#include "data/SharedFile.h"

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

/// Small tables for the tests of the dBase store.
namespace DbfTestFiles {

inline DbfField field(const std::string& name, char type, unsigned length, unsigned decimals = 0) {
    DbfField f;
    f.name = name;
    f.type = type;
    f.length = length;
    f.decimals = decimals;
    return f;
}

/// A table with one field of each kind and an index per given key expression (built empty).
inline void makeTable(const std::string& dbf, const std::vector<std::pair<std::string, std::string>>& indices) {
    const std::vector<DbfField> fields = {field("REGISTRO", 'C', 12), field("NOME", 'C', 30),
                                          field("VALOR", 'N', 12, 2), field("DATA", 'D', 8),
                                          field("ATIVO", 'L', 1),     field("OBS", 'M', 10)};
    DbfTable::create(dbf, fields);
    DbfTable t;
    t.open(dbf, {}, false);
    for (const auto& [path, expression] : indices)
        NtxIndex::create(path, expression, t.fields(), {});
}

/// Output and exit status of a shell command.
struct Run {
    int status = -1;
    std::string output;
};

inline Run run(const std::string& command) {
    Run r;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        r.output.append(buf, n);
    r.status = pclose(p);
    return r;
}

/// A script written to a file and run by an interpreter ("python3", "perl").
inline Run runScript(const TestEnv& env, const std::string& interpreter, const std::string& name,
                     const std::string& script, const std::string& args = "") {
    const std::string path = env.path(name);
    TestEnv::writeFile(path, script);
    return run(interpreter + " " + path + " " + args);
}

/// Another workstation: a process of its own that holds one exclusive lock byte of a file for some
/// seconds. The constructor returns once the lock is held; the destructor waits for the process.
class HeldLock {
public:
    HeldLock(const std::string& path, std::uint64_t offset, unsigned seconds) {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            SharedFile held;
            held.open(path, true);
            held.lock(offset, 1, true, 1000);
            (void)!write(ready[1], "x", 1);
            sleep(seconds);
            _exit(0);
        }
        close(ready[1]);
        char c;
        m_held = m_pid > 0 && read(ready[0], &c, 1) == 1;
        close(ready[0]);
    }
    ~HeldLock() {
        if (m_pid > 0)
            waitpid(m_pid, nullptr, 0);
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    bool held() const { return m_held; }

private:
    pid_t m_pid = -1;
    bool m_held = false;
};

} // namespace DbfTestFiles
