#include "data/IntegraTable.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/RecordSchema.h"
#include "data/RecordSet.h"
#include "data/RecordTable.h"

#include <cctype>
#include <string_view>

IntegraTable::IntegraTable(IntegraDatabase& database, std::string tableName, RecordSet& rows)
    : m_database(database), m_tableName(std::move(tableName)), m_rows(rows), m_commandText(selectAllSql()) {}

std::string IntegraTable::selectAllSql() const {
    return "SELECT * FROM " + m_tableName;
}

void IntegraTable::open() {
    if (!m_rows.active())
        m_rows.setData(toRecordTable(m_database.query(m_commandText)));
}

void IntegraTable::close() {
    m_rows.close();
}

RecordSet& IntegraTable::query(const std::string& sql) {
    close();
    m_commandText = sql;
    open();
    return m_rows;
}

unsigned long long IntegraTable::execute(const std::string& sql) {
    close();
    return m_database.execute(sql);
}

std::string IntegraTable::searchSql(const std::string& column, const std::string& text) const {
    const std::string all = "SELECT * FROM " + upperAscii(m_tableName);
    if (column.empty())
        return all;
    for (char c : column)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '$')
            throw AppError("Campo de pesquisa inválido: " + column);
    return all + " WHERE UPPER (" + upperAscii(column) + ")" + " LIKE " +
           IntegraDatabase::quote("%" + upperText(text) + "%");
}

std::shared_ptr<RecordTable> IntegraTable::toRecordTable(const IntegraResult& result) {
    auto schema = std::make_shared<RecordSchema>();
    for (const std::string& column : result.columns) {
        std::string name = column.empty() ? std::string("COLUMN") : column;
        for (int n = 2; schema->has(name); ++n)
            name = column + "_" + std::to_string(n);
        schema->addValueField(name);
    }
    auto table = std::make_shared<RecordTable>(schema);
    table->reserve(result.rows.size());
    std::vector<std::string_view> values(result.columns.size());
    std::vector<bool> present(result.columns.size());
    for (const IntegraRow& row : result.rows) {
        for (size_t i = 0; i < values.size(); ++i) {
            present[i] = i < row.size() && row[i].has_value();
            values[i] = present[i] ? std::string_view(*row[i]) : std::string_view();
        }
        table->append(RecordTable::Row::build(values, present, 0));
    }
    return table;
}
