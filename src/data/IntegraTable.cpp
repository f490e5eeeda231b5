#include "data/IntegraTable.h"

#include "data/IntegraDatabase.h"
#include "data/IntegraRows.h"

IntegraTable::IntegraTable(IntegraDatabase& database, std::string tableName, IntegraRows& rows)
    : m_database(database), m_tableName(std::move(tableName)), m_rows(rows), m_commandText(selectAllSql()) {}

std::string IntegraTable::selectAllSql() const {
    return "SELECT * FROM " + m_tableName;
}

void IntegraTable::open() {
    if (!m_rows.active())
        m_rows.load(m_database.query(m_commandText));
}

void IntegraTable::close() {
    m_rows.close();
}

IntegraRows& IntegraTable::query(const std::string& sql) {
    close();
    m_commandText = sql;
    open();
    return m_rows;
}

unsigned long long IntegraTable::execute(const std::string& sql) {
    close();
    return m_database.execute(sql);
}
