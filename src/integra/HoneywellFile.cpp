#include "integra/HoneywellFile.h"

#include "base/AppError.h"
#include "integra/CustomerText.h"
#include "integra/FixedWidthSource.h"
#include "integra/HoneywellRules.h"

namespace {

// A detail or description record must follow an item; one before any item belongs to nothing, and
// guessing where it goes could send Merlin wrong data, so the file is refused.
[[noreturn]] void orphan(int line, const char* kind, const char* tag) {
    throw AppError("Linha " + std::to_string(line) + ": registro de " + kind + " (" + tag +
                   ") antes do primeiro registro de item (" + honeywell::ItemTag +
                   "); não há item a que ele pertença. Corrija o arquivo e integre-o novamente.");
}

} // namespace

const CustomerFormat::Names& HoneywellFile::names() const {
    static const Names n{"HONEYWELL",
                         "Cod_Honeywell",
                         "H8844",
                         "Caminho_Honeywell",
                         "Selecionar arquivo TXT - Integração HONEYWELL 1.0",
                         "Arquivo no formato TXT|*.txt",
                         "*.txt"};
    return n;
}

int HoneywellFile::progressSteps(const CustomerText& text) const {
    return static_cast<int>(text.lines().size());
}

std::string HoneywellFile::build(const CustomerText& text, MerlinRequestDocument& doc, WalkContext& ctx) const {
    namespace h = honeywell;
    const auto& lines = text.lines();
    RuleWriter writer(doc, ctx);
    MerlinRequestDocument::Invoice invoice;
    MerlinRequestDocument::Line line;
    std::string description; // pending description text
    std::string value;

    auto writeDescription = [&] {
        if (description.empty())
            return;
        doc.set(line, *h::DescriptionText.element, trimmedView(description));
        description.clear();
    };

    for (size_t i = 0; i < lines.size(); ++i) {
        if (ctx.recordRead)
            ctx.recordRead(static_cast<int>(i));
        writer.fileLine = static_cast<int>(i) + 1;
        const FixedWidthSource source(lines[i]);
        const FixedWidthLine& record = source.line();
        if (record.startsWith(h::HeaderTag)) {
            // A header closing the file has nothing after it to apply to.
            if (i + 1 == lines.size())
                break;
            writer.value(h::HeaderManufacturer, source, writer.carried[h::ManufacturerSlot]);
            writer.value(h::HeaderGrossWeight, source, writer.carried[h::GrossWeightSlot]);
        } else if (record.startsWith(h::ItemTag)) {
            if (line.node)
                writeDescription();
            const std::string_view number = trimmedView(record.field(h::ItemInvoicePosition, h::ItemInvoiceLength));
            if (!invoice.node || number != writer.invoiceNumber) {
                writer.invoiceNumber.assign(number);
                invoice = doc.addInvoice();
                writer.write(invoice, h::InvoiceRules, source);
            }
            line = doc.addLine(invoice);
            writer.write(line, h::ItemRules, source);
        } else if (record.startsWith(h::DetailTag)) {
            if (!line.node)
                orphan(writer.fileLine, "detalhe de item", h::DetailTag);
            writer.write(line, h::DetailRules, source);
        } else if (record.startsWith(h::DescriptionTag)) {
            if (!line.node)
                orphan(writer.fileLine, "descrição", h::DescriptionTag);
            writer.value(h::DescriptionText, source, value);
            description.append(value).append(" ");
        }
    }
    if (line.node)
        writeDescription();
    return writer.invoiceNumber;
}
