#include "data/OrientadorTable.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorValues.h"

#include <sqlite3.h>

#include <cmath>

namespace {

using Value = OrientadorTable::Value;

std::string quoteIdentifier(const std::string& name) {
    return "\"" + replaceAll(name, "\"", "\"\"") + "\"";
}

// One prepared statement; every failure goes through the connection's messages.
class Statement {
public:
    Statement(const OrientadorDatabase& db, const std::string& sql, std::string doing)
        : m_db(db), m_sql(sql), m_doing(std::move(doing)) {
        const int rc = db.acquireStatement(m_sql, m_stmt);
        if (rc != SQLITE_OK)
            db.fail(rc, m_doing);
    }
    ~Statement() { m_db.releaseStatement(m_sql, m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int position, const Value& v) {
        int rc = SQLITE_OK;
        if (std::holds_alternative<std::monostate>(v))
            rc = sqlite3_bind_null(m_stmt, position);
        else if (const auto* i = std::get_if<long long>(&v))
            rc = sqlite3_bind_int64(m_stmt, position, *i);
        else if (const auto* d = std::get_if<double>(&v))
            rc = sqlite3_bind_double(m_stmt, position, *d);
        else {
            const auto& s = std::get<std::string>(v);
            rc = sqlite3_bind_text(m_stmt, position, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            m_db.fail(rc, m_doing);
    }
    void bindAll(const std::vector<Value>& values, int firstPosition = 1) {
        for (size_t i = 0; i < values.size(); ++i)
            bind(firstPosition + static_cast<int>(i), values[i]);
    }
    /// True for a row, false at the end.
    bool step() {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        m_db.fail(rc, m_doing);
    }
    Value column(int i) const {
        switch (sqlite3_column_type(m_stmt, i)) {
        case SQLITE_NULL:
            return std::monostate{};
        case SQLITE_INTEGER:
            return static_cast<long long>(sqlite3_column_int64(m_stmt, i));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_stmt, i);
        default: {
            const auto* p = static_cast<const char*>(sqlite3_column_blob(m_stmt, i));
            return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(m_stmt, i)));
        }
        }
    }
    std::string columnText(int i) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
        return p ? p : "";
    }
    int columnCount() const { return sqlite3_column_count(m_stmt); }

private:
    const OrientadorDatabase& m_db;
    std::string m_sql;
    std::string m_doing;
    sqlite3_stmt* m_stmt = nullptr;
};

// ---------------------------------------------------------------- filter expressions

struct Token {
    enum Kind { End, Open, Close, Op, Word, Quoted, DateLit } kind = End;
    std::string text;
};

class FilterParser {
public:
    FilterParser(const std::string& text, const OrientadorTable& table) : m_text(text), m_table(table) { advance(); }

    std::string parse(std::vector<Value>& params) {
        std::string sql = expression(params);
        if (m_tok.kind != Token::End)
            fail("texto inesperado '" + m_tok.text + "'");
        return sql;
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw AppError("Filtro inválido para a tabela " + m_table.tableName() + ": '" + m_text + "' (" + why + ")");
    }

