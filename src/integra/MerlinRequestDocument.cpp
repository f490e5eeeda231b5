#include "integra/MerlinRequestDocument.h"

#include "integra/MerlinRequestLayout.h"

#include <sstream>
#include <stdexcept>

namespace {

bool belongsTo(const MerlinElement& element, const MerlinRecordType& record) {
    const MerlinElement* first = record.elements.data();
    return &element >= first && &element < first + record.elements.size();
}

bool needsCleaning(std::string_view value) {
    for (size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return true;
        if (c == 0xEF && i + 2 < value.size() && static_cast<unsigned char>(value[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(value[i + 2]) & 0xFE) == 0xBE)
            return true;
    }
    return false;
}

} // namespace

MerlinRequestDocument::MerlinRequestDocument(std::string_view serviceNamespace, std::string_view entity) {
    namespace r = merlin::request;
    pugi::xml_node envelope = m_doc.append_child(r::Envelope);
    envelope.append_attribute("xmlns:soapenv")
        .set_value(r::SoapEnvelopeNamespace.data(), r::SoapEnvelopeNamespace.size());
    const std::string ns = xmlSafe(serviceNamespace);
    envelope.append_attribute("xmlns:rec").set_value(ns.c_str());
    envelope.append_child(r::SoapHeader);
    pugi::xml_node item = envelope.append_child(r::SoapBody)
                              .append_child(r::Canonical)
                              .append_child(r::MerlinIn)
                              .append_child(r::Header)
                              .append_child(r::HeaderItem);
    for (const r::HeaderItemRule& h : r::HeaderItems) {
        const std::string value = xmlSafe(h.value.empty() ? entity : h.value);
        item.append_child(h.documentName).text().set(value.c_str(), value.size());
    }
    m_invoiceData = item.append_child(r::InvoiceData);
}

std::string MerlinRequestDocument::serviceNamespace(std::string_view host) {
    while (!host.empty() && host.back() == '/')
        host.remove_suffix(1);
    return std::string(host) + std::string(merlin::request::ServicePath);
}

MerlinRequestDocument::Invoice MerlinRequestDocument::addInvoice() {
    pugi::xml_node invoice = m_invoiceData.append_child(merlin::request::InvoiceItem);
    invoice.append_child(merlin::request::DetailData);
    ++m_invoices;
    return {invoice};
}

MerlinRequestDocument::Line MerlinRequestDocument::addLine(Invoice invoice) {
    ++m_lines;
    return {invoice.node.last_child().append_child(merlin::request::DetailItem)};
}

void MerlinRequestDocument::setChild(pugi::xml_node item, const MerlinElement& element, std::string_view value,
                                     pugi::xml_node before) {
    // Every element name comes from the record tables, whose texts are literals: data() ends with a zero.
    const char* name = element.name.data();
    pugi::xml_node child = item.child(name);
    if (!child)
        child = before ? item.insert_child_before(name, before) : item.append_child(name);
    if (needsCleaning(value)) {
        const std::string clean = xmlSafe(value);
        child.text().set(clean.c_str(), clean.size());
    } else {
        child.text().set(value.data(), value.size());
    }
}

void MerlinRequestDocument::set(Invoice invoice, const MerlinElement& element, std::string_view value) {
    if (!belongsTo(element, merlin::LYT_INVOICEDATA))
        throw std::logic_error("element " + std::string(element.name) + " is not part of LYT_INVOICEDATA");
    setChild(invoice.node, element, value, invoice.node.last_child());
}

void MerlinRequestDocument::set(Line line, const MerlinElement& element, std::string_view value) {
    if (!belongsTo(element, merlin::LYT_INVOICEDETAILDATA))
        throw std::logic_error("element " + std::string(element.name) + " is not part of LYT_INVOICEDETAILDATA");
    setChild(line.node, element, value, pugi::xml_node());
}

std::string MerlinRequestDocument::text() const {
    std::ostringstream out;
    m_doc.save(out, "  ", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

std::string MerlinRequestDocument::xmlSafe(std::string_view value) {
    std::string out(value);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            out[i] = ' ';
        } else if (c == 0xEF && i + 2 < out.size() && static_cast<unsigned char>(out[i + 1]) == 0xBF &&
                   (static_cast<unsigned char>(out[i + 2]) & 0xFE) == 0xBE) {
            out.replace(i, 3, " ");
        }
    }
    return out;
}
