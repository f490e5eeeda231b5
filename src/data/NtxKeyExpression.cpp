#include "data/NtxKeyExpression.h"

#include "base/AppError.h"
#include "data/DbfCodePage.h"
#include "data/DbfValue.h"

#include <cctype>
#include <cstdlib>

struct NtxKeyExpression::Node {
    enum class Kind { Field, Upper, Dtos, Str, Substr };
    Kind kind = Kind::Field;
    std::size_t field = 0;
    unsigned fieldOffset = 0;
    std::unique_ptr<Node> arg;
    char type = 'C'; // of the value: C, D or N
    unsigned width = 0;
    unsigned decimals = 0;
    unsigned start = 0; // SUBSTR, from 0

    std::string eval(const std::string& rec) const;
};

namespace {

// A numeric field's stored text as a key: the value in STR() form, width len with dec decimals.
std::string strForm(const std::string& raw, unsigned len, unsigned dec) {
    const auto value = DbfValue::rounded(raw.find_first_not_of(' ') == std::string::npos ? "0" : raw, dec);
    if (!value)
        throw AppError("Valor numérico inválido em chave: \"" + raw + "\".");
    if (!value->empty() && (*value)[0] == '-')
        throw AppError("Valor negativo em chave numérica: " + *value + ".");
    if (value->size() > len)
        return std::string(len, '*');
    return std::string(len - value->size(), ' ') + *value;
}

} // namespace

std::string NtxKeyExpression::Node::eval(const std::string& rec) const {
    switch (kind) {
    case Kind::Field:
        return rec.substr(fieldOffset, width);
    case Kind::Upper:
        return DbfCodePage::upper(arg->eval(rec));
    case Kind::Dtos:
        return arg->eval(rec);
    case Kind::Str:
        return strForm(arg->eval(rec), width, decimals);
    case Kind::Substr: {
        std::string v = arg->eval(rec);
        v = start < v.size() ? v.substr(start, width) : std::string();
        v.resize(width, ' ');
        return v;
    }
    }
    return {};
}

namespace {

class Parser {
public:
    Parser(const std::string& text, const std::vector<DbfField>& fields, const std::string& indexName)
        : m_text(text), m_fields(fields), m_index(indexName) {}

    [[noreturn]] void fail(const std::string& why) const {
        throw AppError("O índice " + m_index + " usa a expressão \"" + m_text +
                       "\", que este programa não sabe montar: " + why + ".");
    }