    void advance() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
            ++m_pos;
        m_tok = Token{};
        if (m_pos >= m_text.size())
            return;
        const char c = m_text[m_pos];
        if (c == '(' || c == ')') {
            m_tok = {c == '(' ? Token::Open : Token::Close, std::string(1, c)};
            ++m_pos;
            return;
        }
        if (c == '<' || c == '>' || c == '=') {
            std::string op(1, c);
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '=' || (c == '<' && m_text[m_pos] == '>')))
                op += m_text[m_pos++];
            m_tok = {Token::Op, op};
            return;
        }
        if (c == '\'' || c == '"') {
            std::string value;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size())
                    fail("aspas sem fechamento");
                if (m_text[m_pos] == c) {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == c) {
                        value += c;
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                value += m_text[m_pos++];
            }
            m_tok = {Token::Quoted, value};
            return;
        }
        if (c == '#') {
            const auto end = m_text.find('#', m_pos + 1);
            if (end == std::string::npos)
                fail("data sem fechamento");
            m_tok = {Token::DateLit, m_text.substr(m_pos + 1, end - m_pos - 1)};
            m_pos = end + 1;
            return;
        }
        if (c == '[') {
            const auto end = m_text.find(']', m_pos + 1);
            if (end == std::string::npos)
                fail("colchete sem fechamento");
            m_tok = {Token::Word, m_text.substr(m_pos + 1, end - m_pos - 1)};
            m_pos = end + 1;
            return;
        }
        const size_t start = m_pos;
        while (m_pos < m_text.size()) {
            const auto u = static_cast<unsigned char>(m_text[m_pos]);
            if (std::isalnum(u) || u >= 0x80 || u == '_' || u == '.' || u == ',' || u == '-' || u == '+')
                ++m_pos;
            else
                break;
        }
        if (m_pos == start)
            fail("caractere inesperado '" + std::string(1, c) + "'");
        m_tok = {Token::Word, m_text.substr(start, m_pos - start)};
    }

    bool isKeyword(const char* word) const { return m_tok.kind == Token::Word && equalsNoCase(m_tok.text, word); }

    std::string expression(std::vector<Value>& params) {
        std::string sql = term(params);
        while (isKeyword("OR")) {
            advance();
            sql += " OR " + term(params);
        }
        return sql;
    }

    std::string term(std::vector<Value>& params) {
        std::string sql = factor(params);
        while (isKeyword("AND")) {
            advance();
            sql += " AND " + factor(params);
        }
        return sql;
    }

    std::string factor(std::vector<Value>& params) {
        if (m_tok.kind == Token::Open) {
            advance();
            std::string inner = expression(params);
            if (m_tok.kind != Token::Close)
                fail("falta ')'");
            advance();
            return "(" + inner + ")";
        }
        if (m_tok.kind != Token::Word)
            fail("esperado um nome de campo");
        const std::string fieldName = m_tok.text;
        if (!m_table.hasField(fieldName))
            fail("o campo " + fieldName + " não existe");
        const OrientadorField& f = m_table.field(fieldName);
        advance();
        std::string op;
        if (m_tok.kind == Token::Op)
            op = m_tok.text;
        else if (isKeyword("LIKE"))
            op = "LIKE";
        else
            fail("esperado um operador depois de " + fieldName);
        advance();
        const std::string column = quoteIdentifier(f.name);

        if (isKeyword("NULL")) {
            advance();
            if (op == "=")
                return column + " IS NULL";
            if (op == "<>")
                return column + " IS NOT NULL";
            fail("null só pode ser comparado com = ou <>");
        }
        if (m_tok.kind != Token::Word && m_tok.kind != Token::Quoted && m_tok.kind != Token::DateLit)
            fail("esperado um valor depois de " + op);
        const Token value = m_tok;
        advance();
        if (op == "LIKE") {
            std::string pattern = replaceAll(replaceAll(value.text, "*", "%"), "?", "_");
            params.emplace_back(pattern);
            return column + " LIKE ?";
        }
        if (value.text.empty() || f.type == OrientadorFieldType::Text || f.type == OrientadorFieldType::Memo) {
            params.emplace_back(value.text);
        } else {
            try {
                params.push_back(orientadorStoredValue(f, value.text, false));
            } catch (const AppError& e) {
                fail(e.what());
            }
        }
        return column + " " + op + " ?";
    }

    const std::string& m_text;
    const OrientadorTable& m_table;
    size_t m_pos = 0;
    Token m_tok;
};

} // namespace

// ---------------------------------------------------------------- the cursor

OrientadorTable::OrientadorTable(OrientadorDatabase& database) : m_db(database) {}

OrientadorTable::~OrientadorTable() {
    close();
}

void OrientadorTable::setTableName(const std::string& name) {
    if (active())
        throw AppError("A tabela " + m_tableName + " do Orientador - SISCOMEX está aberta; feche-a antes de trocar");
    m_tableName = trim(name);
}

void OrientadorTable::open() {
    if (active())
        return;
    if (!m_db.connected())
        throw AppError("A conexão com o Orientador - SISCOMEX não está aberta (tabela " + m_tableName + ")");
    if (m_tableName.empty())
        throw AppError("Nenhuma tabela do Orientador - SISCOMEX foi indicada");
    m_db.attach(this);
    try {
        m_def = m_db.tableDefinition(m_tableName);
        m_state = State::Browse;
        compileFilter();
        clearRow();
        m_bof = true;
        m_eof = true;
        m_unsettled = true;
    } catch (...) {
        m_state = State::Inactive;
        m_def.reset();
        m_db.detach(this);
        throw;
    }
}

