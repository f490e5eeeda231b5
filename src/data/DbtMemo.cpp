#include "data/DbtMemo.h"

#include "base/AppError.h"
#include "data/ClipperLocks.h"

#include <algorithm>
#include <vector>

namespace {

std::uint32_t le32(const unsigned char* b) {
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

void putLe32(unsigned char* b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

} // namespace

void DbtMemo::open(const std::string& path, bool writable, int lockTimeoutMs) {
    m_file.open(path, writable);
    m_timeoutMs = lockTimeoutMs;
}

std::string DbtMemo::read(std::uint32_t block) const {
    const std::uint64_t start = static_cast<std::uint64_t>(block) * BlockSize;
    if (block == 0 || start >= m_file.size())
        throw AppError("O memorando no bloco " + std::to_string(block) + " está além do fim do arquivo " +
                       m_file.path() + ".");
    std::string text;
    char chunk[BlockSize];
    for (std::uint64_t at = start;; at += BlockSize) {
        const std::size_t n = m_file.readSome(at, chunk, BlockSize);
        for (std::size_t i = 0; i < n; ++i) {
            if (chunk[i] == '\x1A')
                return text;
            text += chunk[i];
        }
        if (n < BlockSize || text.size() > MaxLength * 4)
            return text; // a text cut short by the file's end is given as far as it goes
    }
}

std::uint32_t DbtMemo::append(const std::string& bytes) {
    const std::string body = bytes.substr(0, MaxLength) + "\x1A\x1A";
    std::vector<char> data(body.begin(), body.end());
    data.resize((data.size() + BlockSize - 1) / BlockSize * BlockSize, '\0');
    m_file.lock(ClipperLocks::Index, 1, true, m_timeoutMs);
    std::uint32_t block = 0;
    try {
        unsigned char head[4];
        m_file.readAt(0, head, 4);
        block = le32(head);
        // A next-free number before the file's end would overwrite texts; the end of the file is
        // where the new text goes then.
        const std::uint64_t size = m_file.size();
        const auto endBlock = static_cast<std::uint32_t>((size + BlockSize - 1) / BlockSize);
        if (block < endBlock)
            block = std::max<std::uint32_t>(endBlock, 1);
        m_file.writeAt(static_cast<std::uint64_t>(block) * BlockSize, data.data(), data.size());
        putLe32(head, block + static_cast<std::uint32_t>(data.size() / BlockSize));
        m_file.writeAt(0, head, 4);
    } catch (...) {
        m_file.unlock(ClipperLocks::Index, 1);
        throw;
    }
    m_file.unlock(ClipperLocks::Index, 1);
    return block;
}

void DbtMemo::create(const std::string& path) {
    SharedFile f;
    f.create(path);
    std::vector<unsigned char> block(BlockSize, 0);
    putLe32(block.data(), 1);
    block[16] = 0x03; // dBase III mark
    f.writeAt(0, block.data(), block.size());
}
