#include "data/DbfTable.h"

#include "base/AppError.h"
#include "data/DbfValue.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace {

std::string upperName(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

void today(int& y, int& m, int& d) {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&t, &tm);
    y = tm.tm_year + 1900;
    m = tm.tm_mon + 1;
    d = tm.tm_mday;
}

bool hasLetters(const std::string& bytes) {
    for (char c : bytes)
        if (std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// The smallest text that sorts after every key starting with prefix; empty when there is none.
std::string pastPrefix(std::string prefix) {
    while (!prefix.empty()) {
        auto& last = reinterpret_cast<unsigned char&>(prefix.back());
        if (last < 0xFF) {
            ++last;
            return prefix;
        }
        prefix.pop_back();
    }
    return prefix;
}

} // namespace

DbfTable::DbfTable(int lockTimeoutMs) : m_timeoutMs(lockTimeoutMs) {}

DbfTable::~DbfTable() {
    close();
}

std::string DbfTable::memoPathFor(const std::string& tablePath) {
    namespace fs = std::filesystem;
    const fs::path p(tablePath);
    const std::string stem = upperName(p.stem().string());
    std::error_code ec;
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const fs::path& f = entry.path();
        if (upperName(f.stem().string()) == stem && upperName(f.extension().string()) == ".DBT")
            return f.string();
    }
    return {};
}

void DbfTable::open(const std::string& path, const std::vector<std::string>& indexPaths, bool writable) {
    close();
    m_file.open(path, writable);
    try {
        const std::uint64_t size = m_file.size();
        std::string first(32, '\0');
        if (m_file.readSome(0, first.data(), 32) < 32)
            throw AppError("O arquivo " + path + " não é uma tabela dBase válida: o cabeçalho está incompleto.");
        const std::uint16_t length = DbfHeader::declaredLength(first, path);
        if (length > size)
            throw AppError("O arquivo " + path + " não é uma tabela dBase válida: o cabeçalho está incompleto.");
        std::string bytes(length, '\0');
        m_file.readAt(0, bytes.data(), length);
        m_header = DbfHeader::parse(bytes, path);
        checkLength(m_header.recordCount);
        if (m_header.hasMemo()) {
            const std::string memo = memoPathFor(path);
            if (memo.empty())
                throw AppError("O arquivo de memorandos da tabela " + path + " (.DBT) não foi encontrado.");
            m_memo.open(memo, writable, m_timeoutMs);
        }
        for (const std::string& ip : indexPaths) {
            auto index = std::make_unique<NtxIndex>();
            index->open(ip, m_header.fields, writable, m_timeoutMs);
            m_indices.push_back(std::move(index));
        }
    } catch (...) {
        close();
        throw;
    }
    m_active = 0;
    m_recno = 0;
    m_record.clear();
}

void DbfTable::close() {
    if (m_recordLocked && m_file.isOpen())
        m_file.unlock(ClipperLocks::record(m_recno), 1);
    m_recordLocked = false;
    m_state = State::Browse;
    m_memos.clear();
    m_batch = false;
    for (auto& index : m_indices)
        index->close();
    m_indices.clear();
    m_memo.close();
    m_file.close();
    m_recno = 0;
    m_record.clear();
}

const DbfField* DbfTable::findField(const std::string& name) const {
    const std::string wanted = upperName(name);
    for (const DbfField& f : m_header.fields)
        if (f.name == wanted)
            return &f;
    return nullptr;
}

const DbfField& DbfTable::field(const std::string& name) const {
    const DbfField* f = findField(name);
    if (!f)
        throw AppError("O campo " + upperName(name) + " não existe na tabela " + m_file.path() + ".");
    return *f;
}

void DbfTable::setActiveIndex(std::size_t i) {
    if (i >= m_indices.size())
        throw AppError("A tabela " + m_file.path() + " não tem o índice número " + std::to_string(i + 1) + ".");
    m_active = i;
}

void DbfTable::checkLength(std::uint32_t count) const {
    const std::uint64_t size = m_file.size();
    const std::uint64_t room =
        size < m_header.headerLength ? 0 : (size - m_header.headerLength) / m_header.recordLength;
    if (count > room)
        throw AppError("A tabela " + m_file.path() + " está danificada: o cabeçalho indica " + std::to_string(count) +
                       " registros, mas o arquivo só contém " + std::to_string(room) + ".");
}

