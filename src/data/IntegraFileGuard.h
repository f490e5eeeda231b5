#pragma once

#include <string>

/// Keeps engines with different lock folders off one database file.
///
/// Embedded engines in shared mode coordinate through the lock tables in their lock folder; two
/// engines with different folders (another user of this computer, or a process started with another
/// FIREBIRD_LOCK) would both write the file without knowing of each other and corrupt it. The
/// engine's own file lock does not see this: in shared mode it is a shared one. Before attaching, a
/// connection takes a shared byte-range lock on the file at a byte that names its lock folder (far
/// past the data, where the engine never locks), and is refused while a byte of another folder is
/// locked. A short exclusive lock on one more byte makes the look-and-take one step. The locks go
/// with the connection (or with the process, however it ends).
class IntegraFileGuard {
public:
    IntegraFileGuard() = default;
    ~IntegraFileGuard() { release(); }
    IntegraFileGuard(const IntegraFileGuard&) = delete;
    IntegraFileGuard& operator=(const IntegraFileGuard&) = delete;

    /// Takes the guard of file for lockFolder. Throws AppError (naming location) when an engine of
    /// another lock folder has the file. A file this process cannot open for writing, or a file system
    /// without these locks, is left to the engine, which reports it in its own words.
    void acquire(const std::string& file, const std::string& lockFolder, const std::string& location);
    void release();
    bool held() const { return m_fd >= 0; }

    /// The byte of a lock folder: the same for every process that names the same folder.
    static long long slotOf(const std::string& lockFolder);

private:
    int m_fd = -1;
};
