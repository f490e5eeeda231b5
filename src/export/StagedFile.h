#pragma once

#include <string>
#include <string_view>

/// An output file written beside its final name, under a name of its own, and put in place in one step
/// when it is complete: a reader of the final name sees the earlier file whole until then, and the new
/// one whole after; an export that fails or is abandoned leaves the earlier file untouched. Two programs
/// writing the same final name at once each write their own file; the last one put in place stays.
///
/// Writes are buffered; append to buffer() and call written() now and then.
class StagedFile {
public:
    /// Creates the file beside finalPath. Throws AppError naming the file when it cannot be created.
    explicit StagedFile(std::string finalPath);
    /// Removes the file unless it was committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    /// Text waiting to be written.
    std::string& buffer() { return m_buffer; }
    /// Writes the buffer out once it has grown past a threshold. Throws AppError when writing fails.
    void written() {
        if (m_buffer.size() >= FlushThreshold)
            flush();
    }
    void append(std::string_view text) {
        m_buffer.append(text);
        written();
    }

    /// Writes what is left, puts the data on the disk, closes the file and gives it the final name.
    /// Throws AppError naming the file when any of it fails; the earlier file is then untouched.
    void commit();
    /// Drops the file (the earlier one stays). Harmless after commit.
    void abandon();

    const std::string& finalPath() const { return m_finalPath; }
    /// The bytes written so far, buffer included.
    long long size() const { return m_written + static_cast<long long>(m_buffer.size()); }

private:
    static constexpr std::size_t FlushThreshold = 256 * 1024;

    void flush();
    [[noreturn]] void fail(const std::string& doing, int error);

    std::string m_finalPath;
    std::string m_stagePath;
    std::string m_buffer;
    int m_fd = -1;
    long long m_written = 0;
    bool m_committed = false;
};
