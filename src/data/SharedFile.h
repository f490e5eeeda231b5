#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// A file opened shared (deny none) by several programs at once, read and written at explicit
/// offsets, with byte-range locks that belong to this open file: two opens of the same file, in this
/// process or another, exclude each other, as two workstations do.
///
/// Every failure is an AppError whose message names the file.
class SharedFile {
public:
    SharedFile() = default;
    ~SharedFile();
    SharedFile(const SharedFile&) = delete;
    SharedFile& operator=(const SharedFile&) = delete;
    SharedFile(SharedFile&& other) noexcept;
    SharedFile& operator=(SharedFile&& other) noexcept;

    /// Opens an existing file; writable opens it for reading and writing.
    void open(const std::string& path, bool writable);
    /// Creates the file, replacing one of that name.
    void create(const std::string& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    bool writable() const { return m_writable; }

    const std::string& path() const { return m_path; }
    /// The file's name without its folder, as the messages show it.
    std::string name() const;

    std::uint64_t size() const;
    /// Reads exactly length bytes; a shorter file is reported as damaged.
    void readAt(std::uint64_t offset, void* buffer, std::size_t length) const;
    /// Reads up to length bytes; returns how many there were.
    std::size_t readSome(std::uint64_t offset, void* buffer, std::size_t length) const;
    void writeAt(std::uint64_t offset, const void* buffer, std::size_t length);
    void truncate(std::uint64_t length);

    /// Locks [start, start + length), retrying a busy range for timeoutMs; then fails with a message
    /// that names the file. Shared locks exclude only exclusive ones.
    void lock(std::uint64_t start, std::uint64_t length, bool exclusive, int timeoutMs);
    /// One attempt; false when another open holds a conflicting lock.
    bool tryLock(std::uint64_t start, std::uint64_t length, bool exclusive);
    void unlock(std::uint64_t start, std::uint64_t length);

    /// The message of a lock that stayed busy, as the operator reads it.
    static std::string busyMessage(const std::string& path, int timeoutMs);

private:
    int m_fd = -1;
    bool m_writable = false;
    std::string m_path;
};
