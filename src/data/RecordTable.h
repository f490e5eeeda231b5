#pragma once

#include "data/RecordSchema.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The rows of one record set: ordered rows sharing a schema. A row keeps its values in one text
/// buffer (a document of thousands of items loads with few allocations) and its nested tables by
/// nested slot. RecordSet is the cursor over a table; nested tables are shared with the sets bound
/// to them.
class RecordTable {
public:
    class Row {
    public:
        Row() = default;
        /// A row of count value fields, all null, and nestedCount empty nested slots.
        Row(int count, int nestedCount);

        bool isNull(int slot) const { return (m_ends[slot] & NullBit) != 0; }
        std::string_view value(int slot) const;
        void set(int slot, std::string_view value);
        void setNull(int slot);
        int valueCount() const { return static_cast<int>(m_ends.size()); }

        /// The nested table of a slot (nullptr when the row holds none yet: read as empty).
        const std::shared_ptr<RecordTable>& nested(int slot) const { return m_nested[slot]; }
        void setNested(int slot, std::shared_ptr<RecordTable> table) { m_nested[slot] = std::move(table); }

        /// Builds a row in one pass: values[i] is the text of slot i, nullptr data meaning null.
        static Row build(const std::vector<std::string_view>& values, const std::vector<bool>& present,
                         int nestedCount);

    private:
        static constexpr std::uint32_t NullBit = 0x80000000u;
        std::uint32_t begin(int slot) const { return slot == 0 ? 0 : (m_ends[slot - 1] & ~NullBit); }
        void replace(int slot, std::string_view value, bool null);

        std::string m_text;
        std::vector<std::uint32_t> m_ends;
        std::vector<std::shared_ptr<RecordTable>> m_nested;
    };

    explicit RecordTable(std::shared_ptr<const RecordSchema> schema);

    const std::shared_ptr<const RecordSchema>& schema() const { return m_schema; }
    const std::vector<Row>& rows() const { return m_rows; }
    std::size_t size() const { return m_rows.size(); }
    bool empty() const { return m_rows.empty(); }
    const Row& row(std::size_t i) const { return m_rows[i]; }
    Row& row(std::size_t i) { return m_rows[i]; }

    /// A fresh row for this schema (all values null).
    Row newRow() const { return Row(m_schema->valueCount(), m_schema->nestedCount()); }
    void append(Row row);
    void insert(std::size_t position, Row row);
    void erase(std::size_t position);
    void clear();
    void reserve(std::size_t n) { m_rows.reserve(n); }
    /// Raised by every change of the row list, so cursors over the table know their view is stale.
    std::uint64_t version() const { return m_version; }
    void touch() { ++m_version; }

    /// The nested table of row i's nested slot, created empty on first use.
    std::shared_ptr<RecordTable> nestedOf(std::size_t i, int slot);

private:
    std::shared_ptr<const RecordSchema> m_schema;
    std::vector<Row> m_rows;
    std::uint64_t m_version = 0;
};
