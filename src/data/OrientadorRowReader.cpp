#include "data/OrientadorRowReader.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorTable.h"
#include "data/OrientadorValues.h"

#include <sqlite3.h>

namespace {

std::string quoteIdentifier(const std::string& name) {
    return "\"" + replaceAll(name, "\"", "\"\"") + "\"";
}

} // namespace

OrientadorRowReader::OrientadorRowReader(OrientadorTable& table) : m_table(table) {
    if (!table.active())
        throw AppError("A tabela " + table.tableName() + " do Orientador - SISCOMEX não está aberta");
    m_fields = table.fields();
    m_scratch.resize(m_fields.size());
    std::string columns;
    for (const OrientadorField& f : m_fields)
        columns += (columns.empty() ? "" : ", ") + quoteIdentifier(f.name);
    const OrientadorTable::Where filter = table.filterWhere();
    std::string sql = "SELECT " + (columns.empty() ? std::string("NULL") : columns) + " FROM " + table.quotedTable();
    if (!filter.sql.empty())
        sql += " WHERE " + filter.sql;
    sql += " ORDER BY rowid";
    const OrientadorDatabase& db = table.m_db;
    const std::string doing = "ler a tabela " + table.tableName();
    int rc = sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &m_stmt, nullptr);
    for (std::size_t i = 0; rc == SQLITE_OK && i < filter.params.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        const OrientadorValue& v = filter.params[i];
        if (std::holds_alternative<std::monostate>(v))
            rc = sqlite3_bind_null(m_stmt, position);
        else if (const auto* n = std::get_if<long long>(&v))
            rc = sqlite3_bind_int64(m_stmt, position, *n);
        else if (const auto* d = std::get_if<double>(&v))
            rc = sqlite3_bind_double(m_stmt, position, *d);
        else {
            const auto& s = std::get<std::string>(v);
            rc = sqlite3_bind_text(m_stmt, position, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        }
    }
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        db.fail(rc, doing);
    }
}

OrientadorRowReader::~OrientadorRowReader() {
    sqlite3_finalize(m_stmt);
}

bool OrientadorRowReader::next() {
    if (!m_stmt)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        ++m_rowNumber;
        return true;
    }
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    if (rc != SQLITE_DONE)
        m_table.m_db.fail(rc, "ler a tabela " + m_table.tableName());
    return false;
}

bool OrientadorRowReader::isNull(std::size_t column) const {
    return !m_stmt || sqlite3_column_type(m_stmt, static_cast<int>(column)) == SQLITE_NULL;
}

std::string_view OrientadorRowReader::text(std::size_t column) {
    if (!m_stmt || column >= m_fields.size())
        return {};
    const int i = static_cast<int>(column);
    const OrientadorField& f = m_fields[column];
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return m_scratch[column] = orientadorValueText(f, static_cast<long long>(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return m_scratch[column] = orientadorValueText(f, sqlite3_column_double(m_stmt, i));
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
        const std::string_view stored(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, i)));
        // Texts are given as stored; dates are turned into dd/mm/yyyy as the cursor does.
        if (f.type != OrientadorFieldType::Date)
            return stored;
        return m_scratch[column] = orientadorValueText(f, std::string(stored));
    }
    }
}
