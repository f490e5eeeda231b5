#include "data/IntegraTruncation.h"

#include "base/TextUtils.h"
#include "data/IntegraDatabase.h"

#include <cctype>

namespace {

// Reads the statement word by word: identifiers (bare ones upper-cased, "quoted" ones as written),
// 'literals' (doubled quotes undone) and single punctuation.
class Reader {
public:
    explicit Reader(const std::string& text) : m_text(text) {}

    bool atEnd() {
        skipBlanks();
        return m_pos >= m_text.size();
    }

    // A keyword or bare name, upper-cased; empty when the next thing is not one.
    std::string word() {
        skipBlanks();
        const size_t start = m_pos;
        while (m_pos < m_text.size() && (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) ||
                                         m_text[m_pos] == '_' || m_text[m_pos] == '$'))
            ++m_pos;
        return upperAscii(m_text.substr(start, m_pos - start));
    }

    std::optional<std::string> name() {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            const size_t end = m_text.find('"', m_pos + 1);
            if (end == std::string::npos)
                return std::nullopt;
            std::string n = m_text.substr(m_pos + 1, end - m_pos - 1);
            m_pos = end + 1;
            return n;
        }
        std::string w = word();
        if (w.empty())
            return std::nullopt;
        return w;
    }

    bool take(char c) {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    // One value up to the "," or ")" (or end) that closes it, outside brackets and quotes. A value that is
    // one literal and nothing else gives its text.
    std::optional<std::string> value(bool& ok) {
        skipBlanks();
        std::optional<std::string> literal;
        bool onlyLiteral = true, any = false;
        int depth = 0;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (depth == 0 && (c == ',' || c == ')'))
                break;
            if (depth == 0 && any && startsWord("WHERE"))
                break;
            if (c == '\'') {
                std::string text;
                ++m_pos;
                for (;;) {
                    if (m_pos >= m_text.size()) {
                        ok = false;
                        return std::nullopt;
                    }
                    if (m_text[m_pos] == '\'') {
                        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\'') {
                            text += '\'';
                            m_pos += 2;
                            continue;
                        }
                        ++m_pos;
                        break;
                    }
                    text += m_text[m_pos++];
                }
                if (any)
                    onlyLiteral = false;
                literal = text;
                any = true;
                continue;
            }
            if (!std::isspace(static_cast<unsigned char>(c))) {
                if (c == '(')
                    ++depth;
                else if (c == ')')
                    --depth;
                onlyLiteral = false;
                any = true;
            }
            ++m_pos;
        }
        if (!any)
            ok = false;
        return onlyLiteral ? literal : std::nullopt;
    }

private:
    // True when the keyword starts here as a word of its own.
    bool startsWord(const char* keyword) const {
        const std::string k = keyword;
        if (m_pos > 0 && !std::isspace(static_cast<unsigned char>(m_text[m_pos - 1])) && m_text[m_pos - 1] != '\'')
            return false;
        if (upperAscii(m_text.substr(m_pos, k.size())) != k)
            return false;
        const size_t after = m_pos + k.size();
        return after >= m_text.size() ||
               !(std::isalnum(static_cast<unsigned char>(m_text[after])) || m_text[after] == '_');
    }

    void skipBlanks() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }

    const std::string& m_text;
    size_t m_pos = 0;
};

std::optional<IntegraTruncation::Write> parseInsert(Reader& r) {
    IntegraTruncation::Write write;
    if (r.word() != "INTO")
        return std::nullopt;
    const auto table = r.name();
    if (!table)
        return std::nullopt;
    write.table = *table;
    std::vector<std::string> columns;
    if (r.take('(')) {
        do {
            const auto column = r.name();
            if (!column)
                return std::nullopt;
            columns.push_back(*column);
        } while (r.take(','));
        if (!r.take(')'))
            return std::nullopt;
    }
    if (r.word() != "VALUES" || !r.take('('))
        return std::nullopt;
    bool ok = true;
    size_t index = 0;
    do {
        auto v = r.value(ok);
        if (!ok)
            return std::nullopt;
        write.values.emplace_back(index < columns.size() ? columns[index] : std::string(), v);
        ++index;
    } while (r.take(','));
    if (!r.take(')') || (!columns.empty() && columns.size() != write.values.size()))
        return std::nullopt;
    return write;
}

std::optional<IntegraTruncation::Write> parseUpdate(Reader& r) {
    IntegraTruncation::Write write;
    const auto table = r.name();
    if (!table || r.word() != "SET")
        return std::nullopt;
    write.table = *table;
    bool ok = true;
    do {
        const auto column = r.name();
        if (!column || !r.take('='))
            return std::nullopt;
        auto v = r.value(ok);
        if (!ok)
            return std::nullopt;
        write.values.emplace_back(*column, v);
    } while (r.take(','));
    return write;
}

// Trailing blanks are cut without complaint by the engine, so they do not count.
size_t significantLength(const std::string& value) {
    size_t end = value.size();
    while (end > 0 && value[end - 1] == ' ')
        --end;
    return charCount(value.substr(0, end));
}

} // namespace

std::optional<IntegraTruncation::Write> IntegraTruncation::parse(const std::string& sql) {
    Reader r(sql);
    const std::string verb = r.word();
    if (verb == "INSERT")
        return parseInsert(r);
    if (verb == "UPDATE")
        return parseUpdate(r);
    return std::nullopt;
}

std::string IntegraTruncation::message(const std::string& sql, int limit, const std::vector<Column>& columns) {
    const std::string limitText = std::to_string(limit) + (limit == 1 ? " caractere" : " caracteres");
    const auto write = parse(sql);
    if (!write)
        return "Um valor é mais longo do que o campo do banco de dados Integra aceita (no máximo " + limitText +
               "). Nada foi gravado.";
    for (size_t i = 0; i < write->values.size(); ++i) {
        const auto& [named, value] = write->values[i];
        if (!value)
            continue;
        const Column* column = nullptr;
        if (named.empty()) {
            if (i < columns.size())
                column = &columns[i];
        } else {
            for (const Column& c : columns)
                if (c.name == named)
                    column = &c;
        }
        if (!column || column->length != limit || significantLength(*value) <= static_cast<size_t>(limit))
            continue;
        return "O valor do campo " + column->name + " da tabela " + write->table + " tem " +
               std::to_string(significantLength(*value)) + " caracteres; o campo aceita no máximo " + limitText +
               ". Nada foi gravado.";
    }
    return "Um valor é mais longo do que um campo da tabela " + write->table + " aceita (no máximo " + limitText +
           "). Nada foi gravado.";
}

std::string IntegraTruncation::columnsSql(const std::string& table) {
    return "SELECT TRIM(RF.RDB$FIELD_NAME), F.RDB$CHARACTER_LENGTH FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON "
           "F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME = " +
           IntegraDatabase::quote(table) + " ORDER BY RF.RDB$FIELD_POSITION";
}
