#include "data/RecordTable.h"

#include "base/AppError.h"

#include <cstring>

namespace {

std::uint32_t load32(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void store32(char* p, std::uint32_t v) {
    std::memcpy(p, &v, sizeof v);
}

} // namespace

RecordTable::Row::Row(int count, int nestedCount) : m_nestedCount(nestedCount) {
    const auto n = static_cast<std::uint32_t>(count);
    m_block.reset(new char[Header + n * sizeof(std::uint32_t)]);
    store32(m_block.get(), n);
    for (std::uint32_t i = 0; i < n; ++i)
        store32(m_block.get() + Header + i * sizeof(std::uint32_t), NullBit);
    if (nestedCount > 0)
        m_nested.reset(new std::shared_ptr<RecordTable>[static_cast<std::size_t>(nestedCount)]);
}

RecordTable::Row::Row(const Row& other) : m_nestedCount(other.m_nestedCount) {
    if (other.m_block) {
        const std::size_t size = other.blockSize();
        m_block.reset(new char[size]);
        std::memcpy(m_block.get(), other.m_block.get(), size);
    }
    if (m_nestedCount > 0) {
        m_nested.reset(new std::shared_ptr<RecordTable>[static_cast<std::size_t>(m_nestedCount)]);
        for (int i = 0; i < m_nestedCount; ++i)
            m_nested[i] = other.m_nested[i];
    }
}

RecordTable::Row& RecordTable::Row::operator=(const Row& other) {
    if (this != &other) {
        Row copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::uint32_t RecordTable::Row::count() const {
    return m_block ? load32(m_block.get()) : 0;
}

std::uint32_t RecordTable::Row::endOf(int slot) const {
    return load32(m_block.get() + Header + static_cast<std::size_t>(slot) * sizeof(std::uint32_t));
}

std::uint32_t RecordTable::Row::textSize() const {
    const std::uint32_t n = count();
    return n == 0 ? 0 : (endOf(static_cast<int>(n) - 1) & ~NullBit);
}

std::string_view RecordTable::Row::value(int slot) const {
    const std::uint32_t b = beginOf(slot);
    const std::uint32_t e = endOf(slot) & ~NullBit;
    return std::string_view(text() + b, e - b);
}

void RecordTable::Row::replace(int slot, std::string_view value, bool null) {
    const std::uint32_t n = count();
    const std::uint32_t b = beginOf(slot);
    const std::uint32_t e = endOf(slot) & ~NullBit;
    const std::uint32_t oldText = textSize();
    const std::size_t newText = oldText - (e - b) + value.size();
    if (newText >= NullBit)
        throw AppError("Registro grande demais para o conjunto de registros.");
    std::unique_ptr<char[]> block(new char[Header + n * sizeof(std::uint32_t) + newText]);
    store32(block.get(), n);
    const auto delta = static_cast<std::int64_t>(value.size()) - static_cast<std::int64_t>(e - b);
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t end = endOf(static_cast<int>(i));
        if (i == static_cast<std::uint32_t>(slot))
            end = static_cast<std::uint32_t>(b + value.size()) | (null ? NullBit : 0);
        else if (i > static_cast<std::uint32_t>(slot))
            end = static_cast<std::uint32_t>(static_cast<std::int64_t>(end & ~NullBit) + delta) | (end & NullBit);
        store32(block.get() + Header + i * sizeof(std::uint32_t), end);
    }
    char* out = block.get() + Header + n * sizeof(std::uint32_t);
    const char* in = text();
    std::memcpy(out, in, b);
    if (!value.empty())
        std::memcpy(out + b, value.data(), value.size());
    std::memcpy(out + b + value.size(), in + e, oldText - e);
    m_block = std::move(block);
}

void RecordTable::Row::set(int slot, std::string_view value) {
    replace(slot, value, false);
}

void RecordTable::Row::setNull(int slot) {
    replace(slot, std::string_view(), true);
}

RecordTable::Row RecordTable::Row::build(const std::vector<std::string_view>& values, int nestedCount) {
    const auto n = static_cast<std::uint32_t>(values.size());
    std::size_t total = 0;
    for (const auto& v : values)
        total += v.size();
    if (total >= NullBit)
        throw AppError("Registro grande demais para o conjunto de registros.");
    Row row;
    row.m_block.reset(new char[Header + n * sizeof(std::uint32_t) + total]);
    store32(row.m_block.get(), n);
    char* ends = row.m_block.get() + Header;
    char* out = ends + n * sizeof(std::uint32_t);
    std::uint32_t at = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::string_view v = values[i];
        if (v.data() != nullptr) {
            if (!v.empty())
                std::memcpy(out + at, v.data(), v.size());
            at += static_cast<std::uint32_t>(v.size());
            store32(ends + i * sizeof(std::uint32_t), at);
        } else {
            store32(ends + i * sizeof(std::uint32_t), at | NullBit);
        }
    }
    row.m_nestedCount = nestedCount;
    if (nestedCount > 0)
        row.m_nested.reset(new std::shared_ptr<RecordTable>[static_cast<std::size_t>(nestedCount)]);
    return row;
}

RecordTable::Row RecordTable::Row::build(const std::vector<std::string_view>& values, const std::vector<bool>& present,
                                         int nestedCount) {
    std::vector<std::string_view> given(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        if (present[i])
            given[i] = values[i].data() ? values[i] : std::string_view("", 0);
    return build(given, nestedCount);
}

RecordTable::RecordTable(std::shared_ptr<const RecordSchema> schema) : m_schema(std::move(schema)) {
    if (!m_schema)
        m_schema = std::make_shared<RecordSchema>();
}

void RecordTable::append(Row row) {
    m_rows.push_back(std::move(row));
    ++m_version;
}

void RecordTable::insert(std::size_t position, Row row) {
    if (position > m_rows.size())
        position = m_rows.size();
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(position), std::move(row));
    ++m_version;
}

void RecordTable::erase(std::size_t position) {
    if (position >= m_rows.size())
        return;
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(position));
    ++m_version;
}

void RecordTable::clear() {
    m_rows.clear();
    ++m_version;
}

std::shared_ptr<RecordTable> RecordTable::nestedOf(std::size_t i, int slot) {
    Row& r = m_rows[i];
    if (!r.nested(slot))
        r.setNested(slot, std::make_shared<RecordTable>(m_schema->nestedField(slot).nested));
    return r.nested(slot);
}
