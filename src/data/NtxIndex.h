#pragma once

#include "data/DbfField.h"
#include "data/NtxKeyExpression.h"
#include "data/SharedFile.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

/// A Clipper index file: a B-tree of 1024-byte pages whose entries (key, record number) are ordered
/// by key; equal keys are kept in record order. Entries live in inner pages as well as in leaves.
///
/// Readers hold a shared lock on the index for the length of one search; a writer holds the exclusive
/// lock from beginWrite to endWrite (one change, or a batch of them), so nobody reads a tree while
/// it is half changed. Every change is written to the file before the next one starts.
class NtxIndex {
public:
    static constexpr std::size_t PageSize = 1024;

    struct Entry {
        std::string key;
        std::uint32_t recno = 0;
        bool operator==(const Entry&) const = default;
    };

    NtxIndex() = default;
    NtxIndex(const NtxIndex&) = delete;
    NtxIndex& operator=(const NtxIndex&) = delete;

    /// Opens the index of a table with these fields. The key expression must be one this program can
    /// build, and must build keys exactly as long as the index keeps them; otherwise the index belongs
    /// to another table (or another layout of it) and is refused.
    void open(const std::string& path, const std::vector<DbfField>& fields, bool writable, int lockTimeoutMs);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    const std::string& path() const { return m_file.path(); }
    std::string name() const { return m_file.name(); }
    const NtxKeyExpression& expression() const { return m_expression; }
    unsigned keySize() const { return m_keySize; }

    /// The key of a record image.
    std::string keyOf(const std::string& record) const;

    /// The first entry whose key starts with key; with soft, the first entry not below key.
    std::optional<Entry> seek(const std::string& key, bool soft = false);
    /// Every entry whose key starts with prefix, in order.
    std::vector<Entry> withPrefix(const std::string& prefix);
    /// Every entry in key order. The page structure is checked on the way; a damaged page is an error.
    void forEach(const std::function<void(const Entry&)>& visit);

    /// Takes the exclusive lock (retried up to the time-out) and reads the header afresh.
    void beginWrite();
    /// Writes what is left and releases the lock.
    void endWrite();
    bool writing() const { return m_writing; }
    /// Within beginWrite/endWrite.
    void insert(const std::string& key, std::uint32_t recno);
    /// Removes the entry; false when the index has no such entry.
    bool remove(const std::string& key, std::uint32_t recno);

    /// A new index over the entries (any order) with this key expression, replacing a file of that
    /// name.
    static void create(const std::string& path, const std::string& expression, const std::vector<DbfField>& fields,
                       std::vector<Entry> entries);

private:
    struct Item {
        std::uint32_t left = 0;
        std::uint32_t recno = 0;
        std::string key;
    };
    struct Page {
        std::vector<Item> items;
        std::uint32_t right = 0;
        bool dirty = false;
        bool leaf() const { return right == 0 && (items.empty() || items.front().left == 0); }
    };
    using Path = std::vector<std::pair<std::uint32_t, std::size_t>>;

    class ReadSession;

    void readHeader();
    void writeHeader();
    Page& page(std::uint32_t offset);
    Page decode(const unsigned char* bytes, std::uint32_t offset) const;
    void encode(const Page& p, unsigned char* bytes) const;
    std::uint32_t allocate();
    void release(std::uint32_t offset);
    void flush();
    /// Splits the full pages of a path that just took an entry, from the leaf up.
    void splitUp(const Path& path);
    bool findOrdered(const std::string& key, std::uint32_t recno, Path& path);
    bool findAny(std::uint32_t offset, const std::string& key, std::uint32_t recno, Path& path, int depth);
    void rebalance(Path& path);
    void walk(std::uint32_t offset, const std::string& prefix, std::vector<Entry>* out,
              const std::function<void(const Entry&)>* visit, bool& stop, int depth);
    [[noreturn]] void damaged(const std::string& what) const;

    SharedFile m_file;
    int m_timeoutMs = 3000;
    std::vector<DbfField> m_fields;
    NtxKeyExpression m_expression;
    std::string m_expressionText;
    std::uint16_t m_signature = 6;
    std::uint16_t m_version = 0;
    std::uint32_t m_root = 0;
    std::uint32_t m_free = 0;
    std::uint16_t m_keySize = 0;
    std::uint16_t m_decimals = 0;
    std::uint16_t m_maxItem = 0;
    std::uint16_t m_half = 0;
    bool m_unique = false;
    bool m_writing = false;
    bool m_headerDirty = false;
    std::uint64_t m_end = 0;
    std::map<std::uint32_t, Page> m_pages;
};
