#include "data/RecordTable.h"

#include "app/AppError.h"

RecordTable::Row::Row(int count, int nestedCount)
    : m_ends(static_cast<std::size_t>(count), NullBit), m_nested(static_cast<std::size_t>(nestedCount)) {}

std::string_view RecordTable::Row::value(int slot) const {
    const std::uint32_t b = begin(slot);
    const std::uint32_t e = m_ends[slot] & ~NullBit;
    return std::string_view(m_text.data() + b, e - b);
}

void RecordTable::Row::replace(int slot, std::string_view value, bool null) {
    const std::uint32_t b = begin(slot);
    const std::uint32_t e = m_ends[slot] & ~NullBit;
    if (m_text.size() - (e - b) + value.size() >= NullBit)
        throw AppError("Registro grande demais para o conjunto de registros.");
    m_text.replace(b, e - b, value.data(), value.size());
    const auto delta = static_cast<std::int64_t>(value.size()) - static_cast<std::int64_t>(e - b);
    const auto newEnd = static_cast<std::uint32_t>(b + value.size());
    m_ends[slot] = null ? (newEnd | NullBit) : newEnd;
    if (delta != 0)
        for (std::size_t i = static_cast<std::size_t>(slot) + 1; i < m_ends.size(); ++i) {
            const std::uint32_t flag = m_ends[i] & NullBit;
            m_ends[i] = static_cast<std::uint32_t>(static_cast<std::int64_t>(m_ends[i] & ~NullBit) + delta) | flag;
        }
}

void RecordTable::Row::set(int slot, std::string_view value) {
    replace(slot, value, false);
}

void RecordTable::Row::setNull(int slot) {
    replace(slot, std::string_view(), true);
}

RecordTable::Row RecordTable::Row::build(const std::vector<std::string_view>& values, const std::vector<bool>& present,
                                         int nestedCount) {
    Row row;
    std::size_t total = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (present[i])
            total += values[i].size();
    if (total >= NullBit)
        throw AppError("Registro grande demais para o conjunto de registros.");
    row.m_text.reserve(total);
    row.m_ends.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (present[i]) {
            row.m_text.append(values[i].data(), values[i].size());
            row.m_ends[i] = static_cast<std::uint32_t>(row.m_text.size());
        } else {
            row.m_ends[i] = static_cast<std::uint32_t>(row.m_text.size()) | NullBit;
        }
    }
    row.m_nested.resize(static_cast<std::size_t>(nestedCount));
    return row;
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