void OrientadorTable::close() {
    if (!active())
        return;
    m_state = State::Inactive;
    m_def.reset();
    m_unsettled = false;
    clearRow();
    m_buffer.clear();
    m_changed.clear();
    m_compiledFilter = {};
    m_db.detach(this);
}

void OrientadorTable::setFilter(const std::string& expression) {
    const std::string previous = m_filter;
    m_filter = expression;
    if (!active())
        return;
    browseMode();
    try {
        compileFilter();
    } catch (...) {
        m_filter = previous;
        compileFilter();
        throw;
    }
    if (m_filtered)
        first();
}

void OrientadorTable::setFiltered(bool on) {
    m_filtered = on;
    if (active()) {
        browseMode();
        first();
    }
}

void OrientadorTable::compileFilter() {
    m_compiledFilter = {};
    if (trim(m_filter).empty())
        return;
    FilterParser parser(m_filter, *this);
    m_compiledFilter.sql = parser.parse(m_compiledFilter.params);
}

OrientadorTable::Where OrientadorTable::filterWhere() const {
    if (m_filtered && !m_compiledFilter.sql.empty())
        return m_compiledFilter;
    return {};
}

std::string OrientadorTable::quotedTable() const {
    return quoteIdentifier(m_def->storedName);
}

void OrientadorTable::settle() const {
    if (!m_unsettled || !active())
        return;
    const bool found = fetch("1", {}, "ASC");
    m_unsettled = false;
    if (!found)
        clearRow();
    m_bof = true;
    m_eof = !found;
    // A row begun before the first was read goes back there when cancelled.
    if (m_state == State::Insert)
        m_rowidBeforeInsert = m_rowid;
}

void OrientadorTable::requireActive() const {
    if (!active())
        throw AppError("A tabela " + m_tableName + " do Orientador - SISCOMEX não está aberta");
}

void OrientadorTable::requireEditing(const std::string& fieldName) const {
    requireActive();
    if (m_state != State::Insert && m_state != State::Edit)
        throw AppError("A tabela " + m_tableName + " não está em inclusão ou alteração; o campo " + fieldName +
                       " não pode ser gravado");
}

size_t OrientadorTable::indexOf(const std::string& name) const {
    requireActive();
    // The writers name the same fields row after row: the names as written are remembered.
    const auto known = m_def->nameIndex.find(name);
    if (known != m_def->nameIndex.end())
        return known->second;
    const auto it = m_def->index.find(foldCase(trim(name)));
    if (it == m_def->index.end())
        throw AppError("O campo " + name + " não existe na tabela " + m_tableName + " do arquivo " + m_db.fileName());
    m_def->nameIndex.emplace(name, it->second);
    return it->second;
}

const OrientadorField& OrientadorTable::field(const std::string& name) const {
    return m_def->fields[indexOf(name)];
}

bool OrientadorTable::hasField(const std::string& name) const {
    return m_def && m_def->index.count(foldCase(trim(name))) != 0;
}

const std::vector<OrientadorField>& OrientadorTable::fields() const {
    static const std::vector<OrientadorField> none;
    return m_def ? m_def->fields : none;
}

std::vector<std::string> OrientadorTable::fieldNames() const {
    std::vector<std::string> names;
    for (const auto& f : fields())
        names.push_back(f.name);
    return names;
}

void OrientadorTable::clearRow() const {
    m_rowid = 0;
    m_row.clear();
}

void OrientadorTable::browseMode() {
    if (m_state == State::Insert || m_state == State::Edit) {
        bool changed = false;
        for (bool c : m_changed)
            changed = changed || c;
        if (changed)
            post();
        else
            cancel();
    }
}

bool OrientadorTable::fetch(const std::string& condition, const std::vector<Value>& params,
                            const std::string& order) const {
    const Where filter = filterWhere();
    std::string sql = "SELECT rowid, * FROM " + quotedTable() + " WHERE (" + condition + ")";
    if (!filter.sql.empty())
        sql += " AND (" + filter.sql + ")";
    sql += " ORDER BY rowid " + order + " LIMIT 1";
    Statement s(m_db, sql, "ler a tabela " + m_tableName);
    s.bindAll(params);
    s.bindAll(filter.params, static_cast<int>(params.size()) + 1);
    if (!s.step())
        return false;
    const auto rowid = s.column(0);
    m_rowid = std::get<long long>(rowid);
    m_row.assign(m_def->fields.size(), std::monostate{});
    for (size_t i = 0; i < m_def->fields.size() && static_cast<int>(i) + 1 < s.columnCount(); ++i)
        m_row[i] = s.column(static_cast<int>(i) + 1);
    return true;
}

