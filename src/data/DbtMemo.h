#pragma once

#include "data/SharedFile.h"

#include <cstdint>
#include <string>

/// A dBase III memo file: 512-byte blocks, block 0 holding the number of the next free block; each
/// text starts on a block of its own and ends with two 0x1A bytes. Texts are appended, never reused,
/// as dBase III does; the table's record keeps the block number.
class DbtMemo {
public:
    static constexpr std::size_t BlockSize = 512;
    /// The longest text a workstation program can read back; a longer one keeps what fits.
    static constexpr std::size_t MaxLength = 65535;

    void open(const std::string& path, bool writable, int lockTimeoutMs);
    void close() { m_file.close(); }
    bool isOpen() const { return m_file.isOpen(); }
    const std::string& path() const { return m_file.path(); }

    /// The bytes of the text starting at block; a block past the end of the file is refused.
    std::string read(std::uint32_t block) const;
    /// Writes bytes as a new text under the memo file's lock and returns its first block.
    std::uint32_t append(const std::string& bytes);

    /// A new memo file with no text in it.
    static void create(const std::string& path);

private:
    SharedFile m_file;
    int m_timeoutMs = 3000;
};