std::uint32_t DbfTable::recordCount() const {
    unsigned char b[4];
    m_file.readAt(DbfHeader::CountOffset, b, 4);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::uint64_t DbfTable::recordOffset(std::uint32_t recno) const {
    return m_header.headerLength + static_cast<std::uint64_t>(recno - 1) * m_header.recordLength;
}

void DbfTable::readRecord(std::uint32_t recno, std::string& into) const {
    into.resize(m_header.recordLength);
    m_file.readAt(recordOffset(recno), into.data(), into.size());
}

void DbfTable::writeRecord(std::uint32_t recno, const std::string& image) {
    m_file.writeAt(recordOffset(recno), image.data(), image.size());
}

void DbfTable::touchHeader(std::uint32_t newCount, bool setCount) {
    int y, m, d;
    today(y, m, d);
    std::string b = DbfHeader::dateBytes(y, m, d);
    if (setCount)
        for (int i = 0; i < 4; ++i)
            b += static_cast<char>((newCount >> (8 * i)) & 0xFF);
    m_file.writeAt(DbfHeader::DateOffset, b.data(), b.size());
}

void DbfTable::requireWritable() const {
    if (!m_file.writable())
        throw AppError("A tabela " + m_file.path() + " foi aberta só para leitura.");
}

bool DbfTable::go(std::uint32_t recno) {
    ensureBrowse();
    if (recno == 0 || recno > recordCount())
        return false;
    readRecord(recno, m_record);
    m_recno = recno;
    return true;
}

bool DbfTable::first() {
    ensureBrowse();
    m_recno = 0;
    return next();
}

bool DbfTable::next() {
    ensureBrowse();
    const std::uint32_t count = recordCount();
    // Whole runs of records at a time: a scan reads the file sequentially, not record by record.
    const std::uint32_t perChunk = std::max<std::uint32_t>(1, 65536 / m_header.recordLength);
    std::string chunk;
    for (std::uint32_t r = m_recno + 1; r <= count;) {
        const std::uint32_t n = std::min(perChunk, count - r + 1);
        chunk.resize(static_cast<std::size_t>(n) * m_header.recordLength);
        m_file.readAt(recordOffset(r), chunk.data(), chunk.size());
        for (std::uint32_t k = 0; k < n; ++k) {
            if (chunk[static_cast<std::size_t>(k) * m_header.recordLength] != '*') {
                m_record = chunk.substr(static_cast<std::size_t>(k) * m_header.recordLength, m_header.recordLength);
                m_recno = r + k;
                return true;
            }
        }
        r += n;
    }
    m_recno = count + 1;
    m_record.clear();
    return false;
}

bool DbfTable::seek(const std::string& key, bool soft) {
    ensureBrowse();
    if (m_indices.empty())
        throw AppError("A tabela " + m_file.path() + " não tem índice para a busca.");
    NtxIndex& index = *m_indices[m_active];
    std::string k = DbfCodePage::fromUtf8(key, codePage());
    for (;;) {
        const auto hit = index.seek(k, soft);
        if (!hit)
            return false;
        // Equal keys of deleted records are passed over.
        for (const NtxIndex::Entry& e : index.withPrefix(hit->key))
            if (go(e.recno) && !isDeleted())
                return true;
        if (!soft)
            return false;
        k = pastPrefix(hit->key);
        if (k.empty())
            return false;
    }
}

bool DbfTable::locate(const std::vector<std::string>& fieldNames, const std::vector<std::string>& values,
                      bool caseInsensitive) {
    ensureBrowse();
    std::vector<const DbfField*> fs;
    std::vector<std::string> wanted;
    for (std::size_t i = 0; i < fieldNames.size(); ++i) {
        const DbfField& f = field(fieldNames[i]);
        if (f.type == 'M')
            throw AppError("O campo " + f.name + " da tabela " + m_file.path() +
                           " é um memorando e não serve de busca.");
        fs.push_back(&f);
        std::string raw =
            DbfValue::encode(f, i < values.size() ? values[i] : std::string(), codePage(), m_file.path(), true);
        wanted.push_back(caseInsensitive ? DbfCodePage::upper(raw) : raw);
    }
    auto matches = [&](const std::string& rec) {
        if (rec.empty() || rec[0] == '*')
            return false;
        for (std::size_t i = 0; i < fs.size(); ++i) {
            std::string v = rec.substr(fs[i]->offset, fs[i]->length);
            if (caseInsensitive)
                v = DbfCodePage::upper(v);
            if (v != wanted[i])
                return false;
        }
        return true;
    };

    // The index whose key starts with the most of the fields searched.
    std::size_t bestIndex = 0, bestCount = 0;
    std::string bestPrefix;
    for (std::size_t x = 0; x < m_indices.size(); ++x) {
        const auto& parts = m_indices[x]->expression().seekableParts();
        std::string prefix;
        std::size_t n = 0;
        for (; n < parts.size() && n < fs.size(); ++n) {
            const auto& part = parts[n];
            if (&m_header.fields[part.field] != fs[n])
                break;
            std::string bytes = wanted[n].substr(part.start, part.length);
            if (part.upper)
                bytes = DbfCodePage::upper(bytes);
            else if (caseInsensitive && hasLetters(bytes))
                break;
            prefix += bytes;
            if (!part.whole(m_header.fields)) {
                ++n;
                break;
            }
        }
        if (n > bestCount) {
            bestCount = n;
            bestIndex = x;
            bestPrefix = prefix;
        }
    }
    if (bestCount > 0) {
        for (const NtxIndex::Entry& e : m_indices[bestIndex]->withPrefix(bestPrefix))
            if (go(e.recno) && matches(m_record))
                return true;
        m_recno = 0;
        m_record.clear();
        return false;
    }
    for (bool more = first(); more; more = next())
        if (matches(m_record))
            return true;
    return false;
}

std::string DbfTable::memoText(const DbfField& f, std::string_view stored) const {
    std::string digits;
    for (char c : stored)
        if (c != ' ')
            digits += c;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return {};
    const auto block = static_cast<std::uint32_t>(std::stoul(digits));
    if (block == 0)
        return {};
    if (!m_memo.isOpen())
        throw AppError("O campo " + f.name + " da tabela " + m_file.path() +
                       " é um memorando, mas não há arquivo .DBT.");
    try {
        return DbfCodePage::toUtf8(m_memo.read(block), codePage());
    } catch (const AppError& e) {
        throw AppError("Registro " + std::to_string(m_recno) + ", campo " + f.name + ": " + e.what());
    }
}

std::string DbfTable::text(const std::string& fieldName) const {
    const DbfField& f = field(fieldName);
    if (m_record.empty())
        return {};
    if (f.type == 'M') {
        const std::size_t index = static_cast<std::size_t>(&f - m_header.fields.data());
        const auto pending = m_memos.find(index);
        if (pending != m_memos.end())
            return pending->second;
        return memoText(f, std::string_view(m_record).substr(f.offset, f.length));
    }
    return DbfValue::decode(f, std::string_view(m_record).substr(f.offset, f.length), codePage());
}

void DbfTable::setText(const std::string& fieldName, const std::string& value) {
    const DbfField& f = field(fieldName);
    if (m_state == State::Browse)
        edit();
    if (f.type == 'M') {
        m_memos[static_cast<std::size_t>(&f - m_header.fields.data())] = value;
        return;
    }
    m_record.replace(f.offset, f.length, DbfValue::encode(f, value, codePage(), m_file.path()));
}

void DbfTable::setBool(const std::string& fieldName, bool value) {
    setText(fieldName, value ? "T" : "F");
}

void DbfTable::ensureBrowse() {
    if (m_state != State::Browse)
        post();
}

void DbfTable::append() {
    requireWritable();
    ensureBrowse();
    m_record.assign(m_header.recordLength, ' ');
    m_original.clear();
    m_memos.clear();
    m_state = State::Insert;
    m_recno = 0;
}

void DbfTable::edit() {
    requireWritable();
    if (m_state != State::Browse)
        return;
    if (m_recno == 0 || m_record.empty())
        throw AppError("Não há registro para alterar na tabela " + m_file.path() + ".");
    m_file.lock(ClipperLocks::record(m_recno), 1, true, m_timeoutMs);
    m_recordLocked = true;
    try {
        readRecord(m_recno, m_record);
        if (isDeleted())
            throw AppError("O registro " + std::to_string(m_recno) + " da tabela " + m_file.path() +
                           " foi apagado por outro usuário.");
    } catch (...) {
        m_file.unlock(ClipperLocks::record(m_recno), 1);
        m_recordLocked = false;
        throw;
    }
    m_original = m_record;
    m_memos.clear();
    m_state = State::Edit;
}

void DbfTable::cancel() {
    if (m_state == State::Edit) {
        m_record = m_original;
        if (m_recordLocked)
            m_file.unlock(ClipperLocks::record(m_recno), 1);
        m_recordLocked = false;
    } else if (m_state == State::Insert) {
        m_record.clear();
        m_recno = 0;
    }
    m_memos.clear();
    m_state = State::Browse;
}

void DbfTable::lockIndices() {
    std::size_t locked = 0;
    try {
        for (auto& index : m_indices) {
            if (!index->writing())
                index->beginWrite();
            ++locked;
        }
    } catch (...) {
        if (!m_batch)
            for (std::size_t i = 0; i < locked; ++i)
                m_indices[i]->endWrite();
        throw;
    }
}

void DbfTable::unlockIndices() {
    if (m_batch)
        return;
    for (auto& index : m_indices)
        index->endWrite();
}

void DbfTable::endBatch() {
    m_batch = false;
    for (auto& index : m_indices)
        index->endWrite();
}

void DbfTable::post() {
    if (m_state == State::Browse)
        return;
    const bool inserting = m_state == State::Insert;
    // Keys first: a key that cannot be built stops the post before anything is written.
    std::vector<std::string> newKeys, oldKeys;
    for (auto& index : m_indices) {
        newKeys.push_back(index->keyOf(m_record));
        if (!inserting)
            oldKeys.push_back(index->keyOf(m_original));
    }
    for (const auto& [fieldIndex, text] : m_memos) {
        const DbfField& f = m_header.fields[fieldIndex];
        std::string stored(f.length, ' ');
        if (!text.empty()) {
            if (!m_memo.isOpen())
                throw AppError("O campo " + f.name + " da tabela " + m_file.path() +
                               " é um memorando, mas não há arquivo .DBT.");
            const std::string block = std::to_string(m_memo.append(DbfCodePage::fromUtf8(text, codePage())));
            stored.replace(f.length - block.size(), block.size(), block);
        }
        m_record.replace(f.offset, f.length, stored);
    }
    m_memos.clear();

    lockIndices();
    std::uint32_t recno = m_recno;
    bool recordWritten = false;
    std::size_t keysDone = 0;
    try {
        if (inserting) {
            m_file.lock(ClipperLocks::Header, 1, true, m_timeoutMs);
            try {
                const std::uint32_t count = recordCount();
                checkLength(count);
                recno = count + 1;
                std::string image = m_record;
                image += '\x1A';
                m_file.writeAt(recordOffset(recno), image.data(), image.size());
                recordWritten = true;
                touchHeader(recno, true);
            } catch (...) {
                m_file.unlock(ClipperLocks::Header, 1);
                throw;
            }
            m_file.unlock(ClipperLocks::Header, 1);
            for (std::size_t i = 0; i < m_indices.size(); ++i, ++keysDone)
                m_indices[i]->insert(newKeys[i], recno);
        } else {
            writeRecord(recno, m_record);
            recordWritten = true;
            touchHeader(0, false);
            for (std::size_t i = 0; i < m_indices.size(); ++i, ++keysDone) {
                if (newKeys[i] == oldKeys[i])
                    continue;
                m_indices[i]->remove(oldKeys[i], recno);
                m_indices[i]->insert(newKeys[i], recno);
            }
        }
    } catch (...) {
        // Put the table back in agreement with the indices as far as they got.
        try {
            if (inserting && recordWritten) {
                for (std::size_t i = 0; i < keysDone; ++i)
                    m_indices[i]->remove(newKeys[i], recno);
                const char deleted = '*';
                m_file.writeAt(recordOffset(recno), &deleted, 1);
            } else if (!inserting && recordWritten) {
                for (std::size_t i = 0; i < keysDone; ++i)
                    if (newKeys[i] != oldKeys[i]) {
                        m_indices[i]->remove(newKeys[i], recno);
                        m_indices[i]->insert(oldKeys[i], recno);
                    }
                writeRecord(recno, m_original);
            }
        } catch (...) {
        }
        unlockIndices();
        throw;
    }
    unlockIndices();
    if (m_recordLocked)
        m_file.unlock(ClipperLocks::record(recno), 1);
    m_recordLocked = false;
    m_recno = recno;
    m_state = State::Browse;
}

void DbfTable::deleteRecord() {
    requireWritable();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Browse)
        edit();
    std::vector<std::string> keys;
    for (auto& index : m_indices)
        keys.push_back(index->keyOf(m_original));
    try {
        lockIndices();
    } catch (...) {
        cancel();
        throw;
    }
    try {
        m_original[0] = '*';
        const char deleted = '*';
        m_file.writeAt(recordOffset(m_recno), &deleted, 1);
        touchHeader(0, false);
        for (std::size_t i = 0; i < m_indices.size(); ++i)
            m_indices[i]->remove(keys[i], m_recno);
    } catch (...) {
        unlockIndices();
        cancel();
        throw;
    }
    unlockIndices();
    cancel();
}

void DbfTable::create(const std::string& path, const std::vector<DbfField>& fields, DbfCodePage::Page page) {
    DbfHeader h = DbfHeader::forFields(fields);
    int y, m, d;
    today(y, m, d);
    h.year = y;
    h.month = m;
    h.day = d;
    h.languageDriver = DbfCodePage::languageDriver(page);
    SharedFile f;
    f.create(path);
    std::string bytes = h.serialize();
    bytes += '\x1A';
    f.writeAt(0, bytes.data(), bytes.size());
    if (h.hasMemo()) {
        const std::filesystem::path p(path);
        const bool lower =
            !p.extension().string().empty() && std::islower(static_cast<unsigned char>(p.extension().string()[1]));
        DbtMemo::create((p.parent_path() / (p.stem().string() + (lower ? ".dbt" : ".DBT"))).string());
    }
}
