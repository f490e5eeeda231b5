#pragma once

#include "integra/MerlinRecordTypes.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>

/// The receiveMerlinRequest document that the customer integrations fill: the SOAP 1.1 envelope with
/// its header items, then one invoice item per invoice and, under each, one line item per line.
///
/// Elements are named by the record types (merlin::LYT_INVOICEDATA for invoices,
/// merlin::LYT_INVOICEDETAILDATA for lines), so no element outside the service's vocabulary can be
/// written. Setting an element creates it on first use under its item; setting it again replaces
/// its value, so each element is present once with the last value.
class MerlinRequestDocument {
public:
    /// An invoice item (ArrayOfLYT_INVOICEDATAItem).
    struct Invoice {
        pugi::xml_node node;
    };
    /// A line item (ArrayOfLYT_INVOICEDETAILDATAItem).
    struct Line {
        pugi::xml_node node;
    };

    /// The skeleton: envelope, empty SOAP header, body, rec:MerlinInCanonical, Merlin_In, rec:Header,
    /// ArrayOfHeaderItem with its fixed items and rec:ENTITY = entity, and an empty rec:LYT_INVOICEDATA.
    MerlinRequestDocument(std::string_view serviceNamespace, std::string_view entity);
    MerlinRequestDocument(const MerlinRequestDocument&) = delete;
    MerlinRequestDocument& operator=(const MerlinRequestDocument&) = delete;

    /// The service namespace for a service host ("http://host:port"): host + the service path.
    static std::string serviceNamespace(std::string_view host);

    /// A new invoice item at the end of rec:LYT_INVOICEDATA; its rec:LYT_INVOICEDETAILDATA is in place
    /// as its last child from the start, and elements set later go before it.
    Invoice addInvoice();
    /// A new line item at the end of the invoice's rec:LYT_INVOICEDETAILDATA.
    Line addLine(Invoice invoice);

    /// Sets an element of LYT_INVOICEDATA on an invoice item; throws std::logic_error for an element of
    /// another record type.
    void set(Invoice invoice, const MerlinElement& element, std::string_view value);
    /// Sets an element of LYT_INVOICEDETAILDATA on a line item; the same check.
    void set(Line line, const MerlinElement& element, std::string_view value);

    int invoiceCount() const { return m_invoices; }
    int lineCount() const { return m_lines; }
    pugi::xml_node invoiceData() const { return m_invoiceData; }

    /// The document as XML text, without a declaration (nothing states its version or encoding); the
    /// text saved to the file is the text sent.
    std::string text() const;

    /// The value as an XML element can hold it: characters that XML 1.0 forbids (control characters
    /// other than tab, line feed and carriage return; U+FFFE and U+FFFF) become blanks.
    static std::string xmlSafe(std::string_view value);

private:
    static void setChild(pugi::xml_node item, const MerlinElement& element, std::string_view value,
                         pugi::xml_node before);

    pugi::xml_document m_doc;
    pugi::xml_node m_invoiceData;
    int m_invoices = 0;
    int m_lines = 0;
};
