#pragma once

#include "data/IntegraDatabase.h"

#include <cstddef>
#include <string>
#include <vector>

/// The in-memory rows of one Integra table (the data module's cdsUnidade, cdsPais …): the result of
/// the table's last query, with a current row. Inactive until a query fills it; closing empties it.
class IntegraRows {
public:
    bool active() const { return m_active; }
    /// Takes the rows of a query and makes the first one current.
    void load(IntegraResult result);
    /// Empties the rows and makes the set inactive.
    void close();

    const std::vector<std::string>& columns() const { return m_result.columns; }
    /// Position of a column (names compared without regard to case), or −1.
    int columnIndex(const std::string& column) const;
    std::size_t recordCount() const { return m_result.rows.size(); }
    bool isEmpty() const { return m_result.rows.empty(); }
    const std::vector<IntegraRow>& rows() const { return m_result.rows; }

    void first() { m_current = 0; }
    void last() { m_current = m_result.rows.empty() ? 0 : m_result.rows.size() - 1; }
    /// Moves to the next row; false (and at the end) after the last one.
    bool next();
    /// True when there is no current row (empty set, or moved past the last row).
    bool eof() const { return m_current >= m_result.rows.size(); }
    std::size_t position() const { return m_current; }
    void moveTo(std::size_t row);

    /// The value of a column in the current row. Throws AppError for an unknown column or no current row.
    IntegraValue value(const std::string& column) const;
    /// The same as text: NULL reads as empty.
    std::string text(const std::string& column) const;

private:
    IntegraResult m_result;
    std::size_t m_current = 0;
    bool m_active = false;
};
