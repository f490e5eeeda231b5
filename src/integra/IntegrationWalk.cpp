#include "integra/IntegrationWalk.h"

#include "base/AppError.h"

std::string_view trimmedView(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

std::string numberText(std::string_view text) {
    std::string out(trimmedView(text));
    for (char& c : out)
        if (c == ',')
            c = '.';
    return out;
}

RuleWriter::RuleWriter(MerlinRequestDocument& doc, WalkContext& ctx)
    : m_doc(doc), m_ctx(ctx), m_year(std::to_string(ctx.year)) {}

bool RuleWriter::value(const ElementRule& rule, const FieldSource& source, std::string& out) {
    switch (rule.from) {
    case ValueFrom::Text:
        out.assign(trimmedView(source.raw(rule)));
        return true;
    case ValueFrom::Number:
        out = numberText(source.raw(rule));
        return true;
    case ValueFrom::Mapped:
        out.assign(trimmedView(m_ctx.codes.merlinCode(rule.text, trimmedView(source.raw(rule)))));
        return true;
    case ValueFrom::Fixed:
        out.assign(rule.text);
        return true;
    case ValueFrom::Invoice:
        out.assign(invoiceNumber);
        return true;
    case ValueFrom::Year:
        out.assign(m_year);
        return true;
    case ValueFrom::DayMonthYear: {
        const std::string_view d = source.raw(rule);
        if (trimmedView(d).empty())
            return false;
        auto part = [&d](size_t first, size_t count) { return first < d.size() ? d.substr(first, count) : ""; };
        out.assign(part(4, 4)).append("-").append(part(2, 2)).append("-").append(part(0, 2));
        return true;
    }
    case ValueFrom::DayMonthYY: {
        const std::string_view d = source.raw(rule);
        const std::string_view yy = d.size() > 4 ? d.substr(4, 2) : std::string_view();
        if (trimmedView(yy).empty())
            return false;
        if (yy.size() != 2 || yy[0] < '0' || yy[0] > '9' || yy[1] < '0' || yy[1] > '9')
            throw AppError("Linha " + std::to_string(fileLine) + ": o ano da data \"" + std::string(d) + "\" (" +
                           std::string(rule.element->name) + ") não é um número de dois dígitos");
        // A two-digit year after this year's is of the last century.
        const int fileYear = (yy[0] - '0') * 10 + (yy[1] - '0');
        const char* century = fileYear > m_ctx.year % 100 ? "19" : "20";
        out.assign(century).append(yy).append("-").append(d.substr(2, 2)).append("-").append(d.substr(0, 2));
        return true;
    }
    case ValueFrom::Carried:
        out = carried.at(static_cast<size_t>(rule.position));
        return true;
    }
    return false;
}

template <class Item>
void RuleWriter::writeItem(Item item, std::span<const ElementRule> rules, const FieldSource& source) {
    for (const ElementRule& rule : rules)
        if (value(rule, source, m_value))
            m_doc.set(item, *rule.element, m_value);
}

void RuleWriter::write(MerlinRequestDocument::Invoice item, std::span<const ElementRule> rules,
                       const FieldSource& source) {
    writeItem(item, rules, source);
}

void RuleWriter::write(MerlinRequestDocument::Line item, std::span<const ElementRule> rules,
                       const FieldSource& source) {
    writeItem(item, rules, source);
}
