#include "integra/SynthesFile.h"

#include "base/AppError.h"
#include "integra/CustomerText.h"
#include "integra/IntegrationWalk.h"
#include "integra/InvoiceOrder.h"
#include "integra/SemicolonCsv.h"
#include "integra/SynthesRules.h"

#include <functional>
#include <memory>
#include <span>
#include <unordered_map>

namespace {

std::string columnName(std::string_view header) {
    std::string name(trimmedView(header));
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return name;
}

/// The columns of the header record by name (trimmed, a–z in capitals); the first of a repeated name wins.
class Columns {
public:
    explicit Columns(std::span<const std::string_view> header) {
        for (size_t i = 0; i < header.size(); ++i)
            m_index.try_emplace(columnName(header[i]), static_cast<int>(i));
    }
    int index(std::string_view name) const {
        const auto it = m_index.find(name);
        return it == m_index.end() ? -1 : it->second;
    }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, int, Hash, std::equal_to<>> m_index;
};

/// Where each rule's column is in the records, found once per file; −1 for a column the header lacks.
class RuleColumns {
public:
    RuleColumns(const Columns& columns, std::span<const ElementRule> invoice, std::span<const ElementRule> line)
        : m_invoice(invoice), m_line(line) {
        for (const ElementRule& r : invoice)
            m_invoiceIndex.push_back(r.column ? columns.index(r.column) : -1);
        for (const ElementRule& r : line)
            m_lineIndex.push_back(r.column ? columns.index(r.column) : -1);
    }
    int of(const ElementRule& rule) const {
        if (&rule >= m_invoice.data() && &rule < m_invoice.data() + m_invoice.size())
            return m_invoiceIndex[static_cast<size_t>(&rule - m_invoice.data())];
        if (&rule >= m_line.data() && &rule < m_line.data() + m_line.size())
            return m_lineIndex[static_cast<size_t>(&rule - m_line.data())];
        return -1;
    }

private:
    std::span<const ElementRule> m_invoice, m_line;
    std::vector<int> m_invoiceIndex, m_lineIndex;
};

/// A data record's values by the rules' columns; a column the header lacks reads as empty.
class RecordSource : public FieldSource {
public:
    RecordSource(const RuleColumns& columns, std::span<const std::string_view> fields)
        : m_columns(columns), m_fields(fields) {}
    std::string_view raw(const ElementRule& rule) const override { return at(m_columns.of(rule)); }
    std::string_view at(int i) const {
        return i >= 0 && static_cast<size_t>(i) < m_fields.size() ? m_fields[static_cast<size_t>(i)]
                                                                  : std::string_view();
    }

private:
    const RuleColumns& m_columns;
    std::span<const std::string_view> m_fields;
};

std::unique_ptr<SemicolonCsv> records(const CustomerText& text) {
    try {
        return std::make_unique<SemicolonCsv>(text.text());
    } catch (const SemicolonCsv::Unterminated& u) {
        throw AppError("Linha " + std::to_string(u.line) +
                       ": campo entre aspas sem as aspas de fechamento (o restante do arquivo seria lido "
                       "como parte dele)");
    }
}

} // namespace

const CustomerFormat::Names& SynthesFile::names() const {
    static const Names n{"SYNTHES",
                         "Cod_Synthes",
                         "S5857",
                         "Caminho_Synthes",
                         "Selecionar arquivo CSV - Integração SYNTHES 1.0",
                         "Arquivo no formato CSV|*.csv",
                         "*.csv"};
    return n;
}

int SynthesFile::progressSteps(const CustomerText& text) const {
    const int lines = static_cast<int>(text.lines().size());
    return lines > 0 ? lines - 1 : 0;
}

std::string SynthesFile::build(const CustomerText& text, MerlinRequestDocument& doc, WalkContext& ctx) const {
    const std::unique_ptr<SemicolonCsv> csv = records(text);
    const SemicolonCsv& all = *csv;
    if (all.empty())
        return std::string();
    const Columns header(all[0].fields);
    const RuleColumns columns(header, synthes::InvoiceRules, synthes::LineRules);
    const int invoiceColumn = header.index(synthes::InvoiceColumn);
    const bool grouped = invoiceColumn >= 0;

    std::vector<std::string_view> keys;
    keys.reserve(all.size() - 1);
    for (size_t i = 1; i < all.size(); ++i)
        keys.push_back(trimmedView(RecordSource(columns, all[i].fields).at(invoiceColumn)));
    std::vector<size_t> order;
    if (grouped) {
        order = orderByInvoice(keys);
    } else {
        order.resize(keys.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
    }

    RuleWriter writer(doc, ctx);
    MerlinRequestDocument::Invoice invoice;
    std::string_view currentKey;
    int count = 0;
    for (const size_t k : order) {
        const SemicolonCsv::Record record = all[k + 1];
        if (ctx.recordRead)
            ctx.recordRead(count);
        ++count;
        writer.fileLine = record.line;
        const RecordSource source(columns, record.fields);
        if (!invoice.node || keys[k] != currentKey) {
            currentKey = keys[k];
            writer.invoiceNumber = currentKey.empty() ? ctx.randomInvoice : std::string(currentKey);
            invoice = doc.addInvoice();
            writer.write(invoice, synthes::InvoiceRules, source);
        }
        writer.write(doc.addLine(invoice), synthes::LineRules, source);
    }
    return writer.invoiceNumber;
}
