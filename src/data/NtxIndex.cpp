#include "data/NtxIndex.h"

#include "base/AppError.h"
#include "data/ClipperLocks.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t ExpressionOffset = 22;
constexpr std::size_t ExpressionLength = 256;
constexpr std::size_t UniqueOffset = 278;
// Deeper than any real tree: a page that leads back to itself is reported instead of followed forever.
constexpr int MaxDepth = 48;

std::uint16_t get16(const unsigned char* b) {
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}
std::uint32_t get32(const unsigned char* b) {
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}
void put16(unsigned char* b, std::uint16_t v) {
    b[0] = static_cast<unsigned char>(v & 0xFF);
    b[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

// Byte order, as the index sorts; a shorter text that is a prefix of the other sorts first.
int compareKeys(const std::string& a, const std::string& b) {
    const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Compares only as far as the prefix goes: 0 when key starts with prefix.
int comparePrefix(const std::string& key, const std::string& prefix) {
    const std::size_t n = std::min(key.size(), prefix.size());
    const int c = std::memcmp(key.data(), prefix.data(), n);
    if (c != 0)
        return c;
    return key.size() < prefix.size() ? -1 : 0;
}

struct Ordered {
    const std::string& key;
    std::uint32_t recno;
};

// (a.key, a.recno) against (key, recno).
template <class I> int compareEntry(const I& a, const Ordered& b) {
    const int c = compareKeys(a.key, b.key);
    if (c != 0)
        return c;
    return a.recno < b.recno ? -1 : (a.recno > b.recno ? 1 : 0);
}

std::uint16_t maxItemFor(unsigned keySize) {
    unsigned slots = (NtxIndex::PageSize - 2) / (keySize + 10);
    unsigned maxItem = slots - 1;
    if (maxItem % 2)
        --maxItem;
    return static_cast<std::uint16_t>(maxItem);
}

} // namespace

// A shared lock for one search when no write is under way; the pages read are dropped afterwards, since
// another program may change them as soon as the lock is gone.
class NtxIndex::ReadSession {
public:
    explicit ReadSession(NtxIndex& index) : m_index(index), m_own(!index.m_writing) {
        if (!m_own)
            return;
        m_index.m_file.lock(ClipperLocks::Index, 1, false, m_index.m_timeoutMs);
        try {
            m_index.readHeader();
        } catch (...) {
            finish();
            throw;
        }
    }
    ~ReadSession() {
        if (m_own)
            finish();
    }

private:
    void finish() {
        m_index.m_pages.clear();
        m_index.m_file.unlock(ClipperLocks::Index, 1);
    }
    NtxIndex& m_index;
    bool m_own;
};

void NtxIndex::damaged(const std::string& what) const {
    throw AppError("O índice " + m_file.path() + " está danificado: " + what + ". Recrie o índice no NORVIK.");
}

void NtxIndex::open(const std::string& path, const std::vector<DbfField>& fields, bool writable, int lockTimeoutMs) {
    close();
    m_file.open(path, writable);
    m_timeoutMs = lockTimeoutMs;
    m_fields = fields;
    try {
        if (m_file.size() < PageSize)
            damaged("o cabeçalho está incompleto");
        unsigned char h[PageSize];
        m_file.readAt(0, h, PageSize);
        m_signature = get16(h);
        if (m_signature != 3 && m_signature != 6 && m_signature != 7)
            damaged("a assinatura " + std::to_string(m_signature) + " não é de um índice Clipper");
        m_keySize = get16(h + 14);
        m_decimals = get16(h + 16);
        m_maxItem = get16(h + 18);
        m_half = get16(h + 20);
        const char* expr = reinterpret_cast<const char*>(h + ExpressionOffset);
        m_expressionText.assign(expr, strnlen(expr, ExpressionLength));
        m_unique = h[UniqueOffset] != 0;
        if (get16(h + 12) != m_keySize + 8 || m_keySize == 0 || m_maxItem < 2 || m_half == 0 || m_half > m_maxItem ||
            2 + 2u * (m_maxItem + 1) + (m_maxItem + 1u) * (m_keySize + 8u) > PageSize)
            damaged("o cabeçalho declara tamanhos impossíveis");
        m_expression = NtxKeyExpression::parse(m_expressionText, fields, m_file.name());
        if (m_expression.width() != m_keySize)
            throw AppError("O índice " + m_file.path() + " não corresponde a esta tabela: a expressão \"" +
                           m_expressionText + "\" forma chaves de " + std::to_string(m_expression.width()) +
                           " caracteres e o índice guarda chaves de " + std::to_string(m_keySize) + ".");
    } catch (...) {
        m_file.close();
        throw;
    }
}

void NtxIndex::close() {
    if (m_writing)
        endWrite();
    m_pages.clear();
    m_file.close();
}

std::string NtxIndex::keyOf(const std::string& record) const {
    std::string key = m_expression.evaluate(record);
    if (key.size() > m_keySize)
        throw AppError("A chave \"" + key + "\" é maior que a chave do índice " + m_file.path() + " (" +
                       std::to_string(m_keySize) + " caracteres).");
    key.resize(m_keySize, ' ');
    return key;
}

void NtxIndex::readHeader() {
    unsigned char h[32];
    m_file.readAt(0, h, sizeof h);
    if (get16(h + 14) != m_keySize || get16(h + 18) != m_maxItem)
        throw AppError("O índice " + m_file.path() +
                       " foi recriado por outro programa enquanto estava aberto; abra a tabela de novo.");
    m_version = get16(h + 2);
    m_root = get32(h + 4);
    m_free = get32(h + 8);
    m_end = (m_file.size() + PageSize - 1) / PageSize * PageSize;
    if (m_root == 0 || m_root % PageSize != 0 || m_root >= m_end)
        damaged("a raiz aponta para fora do arquivo");
}

void NtxIndex::writeHeader() {
    unsigned char h[12];
    put16(h, m_signature);
    put16(h + 2, static_cast<std::uint16_t>(m_version + 1));
    put32(h + 4, m_root);
    put32(h + 8, m_free);
    m_file.writeAt(0, h, sizeof h);
    ++m_version;
}

NtxIndex::Page NtxIndex::decode(const unsigned char* b, std::uint32_t offset) const {
    Page p;
    const std::uint16_t count = get16(b);
    if (count > m_maxItem)
        damaged("a página na posição " + std::to_string(offset) + " diz ter " + std::to_string(count) + " chaves");
    const std::size_t itemSize = m_keySize + 8u;
    p.items.reserve(count);
    for (std::size_t i = 0; i <= count; ++i) {
        const std::uint16_t at = get16(b + 2 + 2 * i);
        if (at + (i < count ? itemSize : 4) > PageSize || at < 2)
            damaged("a página na posição " + std::to_string(offset) + " aponta para fora de si");
        const std::uint32_t left = get32(b + at);
        if (left % PageSize != 0 || (left != 0 && left >= m_end))
            damaged("a página na posição " + std::to_string(offset) + " aponta para uma página inexistente");
        if (i == count) {
            p.right = left;
            break;
        }
        Item item;
        item.left = left;
        item.recno = get32(b + at + 4);
        item.key.assign(reinterpret_cast<const char*>(b + at + 8), m_keySize);
        p.items.push_back(std::move(item));
    }
    // A page is either a leaf or has a child beside every key.
    bool anyChild = p.right != 0, allChildren = p.right != 0;
    for (const Item& it : p.items) {
        anyChild = anyChild || it.left != 0;
        allChildren = allChildren && it.left != 0;
    }
    if (anyChild && !allChildren)
        damaged("a página na posição " + std::to_string(offset) + " mistura folhas e ramos");
    return p;
}

void NtxIndex::encode(const Page& p, unsigned char* b) const {
    std::memset(b, 0, PageSize);
    put16(b, static_cast<std::uint16_t>(p.items.size()));
    const std::size_t itemSize = m_keySize + 8u;
    const std::size_t first = 2 + 2u * (m_maxItem + 1);
    for (std::size_t i = 0; i <= m_maxItem; ++i)
        put16(b + 2 + 2 * i, static_cast<std::uint16_t>(first + i * itemSize));
    for (std::size_t i = 0; i < p.items.size(); ++i) {
        unsigned char* at = b + first + i * itemSize;
        put32(at, p.items[i].left);
        put32(at + 4, p.items[i].recno);
        std::memcpy(at + 8, p.items[i].key.data(), std::min<std::size_t>(p.items[i].key.size(), m_keySize));
    }
    put32(b + first + p.items.size() * itemSize, p.right);
}

NtxIndex::Page& NtxIndex::page(std::uint32_t offset) {
    auto it = m_pages.find(offset);
    if (it != m_pages.end())
        return it->second;
    if (offset == 0 || offset % PageSize != 0 || offset >= m_end)
        damaged("uma página aponta para a posição " + std::to_string(offset));
    unsigned char b[PageSize];
    m_file.readAt(offset, b, PageSize);
    return m_pages.emplace(offset, decode(b, offset)).first->second;
}

std::uint32_t NtxIndex::allocate() {
    std::uint32_t offset;
    if (m_free != 0 && m_free % PageSize == 0 && m_free < m_end && !m_pages.count(m_free)) {
        offset = m_free;
        unsigned char next[4];
        m_file.readAt(offset, next, 4);
        m_free = get32(next);
        if (m_free % PageSize != 0 || m_free >= m_end)
            m_free = 0; // a broken free list is dropped rather than followed
    } else {
        offset = static_cast<std::uint32_t>(m_end);
        m_end += PageSize;
    }
    m_headerDirty = true;
    Page& p = m_pages[offset];
    p = Page{};
    p.dirty = true;
    return offset;
}

void NtxIndex::release(std::uint32_t offset) {
    m_pages.erase(offset);
    unsigned char b[PageSize] = {};
    put32(b, m_free);
    m_file.writeAt(offset, b, PageSize);
    m_free = offset;
    m_headerDirty = true;
}

void NtxIndex::flush() {
    // Children before parents: new pages are written before the pages that point at them.
    std::vector<std::uint32_t> dirty;
    for (auto& [offset, p] : m_pages)
        if (p.dirty)
            dirty.push_back(offset);
    std::sort(dirty.rbegin(), dirty.rend());
    unsigned char b[PageSize];
    for (std::uint32_t offset : dirty) {
        Page& p = m_pages[offset];
        encode(p, b);
        m_file.writeAt(offset, b, PageSize);
        p.dirty = false;
    }
    writeHeader();
    m_headerDirty = false;
}

void NtxIndex::beginWrite() {
    if (m_writing)
        return;
    if (!m_file.writable())
        throw AppError("O índice " + m_file.path() + " foi aberto só para leitura.");
    m_file.lock(ClipperLocks::Index, 1, true, m_timeoutMs);
    try {
        m_pages.clear();
        readHeader();
    } catch (...) {
        m_file.unlock(ClipperLocks::Index, 1);
        throw;
    }
    m_writing = true;
}

void NtxIndex::endWrite() {
    if (!m_writing)
        return;
    m_writing = false;
    m_pages.clear();
    m_file.unlock(ClipperLocks::Index, 1);
}

void NtxIndex::insert(const std::string& key, std::uint32_t recno) {
    if (key.size() != m_keySize)
        throw AppError("A chave \"" + key + "\" não tem o tamanho das chaves do índice " + m_file.path() + ".");
    Path path;
    std::uint32_t offset = m_root;
    for (int depth = 0;; ++depth) {
        if (depth > MaxDepth)
            damaged("a árvore não termina");
        Page& p = page(offset);
        const Ordered want{key, recno};
        std::size_t i = 0;
        while (i < p.items.size() && compareEntry(p.items[i], want) <= 0)
            ++i;
        path.emplace_back(offset, i);
        const std::uint32_t child = i < p.items.size() ? p.items[i].left : p.right;
        if (child == 0)
            break;
        offset = child;
    }
    {
        Page& leaf = page(path.back().first);
        leaf.items.insert(leaf.items.begin() + static_cast<std::ptrdiff_t>(path.back().second), Item{0, recno, key});
        leaf.dirty = true;
    }
    splitUp(path);
    flush();
}

void NtxIndex::splitUp(const Path& path) {
    for (std::size_t level = path.size(); level-- > 0;) {
        const std::uint32_t full = path[level].first;
        if (page(full).items.size() <= m_maxItem)
            break;
        // The lower half moves to a new page on the left; the middle entry goes up; the page keeps the
        // upper half, so the pointer its parent holds stays right.
        const std::uint32_t leftOffset = allocate();
        Page& p = page(full);
        Page& left = page(leftOffset);
        const std::size_t h = p.items.size() / 2;
        left.items.assign(p.items.begin(), p.items.begin() + static_cast<std::ptrdiff_t>(h));
        left.right = p.items[h].left;
        Item middle = p.items[h];
        middle.left = leftOffset;
        p.items.erase(p.items.begin(), p.items.begin() + static_cast<std::ptrdiff_t>(h + 1));
        p.dirty = left.dirty = true;
        if (level == 0) {
            const std::uint32_t rootOffset = allocate();
            Page& root = page(rootOffset);
            root.items.push_back(middle);
            root.right = full;
            m_root = rootOffset;
            break;
        }
        Page& parent = page(path[level - 1].first);
        parent.items.insert(parent.items.begin() + static_cast<std::ptrdiff_t>(path[level - 1].second), middle);
        parent.dirty = true;
    }
}

bool NtxIndex::findOrdered(const std::string& key, std::uint32_t recno, Path& path) {
    std::uint32_t offset = m_root;
    for (int depth = 0; depth <= MaxDepth; ++depth) {
        Page& p = page(offset);
        const Ordered want{key, recno};
        std::size_t i = 0;
        while (i < p.items.size() && compareEntry(p.items[i], want) < 0)
            ++i;
        path.emplace_back(offset, i);
        if (i < p.items.size() && p.items[i].recno == recno && p.items[i].key == key)
            return true;
        const std::uint32_t child = i < p.items.size() ? p.items[i].left : p.right;
        if (child == 0)
            return false;
        offset = child;
    }
    damaged("a árvore não termina");
}

// Equal keys written by other programs need not be in record order: look through every subtree that
// can hold the key.
bool NtxIndex::findAny(std::uint32_t offset, const std::string& key, std::uint32_t recno, Path& path, int depth) {
    if (depth > MaxDepth)
        damaged("a árvore não termina");
    const std::size_t count = page(offset).items.size();
    for (std::size_t i = 0; i <= count; ++i) {
        Page& p = page(offset);
        const bool last = i == count;
        const int c = last ? 1 : compareKeys(p.items[i].key, key);
        if (c < 0)
            continue;
        const std::uint32_t child = last ? p.right : p.items[i].left;
        path.emplace_back(offset, i);
        if (child != 0 && findAny(child, key, recno, path, depth + 1))
            return true;
        if (!last && c == 0 && page(offset).items[i].recno == recno)
            return true;
        path.pop_back();
        if (c > 0)
            return false;
    }
    return false;
}

bool NtxIndex::remove(const std::string& key, std::uint32_t recno) {
    Path path;
    if (!findOrdered(key, recno, path)) {
        path.clear();
        if (!findAny(m_root, key, recno, path, 0))
            return false;
    }
    const auto [offset, i] = path.back();
    if (page(offset).leaf()) {
        Page& p = page(offset);
        p.items.erase(p.items.begin() + static_cast<std::ptrdiff_t>(i));
        p.dirty = true;
    } else {
        // An inner entry gives way to the greatest entry of its left subtree, taken from a leaf.
        std::uint32_t child = page(offset).items[i].left;
        for (int depth = 0;; ++depth) {
            if (depth > MaxDepth)
                damaged("a árvore não termina");
            Page& q = page(child);
            path.emplace_back(child, q.items.size());
            if (q.right == 0)
                break;
            child = q.right;
        }
        Page& leaf = page(child);
        if (leaf.items.empty())
            damaged("uma folha está vazia");
        const Item last = leaf.items.back();
        leaf.items.pop_back();
        leaf.dirty = true;
        Page& p = page(offset);
        p.items[i].key = last.key;
        p.items[i].recno = last.recno;
        p.dirty = true;
    }
    rebalance(path);
    flush();
    return true;
}

void NtxIndex::rebalance(Path& path) {
    for (std::size_t level = path.size() - 1; level > 0; --level) {
        const std::uint32_t offset = path[level].first;
        if (page(offset).items.size() >= m_half)
            break;
        const std::uint32_t parentOffset = path[level - 1].first;
        const std::size_t j = path[level - 1].second;
        auto childAt = [&](std::size_t k) {
            Page& parent = page(parentOffset);
            return k < parent.items.size() ? parent.items[k].left : parent.right;
        };
        const std::size_t parentCount = page(parentOffset).items.size();
        if (j > 0) {
            const std::uint32_t leftOffset = childAt(j - 1);
            if (page(leftOffset).items.size() > m_half) {
                Page& left = page(leftOffset);
                Page& p = page(offset);
                Page& parent = page(parentOffset);
                Item down = parent.items[j - 1];
                down.left = left.right;
                p.items.insert(p.items.begin(), down);
                parent.items[j - 1].key = left.items.back().key;
                parent.items[j - 1].recno = left.items.back().recno;
                left.right = left.items.back().left;
                left.items.pop_back();
                left.dirty = p.dirty = parent.dirty = true;
                return;
            }
        }
        if (j < parentCount) {
            const std::uint32_t rightOffset = childAt(j + 1);
            if (page(rightOffset).items.size() > m_half) {
                Page& right = page(rightOffset);
                Page& p = page(offset);
                Page& parent = page(parentOffset);
                Item down = parent.items[j];
                down.left = p.right;
                p.items.push_back(down);
                p.right = right.items.front().left;
                parent.items[j].key = right.items.front().key;
                parent.items[j].recno = right.items.front().recno;
                right.items.erase(right.items.begin());
                right.dirty = p.dirty = parent.dirty = true;
                return;
            }
        }
        // Neither neighbour can spare an entry: join with one of them around the parent's separator.
        if (j > 0) {
            const std::uint32_t leftOffset = childAt(j - 1);
            Page& left = page(leftOffset);
            Page& p = page(offset);
            Page& parent = page(parentOffset);
            Item sep = parent.items[j - 1];
            sep.left = left.right;
            std::vector<Item> merged = std::move(left.items);
            merged.push_back(sep);
            merged.insert(merged.end(), p.items.begin(), p.items.end());
            p.items = std::move(merged);
            parent.items.erase(parent.items.begin() + static_cast<std::ptrdiff_t>(j - 1));
            p.dirty = parent.dirty = true;
            release(leftOffset);
        } else {
            const std::uint32_t rightOffset = childAt(j + 1);
            Page& right = page(rightOffset);
            Page& p = page(offset);
            Page& parent = page(parentOffset);
            Item sep = parent.items[j];
            sep.left = p.right;
            std::vector<Item> merged = std::move(p.items);
            merged.push_back(sep);
            merged.insert(merged.end(), right.items.begin(), right.items.end());
            right.items = std::move(merged);
            parent.items.erase(parent.items.begin() + static_cast<std::ptrdiff_t>(j));
            right.dirty = parent.dirty = true;
            release(offset);
        }
    }
    Page& root = page(m_root);
    if (root.items.empty() && root.right != 0) {
        const std::uint32_t old = m_root;
        m_root = root.right;
        release(old);
    }
}

std::optional<NtxIndex::Entry> NtxIndex::seek(const std::string& key, bool soft) {
    ReadSession session(*this);
    std::optional<Entry> best;
    std::uint32_t offset = m_root;
    for (int depth = 0; offset != 0; ++depth) {
        if (depth > MaxDepth)
            damaged("a árvore não termina");
        Page& p = page(offset);
        std::size_t i = 0;
        while (i < p.items.size() && comparePrefix(p.items[i].key, key) < 0)
            ++i;
        if (i < p.items.size())
            best = Entry{p.items[i].key, p.items[i].recno};
        offset = i < p.items.size() ? p.items[i].left : p.right;
    }
    if (best && !soft && comparePrefix(best->key, key) != 0)
        return std::nullopt;
    return best;
}

void NtxIndex::walk(std::uint32_t offset, const std::string& prefix, std::vector<Entry>* out,
                    const std::function<void(const Entry&)>* visit, bool& stop, int depth) {
    if (depth > MaxDepth)
        damaged("a árvore não termina");
    const std::size_t count = page(offset).items.size();
    for (std::size_t i = 0; i <= count && !stop; ++i) {
        Page& p = page(offset);
        if (i == count) {
            if (p.right != 0)
                walk(p.right, prefix, out, visit, stop, depth + 1);
            break;
        }
        const int c = comparePrefix(p.items[i].key, prefix);
        if (c < 0)
            continue;
        const std::uint32_t left = p.items[i].left;
        if (left != 0)
            walk(left, prefix, out, visit, stop, depth + 1);
        if (stop)
            break;
        if (c > 0) {
            stop = true;
            break;
        }
        const Item& item = page(offset).items[i];
        const Entry e{item.key, item.recno};
        if (out)
            out->push_back(e);
        if (visit)
            (*visit)(e);
    }
}

std::vector<NtxIndex::Entry> NtxIndex::withPrefix(const std::string& prefix) {
    ReadSession session(*this);
    std::vector<Entry> out;
    bool stop = false;
    walk(m_root, prefix, &out, nullptr, stop, 0);
    return out;
}

void NtxIndex::forEach(const std::function<void(const Entry&)>& visit) {
    ReadSession session(*this);
    bool stop = false;
    walk(m_root, std::string(), nullptr, &visit, stop, 0);
}

void NtxIndex::create(const std::string& path, const std::string& expression, const std::vector<DbfField>& fields,
                      std::vector<Entry> entries) {
    const NtxKeyExpression parsed = NtxKeyExpression::parse(expression, fields, path);
    if (expression.size() >= ExpressionLength)
        throw AppError("A expressão do índice " + path + " é longa demais.");
    {
        SharedFile f;
        f.create(path);
        unsigned char h[PageSize] = {};
        const auto keySize = static_cast<std::uint16_t>(parsed.width());
        const std::uint16_t maxItem = maxItemFor(keySize);
        put16(h, 6);
        put32(h + 4, PageSize);
        put16(h + 12, static_cast<std::uint16_t>(keySize + 8));
        put16(h + 14, keySize);
        put16(h + 16, static_cast<std::uint16_t>(parsed.decimals()));
        put16(h + 18, maxItem);
        put16(h + 20, static_cast<std::uint16_t>(maxItem / 2));
        std::memcpy(h + ExpressionOffset, expression.data(), expression.size());
        f.writeAt(0, h, PageSize);
        NtxIndex empty;
        empty.m_keySize = keySize;
        empty.m_maxItem = maxItem;
        unsigned char root[PageSize];
        empty.encode(Page{}, root);
        f.writeAt(PageSize, root, PageSize);
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int c = compareKeys(a.key, b.key);
        return c < 0 || (c == 0 && a.recno < b.recno);
    });
    NtxIndex index;
    index.open(path, fields, true, ClipperLocks::TimeoutMs);
    index.beginWrite();
    // Appending in order splits only the rightmost pages; the header and pages are written once at
    // the end instead of after every entry.
    for (const Entry& e : entries) {
        std::string key = e.key;
        key.resize(index.m_keySize, ' ');
        Path path;
        std::uint32_t offset = index.m_root;
        for (;;) {
            Page& p = index.page(offset);
            path.emplace_back(offset, p.items.size());
            if (p.right == 0)
                break;
            offset = p.right;
        }
        Page& leaf = index.page(path.back().first);
        leaf.items.push_back(Item{0, e.recno, key});
        leaf.dirty = true;
        index.splitUp(path);
    }
    index.flush();
    index.endWrite();
}
