#pragma once

#include "integra/MerlinRecordTable.h"

#include <array>
#include <string_view>

// The shape of the receiveMerlinRequest document: its envelope, the path of elements down to the
// invoices and their lines, the header items and the invoice values every integration sends. The
// request builder writes it and merlin-sim reads it, both from here.

namespace merlin::request {

inline constexpr std::string_view SoapEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";
/// The service namespace is a web address: the Merlin service host followed by this path.
inline constexpr std::string_view ServicePath = "/amDGFLatamMerlin/webservices/provider/receiveMerlinRequest";
inline constexpr std::string_view SoapAction =
    "amDGFLatamMerlin_webservices_provider_receiveMerlinRequest_Binder_receiveMerlinRequest";
/// Appended to the WebService2 setting to make the operation's address.
inline constexpr std::string_view Operation = ":receiveMerlinRequest";

// Elements from the envelope down to the line items, in nesting order; a prefix is written as given.
inline constexpr const char* Envelope = "soapenv:Envelope";
inline constexpr const char* SoapHeader = "soapenv:Header";
inline constexpr const char* SoapBody = "soapenv:Body";
inline constexpr const char* Canonical = "rec:MerlinInCanonical";
inline constexpr const char* MerlinIn = "Merlin_In";
inline constexpr const char* Header = "rec:Header";
inline constexpr const char* HeaderItem = "ArrayOfHeaderItem";
inline constexpr const char* InvoiceData = "rec:LYT_INVOICEDATA";
inline constexpr const char* InvoiceItem = "ArrayOfLYT_INVOICEDATAItem";
inline constexpr const char* DetailData = "rec:LYT_INVOICEDETAILDATA";
inline constexpr const char* DetailItem = "ArrayOfLYT_INVOICEDETAILDATAItem";

/// A header item as the document names it, the Header element it stands for, and its fixed value
/// (empty for ENTITY, which is the customer's code from the settings).
struct HeaderItemRule {
    const char* documentName;
    const MerlinElement* element;
    std::string_view value;
};

/// The header items in document order; rec:LYT_INVOICEDATA follows them.
inline constexpr std::array<HeaderItemRule, 5> HeaderItems = {{
    {"rec:MOVEMENT_TYPE", &merlinElement(merlin::Header, "K_MOVEMENT_TYPE"), "I"},
    {"rec:ENTITY_TYPE", &merlinElement(merlin::Header, "K_ENTITY_TYPE"), "CLI"},
    {"rec:COUNTRY_CODE", &merlinElement(merlin::Header, "K_COUNTRY"), "76"},
    {"rec:OPERATION_TYPE", &merlinElement(merlin::Header, "K_OPERATION_TYPE"), "1"},
    {"rec:ENTITY", &merlinElement(merlin::Header, "ENTITY"), ""},
}};

/// An invoice value every integration sends.
struct CommonValue {
    const MerlinElement* element;
    std::string_view value;
};

/// The invoice values common to every invoice of every integration (MONEDA_FACTURA is "USD" except
/// where an integration takes it from its file; ANNO, the current year, is not fixed).
inline constexpr std::array<CommonValue, 6> CommonInvoiceValues = {{
    {&merlinElement(LYT_INVOICEDATA, "INCOTERM_FACTURA"), "99"},
    {&merlinElement(LYT_INVOICEDATA, "INCOTERM_LINEAS"), "99"},
    {&merlinElement(LYT_INVOICEDATA, "MONEDA_FACTURA"), "USD"},
    {&merlinElement(LYT_INVOICEDATA, "TC_FACTURA"), "1"},
    {&merlinElement(LYT_INVOICEDATA, "APLICA_TRATADO"), "N"},
    {&merlinElement(LYT_INVOICEDATA, "IND_INTERMEDIARIO"), "2"},
}};

/// The common value of an invoice element; consteval, so only an element of the list compiles.
consteval std::string_view commonValue(const MerlinElement& element) {
    for (const CommonValue& c : CommonInvoiceValues)
        if (c.element == &element)
            return c.value;
    throw "not a common invoice value";
}

} // namespace merlin::request
