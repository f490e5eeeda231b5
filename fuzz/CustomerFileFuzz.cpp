// libFuzzer harness: any bytes as a customer file of one customer (FUZZ_CUSTOMER: samsung, synthes or
// honeywell), read and turned into a request document. Besides the sanitizers it checks what must hold
// for every input: the document is well-formed XML with the invoices and lines it says it has, and the
// file name made from the last invoice number stays a plain name.
#include "base/AppError.h"
#include "integra/CustomerFormat.h"
#include "integra/CustomerText.h"
#include "integra/IntegrationFileName.h"
#include "integra/IntegrationWalk.h"
#include "integra/MerlinRequestDocument.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Every code maps to itself: the mapping is the database's business, not the reader's.
class SameCodes : public CodeTranslator {
public:
    std::string merlinCode(std::string_view, std::string_view customerCode) override {
        return std::string(customerCode);
    }
};

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

const CustomerFormat& format() {
    return *CustomerFormat::byName(FUZZ_CUSTOMER);
}

size_t count(const pugi::xml_node& root, const char* name) {
    size_t n = 0;
    for (pugi::xml_node i = root.first_child(); i; i = i.next_sibling())
        if (std::string_view(i.name()) == name)
            ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CustomerText text(std::string(reinterpret_cast<const char*>(data), size));
    MerlinRequestDocument doc("http://fuzz/amDGFLatamMerlin/webservices/provider/receiveMerlinRequest", "E");
    SameCodes codes;
    WalkContext walk{codes, "4242", 2026, {}};
    std::string last;
    try {
        last = format().build(text, doc, walk);
    } catch (const AppError&) {
        return 0; // a refused file: the message is the operator's, nothing is written
    }
    const std::string xml = doc.text();
    pugi::xml_document parsed;
    if (!parsed.load_buffer(xml.data(), xml.size()))
        broken("the document is not well-formed XML");
    const pugi::xml_node invoices = parsed.document_element().first_element_by_path(
        "soapenv:Body/rec:MerlinInCanonical/Merlin_In/rec:Header/ArrayOfHeaderItem/rec:LYT_INVOICEDATA");
    if (!invoices || count(invoices, "ArrayOfLYT_INVOICEDATAItem") != static_cast<size_t>(doc.invoiceCount()))
        broken("the invoices written are not the invoices counted");
    size_t lines = 0;
    for (pugi::xml_node i = invoices.first_child(); i; i = i.next_sibling())
        lines += count(i.child("rec:LYT_INVOICEDETAILDATA"), "ArrayOfLYT_INVOICEDETAILDATAItem");
    if (lines != static_cast<size_t>(doc.lineCount()))
        broken("the lines written are not the lines counted");
    const std::string name = integrationFileName(FUZZ_CUSTOMER, last);
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos || name.size() > 255)
        broken("the file name is not a plain name");
    return 0;
}