void OrientadorTable::reload() {
    const long long rowid = m_rowid;
    // The row itself, whether or not it passes the filter: it is the one the cursor stands on.
    const bool wasFiltered = m_filtered;
    m_filtered = false;
    const bool found = rowid != 0 && fetch("rowid = ?", {rowid}, "ASC");
    m_filtered = wasFiltered;
    if (!found)
        clearRow();
}

void OrientadorTable::first() {
    requireActive();
    browseMode();
    m_unsettled = false;
    const bool found = fetch("1", {}, "ASC");
    if (!found)
        clearRow();
    m_bof = true;
    m_eof = !found;
}

void OrientadorTable::last() {
    requireActive();
    browseMode();
    m_unsettled = false;
    const bool found = fetch("1", {}, "DESC");
    if (!found)
        clearRow();
    m_eof = true;
    m_bof = !found;
}

void OrientadorTable::next() {
    requireActive();
    browseMode();
    settle();
    if (m_rowid == 0) {
        m_eof = true;
        return;
    }
    if (fetch("rowid > ?", {m_rowid}, "ASC")) {
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void OrientadorTable::prior() {
    requireActive();
    browseMode();
    settle();
    if (m_rowid == 0) {
        m_bof = true;
        return;
    }
    if (fetch("rowid < ?", {m_rowid}, "DESC")) {
        m_bof = false;
        m_eof = false;
    } else {
        m_bof = true;
    }
}

long long OrientadorTable::recordCount() {
    requireActive();
    const Where filter = filterWhere();
    std::string sql = "SELECT count(*) FROM " + quotedTable();
    if (!filter.sql.empty())
        sql += " WHERE " + filter.sql;
    Statement s(m_db, sql, "contar as linhas da tabela " + m_tableName);
    s.bindAll(filter.params);
    s.step();
    return std::get<long long>(s.column(0));
}

bool OrientadorTable::isEmpty() {
    return recordCount() == 0;
}

std::vector<std::string> OrientadorTable::columnTexts(const std::string& fieldName) {
    const OrientadorField& f = field(fieldName);
    const Where filter = filterWhere();
    std::string sql = "SELECT " + quoteIdentifier(f.name) + " FROM " + quotedTable();
    if (!filter.sql.empty())
        sql += " WHERE " + filter.sql;
    sql += " ORDER BY rowid";
    Statement s(m_db, sql, "ler a tabela " + m_tableName);
    s.bindAll(filter.params);
    std::vector<std::string> texts;
    while (s.step())
        texts.push_back(orientadorValueText(f, s.column(0)));
    return texts;
}

bool OrientadorTable::matchCondition(const std::string& fieldName, const std::string& value, bool ignoreCase,
                                     Where& where) const {
    const OrientadorField& f = field(fieldName);
    const std::string column = quoteIdentifier(f.name);
    where = {};
    if (value.empty()) {
        where.sql = column + " IS NULL OR " + column + " = ''";
    } else if (f.type == OrientadorFieldType::Text || f.type == OrientadorFieldType::Memo) {
        bool ascii = true;
        for (char c : value)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ignoreCase && ascii) {
            // An ASCII value folds as SQLite's own NOCASE does (a stored non-ASCII letter can only equal a
            // non-ASCII one), so the comparison needs no call out for every row.
            where.sql = column + " = ? COLLATE NOCASE";
            where.params.emplace_back(value);
        } else if (ignoreCase) {
            where.sql = "pelomira_fold(" + column + ") = ?";
            where.params.emplace_back(foldCase(value));
        } else {
            where.sql = column + " = ?";
            where.params.emplace_back(value);
        }
    } else {
        try {
            where.params.push_back(orientadorStoredValue(f, value, false));
        } catch (const AppError&) {
            return false; // a value the field cannot hold is carried by no row
        }
        where.sql = column + " = ?";
    }
    return true;
}

bool OrientadorTable::locate(const std::string& fieldName, const std::string& value, bool ignoreCase) {
    Where where;
    const bool possible = matchCondition(fieldName, value, ignoreCase, where);
    browseMode();
    if (!possible || !fetch(where.sql, where.params, "ASC"))
        return false; // the cursor stays where it was
    m_unsettled = false;
    m_eof = false;
    m_bof = false;
    return true;
}

std::vector<std::string> OrientadorTable::columnTextsWhere(const std::string& fieldName, const std::string& keyField,
                                                           const std::string& value, bool ignoreCase) {
    const OrientadorField& f = field(fieldName);
    Where where;
    if (!matchCondition(keyField, value, ignoreCase, where))
        return {};
    const Where filter = filterWhere();
    std::string sql = "SELECT " + quoteIdentifier(f.name) + " FROM " + quotedTable() + " WHERE (" + where.sql + ")";
    if (!filter.sql.empty())
        sql += " AND (" + filter.sql + ")";
    sql += " ORDER BY rowid";
    Statement s(m_db, sql, "ler a tabela " + m_tableName);
    s.bindAll(where.params);
    s.bindAll(filter.params, static_cast<int>(where.params.size()) + 1);
    std::vector<std::string> texts;
    while (s.step())
        texts.push_back(orientadorValueText(f, s.column(0)));
    return texts;
}

bool OrientadorTable::hasTrimmedText(const std::string& fieldName, const std::string& value) {
    const OrientadorField& f = field(fieldName);
    Statement s(m_db, "SELECT 1 FROM " + quotedTable() + " WHERE trim(" + quoteIdentifier(f.name) + ") = ? LIMIT 1",
                "ler a tabela " + m_tableName);
    s.bind(1, value);
    return s.step();
}

void OrientadorTable::deleteRecord() {
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    settle();
    if (m_rowid == 0)
        throw AppError("A tabela " + m_tableName + " não tem linha para excluir");
    const long long removed = m_rowid;
    {
        Statement s(m_db, "DELETE FROM " + quotedTable() + " WHERE rowid = ?", "excluir da tabela " + m_tableName);
        s.bind(1, removed);
        s.step();
    }
    if (fetch("rowid > ?", {removed}, "ASC")) {
        m_eof = false;
    } else if (fetch("rowid < ?", {removed}, "DESC")) {
        m_eof = true;
    } else {
        clearRow();
        m_eof = true;
        m_bof = true;
    }
}

void OrientadorTable::insert() {
    requireActive();
    if (m_state == State::Insert || m_state == State::Edit)
        post();
    m_rowidBeforeInsert = m_rowid;
    m_buffer.assign(m_def->fields.size(), std::monostate{});
    m_changed.assign(m_def->fields.size(), false);
    m_state = State::Insert;
}

void OrientadorTable::edit() {
    requireActive();
    if (m_state == State::Insert || m_state == State::Edit)
        return;
    settle();
    if (m_rowid == 0)
        throw AppError("A tabela " + m_tableName + " não tem linha para alterar");
    m_buffer = m_row;
    m_changed.assign(m_def->fields.size(), false);
    m_state = State::Edit;
}

void OrientadorTable::post() {
    requireActive();
    if (m_state == State::Insert) {
        if (!m_def->columnDefaults) {
            // Without column defaults a field not set is null either way: every row of the table goes
            // through one statement.
            if (m_def->insertAll.empty()) {
                std::string columns, marks;
                for (const OrientadorField& f : m_def->fields) {
                    columns += (columns.empty() ? "" : ", ") + quoteIdentifier(f.name);
                    marks += marks.empty() ? "?" : ", ?";
                }
                m_def->insertAll = "INSERT INTO " + quotedTable() + " (" + columns + ") VALUES (" + marks + ")";
            }
            Statement s(m_db, m_def->insertAll, "gravar na tabela " + m_tableName);
            s.bindAll(m_buffer);
            s.step();
        } else {
            std::string columns, marks;
            std::vector<Value> values;
            for (size_t i = 0; i < m_def->fields.size(); ++i) {
                if (!m_changed[i])
                    continue;
                columns += (columns.empty() ? "" : ", ") + quoteIdentifier(m_def->fields[i].name);
                marks += marks.empty() ? "?" : ", ?";
                values.push_back(m_buffer[i]);
            }
            const std::string sql = values.empty()
                                        ? "INSERT INTO " + quotedTable() + " DEFAULT VALUES"
                                        : "INSERT INTO " + quotedTable() + " (" + columns + ") VALUES (" + marks + ")";
            Statement s(m_db, sql, "gravar na tabela " + m_tableName);
            s.bindAll(values);
            s.step();
        }
        m_rowid = sqlite3_last_insert_rowid(m_db.handle());
        m_unsettled = false;
        if (!m_def->columnDefaults) {
            // The row stored is the row sent (the declared types keep every value as it was bound), so it
            // is not read back: a transfer inserts thousands of rows.
            m_row = std::move(m_buffer);
            m_state = State::Browse;
            m_buffer.clear();
            m_changed.clear();
            m_eof = false;
            m_bof = false;
            return;
        }
    } else if (m_state == State::Edit) {
        std::string sets;
        std::vector<Value> values;
        for (size_t i = 0; i < m_def->fields.size(); ++i) {
            if (!m_changed[i])
                continue;
            sets += (sets.empty() ? "" : ", ") + quoteIdentifier(m_def->fields[i].name) + " = ?";
            values.push_back(m_buffer[i]);
        }
        if (!values.empty()) {
            values.emplace_back(m_rowid);
            Statement s(m_db, "UPDATE " + quotedTable() + " SET " + sets + " WHERE rowid = ?",
                        "gravar na tabela " + m_tableName);
            s.bindAll(values);
            s.step();
        }
    } else {
        return;
    }
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    reload();
    m_eof = m_rowid == 0;
    m_bof = m_rowid == 0;
}

void OrientadorTable::cancel() {
    if (m_state == State::Insert) {
        m_state = State::Browse;
        m_rowid = m_rowidBeforeInsert;
        if (!m_unsettled) // else the first row is still to be read
            reload();
    } else if (m_state == State::Edit) {
        m_state = State::Browse;
    }
    m_buffer.clear();
    m_changed.clear();
}

void OrientadorTable::setValue(size_t index, Value value) {
    m_buffer[index] = std::move(value);
    m_changed[index] = true;
}

void OrientadorTable::setText(const std::string& fieldName, const std::string& text) {
    const size_t i = indexOf(fieldName);
    requireEditing(fieldName);
    setValue(i, orientadorStoredValue(m_def->fields[i], text, true));
}

void OrientadorTable::setNumber(const std::string& fieldName, double value) {
    const size_t i = indexOf(fieldName);
    requireEditing(fieldName);
    setValue(i, orientadorStoredNumber(m_def->fields[i], value));
}

void OrientadorTable::setFlag(const std::string& fieldName, bool value) {
    const size_t i = indexOf(fieldName);
    requireEditing(fieldName);
    const OrientadorField& f = m_def->fields[i];
    if (f.type == OrientadorFieldType::Text || f.type == OrientadorFieldType::Memo)
        setValue(i, orientadorStoredValue(f, value ? "True" : "False", true));
    else
        setValue(i, orientadorStoredNumber(f, value ? -1 : 0));
}

void OrientadorTable::setNull(const std::string& fieldName) {
    const size_t i = indexOf(fieldName);
    requireEditing(fieldName);
    setValue(i, std::monostate{});
}

const std::vector<Value>& OrientadorTable::currentValues() const {
    if (m_state == State::Insert || m_state == State::Edit)
        return m_buffer;
    settle();
    return m_row;
}

std::string OrientadorTable::text(const std::string& fieldName) const {
    const size_t i = indexOf(fieldName);
    const auto& values = currentValues();
    return i < values.size() ? orientadorValueText(m_def->fields[i], values[i]) : std::string();
}

bool OrientadorTable::isNull(const std::string& fieldName) const {
    const size_t i = indexOf(fieldName);
    const auto& values = currentValues();
    return i >= values.size() || std::holds_alternative<std::monostate>(values[i]);
}

double OrientadorTable::number(const std::string& fieldName) const {
    const size_t i = indexOf(fieldName);
    const auto& values = currentValues();
    if (i >= values.size() || std::holds_alternative<std::monostate>(values[i]))
        throw AppError("O campo " + m_def->fields[i].name + " da tabela " + m_tableName + " está vazio");
    if (const auto* n = std::get_if<long long>(&values[i]))
        return static_cast<double>(*n);
    if (const auto* d = std::get_if<double>(&values[i]))
        return *d;
    return toDecimal(std::get<std::string>(values[i]));
}