    void skipBlanks() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }
    bool peek(char c) {
        skipBlanks();
        return m_pos < m_text.size() && m_text[m_pos] == c;
    }
    void expect(char c) {
        if (!peek(c))
            fail(std::string("esperava '") + c + "'");
        ++m_pos;
    }
    bool atEnd() {
        skipBlanks();
        return m_pos >= m_text.size();
    }
    std::string name() {
        skipBlanks();
        std::string n;
        while (m_pos < m_text.size() &&
               (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_'))
            n += static_cast<char>(std::toupper(static_cast<unsigned char>(m_text[m_pos++])));
        if (n.empty())
            fail("esperava um campo ou uma função");
        return n;
    }
    unsigned number() {
        skipBlanks();
        std::string n;
        while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
            n += m_text[m_pos++];
        if (n.empty() || n.size() > 4)
            fail("esperava um número");
        return static_cast<unsigned>(std::stoul(n));
    }

    using Node = NtxKeyExpression::Node;

    std::unique_ptr<Node> term() {
        std::string n = name();
        skipBlanks();
        if (m_text.compare(m_pos, 2, "->") == 0) { // alias: the table itself
            m_pos += 2;
            n = name();
        }
        if (!peek('('))
            return field(n);
        ++m_pos;
        auto node = std::make_unique<Node>();
        if (n == "UPPER") {
            node->kind = Node::Kind::Upper;
            node->arg = term();
            requireType(*node->arg, 'C', n);
            node->width = node->arg->width;
        } else if (n == "DTOS") {
            node->kind = Node::Kind::Dtos;
            node->arg = term();
            requireType(*node->arg, 'D', n);
            node->width = 8;
        } else if (n == "STR") {
            node->kind = Node::Kind::Str;
            node->arg = term();
            requireType(*node->arg, 'N', n);
            node->width = node->arg->width;
            node->decimals = node->arg->decimals;
            if (peek(',')) {
                ++m_pos;
                node->width = number();
                node->decimals = 0;
                if (peek(',')) {
                    ++m_pos;
                    node->decimals = number();
                }
            }
            if (node->width == 0 || (node->decimals > 0 && node->decimals + 2 > node->width))
                fail("tamanho inválido em STR");
        } else if (n == "LEFT" || n == "SUBSTR") {
            node->kind = Node::Kind::Substr;
            node->arg = term();
            requireType(*node->arg, 'C', n);
            expect(',');
            if (n == "LEFT") {
                node->width = number();
            } else {
                const unsigned start = number();
                if (start == 0)
                    fail("SUBSTR começa na posição 1");
                node->start = start - 1;
                node->width = node->arg->width > node->start ? node->arg->width - node->start : 0;
                if (peek(',')) {
                    ++m_pos;
                    node->width = number();
                }
            }
            if (node->width == 0)
                fail("tamanho zero em " + n);
        } else {
            fail("a função " + n + " não é conhecida");
        }
        expect(')');
        node->type = node->kind == Node::Kind::Str || node->kind == Node::Kind::Dtos ? 'C' : node->arg->type;
        return node;
    }

    std::unique_ptr<Node> field(const std::string& n) {
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            if (m_fields[i].name != n)
                continue;
            const DbfField& f = m_fields[i];
            if (f.type == 'M' || f.type == 'L')
                fail("o campo " + n + " é do tipo " + std::string(1, f.type) + ", que não forma chave");
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::Field;
            node->field = i;
            node->fieldOffset = f.offset;
            node->width = f.length;
            node->decimals = f.decimals;
            node->type = f.isNumeric() ? 'N' : f.type;
            return node;
        }
        fail("o campo " + n + " não existe na tabela");
    }

    void requireType(const Node& node, char type, const std::string& function) {
        if (node.type != type)
            fail("o argumento de " + function + " é do tipo errado");
    }

private:
    const std::string& m_text;
    const std::vector<DbfField>& m_fields;
    const std::string& m_index;
    std::size_t m_pos = 0;
};

// The field slice a term stands for, when it is one.
std::optional<NtxKeyExpression::Part> partOf(const NtxKeyExpression::Node& n) {
    using Kind = NtxKeyExpression::Node::Kind;
    switch (n.kind) {
    case Kind::Field:
        if (n.type == 'N')
            return std::nullopt;
        return NtxKeyExpression::Part{n.field, false, 0, n.width};
    case Kind::Dtos:
        return partOf(*n.arg);
    case Kind::Upper: {
        auto p = partOf(*n.arg);
        if (p)
            p->upper = true;
        return p;
    }
    case Kind::Substr: {
        auto p = partOf(*n.arg);
        if (!p || n.start + n.width > p->length)
            return std::nullopt;
        p->start += n.start;
        p->length = n.width;
        return p;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

NtxKeyExpression::NtxKeyExpression() = default;
NtxKeyExpression::~NtxKeyExpression() = default;
NtxKeyExpression::NtxKeyExpression(NtxKeyExpression&&) noexcept = default;
NtxKeyExpression& NtxKeyExpression::operator=(NtxKeyExpression&&) noexcept = default;

NtxKeyExpression NtxKeyExpression::parse(const std::string& text, const std::vector<DbfField>& fields,
                                         const std::string& indexName) {
    NtxKeyExpression e;
    e.m_text = text;
    Parser p(text, fields, indexName);
    if (p.atEnd())
        p.fail("a expressão está vazia");
    for (;;) {
        e.m_terms.push_back(p.term());
        if (p.atEnd())
            break;
        p.expect('+');
    }
    if (e.m_terms.size() > 1)
        for (const auto& t : e.m_terms)
            if (t->type != 'C')
                p.fail("só textos podem ser somados (use DTOS ou STR)");
    bool seekable = true;
    for (const auto& t : e.m_terms) {
        e.m_width += t->width;
        if (seekable) {
            auto part = partOf(*t);
            if (part)
                e.m_parts.push_back(*part);
            seekable = part.has_value();
        }
    }
    if (e.m_terms.size() == 1 && e.m_terms[0]->type == 'N')
        e.m_decimals = e.m_terms[0]->decimals;
    if (e.m_width == 0 || e.m_width > 250)
        p.fail("a chave teria " + std::to_string(e.m_width) + " caracteres (o máximo é 250)");
    return e;
}

std::string NtxKeyExpression::evaluate(const std::string& record) const {
    std::string key;
    key.reserve(m_width);
    for (const auto& t : m_terms) {
        if (t->kind == Node::Kind::Field && t->type == 'N')
            key += strForm(t->eval(record), t->width, t->decimals);
        else
            key += t->eval(record);
    }
    return key;
}
