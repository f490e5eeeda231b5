#pragma once

#include "data/RecordSchema.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The rows of one record set: ordered rows sharing a schema. RecordSet is the cursor over a
/// table; nested tables are shared with the sets bound to them.
class RecordTable {
public:
    /// One row: its values in a single block (count, the end of each value with a null mark, then
    /// the texts one after another), so a document of thousands of items loads with few
    /// allocations; and its nested tables by nested slot.
    class Row {
    public:
        Row() = default;
        /// A row of count value fields, all null, and nestedCount empty nested slots.
        Row(int count, int nestedCount);
        Row(const Row& other);
        Row& operator=(const Row& other);
        Row(Row&&) noexcept = default;
        Row& operator=(Row&&) noexcept = default;

        bool isNull(int slot) const { return (endOf(slot) & NullBit) != 0; }
        std::string_view value(int slot) const;
        void set(int slot, std::string_view value);
        void setNull(int slot);
        int valueCount() const { return static_cast<int>(count()); }

        /// The nested table of a slot (nullptr when the row holds none yet: read as empty).
        const std::shared_ptr<RecordTable>& nested(int slot) const { return m_nested[slot]; }
        void setNested(int slot, std::shared_ptr<RecordTable> table) { m_nested[slot] = std::move(table); }

        /// Builds a row in one pass: values[i] is the text of slot i; a view with no data
        /// (std::string_view()) is null, an empty view of some text is the empty text.
        static Row build(const std::vector<std::string_view>& values, int nestedCount);
        /// The same with the nulls given apart: values[i] counts only where present[i].
        static Row build(const std::vector<std::string_view>& values, const std::vector<bool>& present,
                         int nestedCount);

    private:
        static constexpr std::uint32_t NullBit = 0x80000000u;
        static constexpr std::size_t Header = sizeof(std::uint32_t);
        std::uint32_t count() const;
        std::uint32_t endOf(int slot) const;
        std::uint32_t beginOf(int slot) const { return slot == 0 ? 0 : (endOf(slot - 1) & ~NullBit); }
        std::uint32_t textSize() const;
        std::size_t blockSize() const { return Header + count() * sizeof(std::uint32_t) + textSize(); }
        const char* text() const { return m_block.get() + Header + count() * sizeof(std::uint32_t); }
        void replace(int slot, std::string_view value, bool null);

        std::unique_ptr<char[]> m_block;
        std::unique_ptr<std::shared_ptr<RecordTable>[]> m_nested;
        int m_nestedCount = 0;
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
