#include "integra/SamsungFile.h"

#include "integra/CustomerText.h"
#include "integra/FixedWidthSource.h"
#include "integra/IntegrationWalk.h"
#include "integra/InvoiceOrder.h"
#include "integra/SamsungRules.h"

const CustomerFormat::Names& SamsungFile::names() const {
    static const Names n{"SAMSUNG",
                         "Cod_Samsung",
                         "S0018",
                         "Caminho_Samsung",
                         "Selecionar arquivo TXT - Integração SAMSUNG 1.0",
                         "Arquivo no formato TXT|*.txt",
                         "*.txt"};
    return n;
}

int SamsungFile::progressSteps(const CustomerText& text) const {
    return static_cast<int>(text.lines().size());
}

std::string SamsungFile::build(const CustomerText& text, MerlinRequestDocument& doc, WalkContext& ctx) const {
    const auto& lines = text.lines();
    std::vector<size_t> kept;
    std::vector<std::string_view> keys;
    kept.reserve(lines.size());
    keys.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (trimmedView(lines[i]).empty())
            continue;
        const std::string_view key =
            FixedWidthLine(lines[i]).field(samsung::InvoiceNumberPosition, samsung::InvoiceNumberLength);
        kept.push_back(i);
        // A blank number is no number: those lines go last, under the invoice of the random number.
        keys.push_back(trimmedView(key).empty() ? std::string_view() : key);
    }

    RuleWriter writer(doc, ctx);
    MerlinRequestDocument::Invoice invoice;
    std::string_view currentKey;
    int count = 0;
    for (const size_t k : orderByInvoice(keys)) {
        const size_t lineIndex = kept[k];
        if (ctx.recordRead)
            ctx.recordRead(count);
        ++count;
        writer.fileLine = static_cast<int>(lineIndex) + 1;
        const FixedWidthSource source(lines[lineIndex]);
        // Every line reaches the document, the last one too when it opens an invoice of its own.
        if (!invoice.node || keys[k] != currentKey) {
            currentKey = keys[k];
            writer.invoiceNumber = currentKey.empty() ? ctx.randomInvoice : std::string(trimmedView(currentKey));
            invoice = doc.addInvoice();
            writer.write(invoice, samsung::InvoiceRules, source);
        }
        writer.write(doc.addLine(invoice), samsung::LineRules, source);
    }
    return writer.invoiceNumber;
}
