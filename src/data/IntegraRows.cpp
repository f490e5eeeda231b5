#include "data/IntegraRows.h"

#include "app/AppError.h"
#include "app/TextUtils.h"

void IntegraRows::load(IntegraResult result) {
    m_result = std::move(result);
    m_current = 0;
    m_active = true;
}

void IntegraRows::close() {
    m_result = IntegraResult{};
    m_current = 0;
    m_active = false;
}

int IntegraRows::columnIndex(const std::string& column) const {
    for (std::size_t i = 0; i < m_result.columns.size(); ++i)
        if (equalsNoCase(m_result.columns[i], column))
            return static_cast<int>(i);
    return -1;
}

bool IntegraRows::next() {
    if (m_current < m_result.rows.size())
        ++m_current;
    return !eof();
}

void IntegraRows::moveTo(std::size_t row) {
    m_current = row < m_result.rows.size() ? row : m_result.rows.size();
}

IntegraValue IntegraRows::value(const std::string& column) const {
    const int index = columnIndex(column);
    if (index < 0)
        throw AppError("Campo " + column + " não encontrado.");
    if (eof())
        throw AppError("Nenhum registro selecionado (campo " + column + ").");
    return m_result.rows[m_current][static_cast<std::size_t>(index)];
}

std::string IntegraRows::text(const std::string& column) const {
    return value(column).value_or(std::string());
}
