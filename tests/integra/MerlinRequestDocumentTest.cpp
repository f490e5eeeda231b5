// The service's record types and the request document built from them.
#include "integra/MerlinRequestDocument.h"
#include "integra/MerlinRecordTable.h"
#include "integra/MerlinRequestLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace {

const MerlinElement& inv(std::string_view name) {
    const MerlinElement* e = merlin::LYT_INVOICEDATA.find(name);
    if (!e)
        throw std::runtime_error("no " + std::string(name));
    return *e;
}

const MerlinElement& det(std::string_view name) {
    const MerlinElement* e = merlin::LYT_INVOICEDETAILDATA.find(name);
    if (!e)
        throw std::runtime_error("no " + std::string(name));
    return *e;
}

std::vector<std::string> childNames(const pugi::xml_node& node) {
    std::vector<std::string> names;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        names.push_back(c.name());
    return names;
}

} // namespace

TEST(MerlinRecordTypes, EveryRecordHasItsElementsOnceAndEveryNestedRecordExists) {
    const std::map<std::string, size_t> sizes = {{"Merlin_In", 1},
                                                 {"Header", 20},
                                                 {"LYT_GENERALDATA", 245},
                                                 {"LYT_INVOICEDATA", 132},
                                                 {"LYT_INVOICEDETAILDATA", 89},
                                                 {"LYT_ADITIONDEDUCTIONS", 1},
                                                 {"LYT_LICENSEDATA", 38},
                                                 {"LYT_DECLARATIONDATADETAIL", 139},
                                                 {"LYT_DUTIES", 13},
                                                 {"LYT_CHARGENOTESDATA", 20},
                                                 {"LYT_TIMESTAMPS", 8},
                                                 {"LYT_CONTAINERDATA", 19},
                                                 {"LYT_CARRIERDATA", 28},
                                                 {"LYT_ENTITY", 16},
                                                 {"LYT_DOCUMENTS", 16},
                                                 {"Response", 2}};
    ASSERT_EQ(merlin::AllRecordTypes.size(), sizes.size());
    for (const MerlinRecordType* r : merlin::AllRecordTypes) {
        const std::string name(r->name);
        ASSERT_TRUE(sizes.count(name)) << name;
        EXPECT_EQ(r->elements.size(), sizes.at(name)) << name;
        std::set<std::string_view> seen;
        for (const MerlinElement& e : r->elements) {
            EXPECT_TRUE(seen.insert(e.name).second) << name << " repeats " << e.name;
            const bool nested = e.type == MerlinType::Record || e.type == MerlinType::RecordArray;
            EXPECT_EQ(nested, !e.record.empty()) << name << "." << e.name;
            if (nested) {
                EXPECT_NE(merlin::findRecordType(e.record), nullptr) << name << "." << e.name << " → " << e.record;
            }
        }
    }
    // Places and types the request relies on.
    EXPECT_EQ(merlin::LYT_INVOICEDATA.position("NUM_FACTURA"), 5);
    EXPECT_EQ(inv("NUM_FACTURA").type, MerlinType::Decimal);
    EXPECT_EQ(merlin::LYT_INVOICEDATA.position("LYT_INVOICEDETAILDATA"), 130);
    EXPECT_EQ(inv("LYT_INVOICEDETAILDATA").record, "LYT_INVOICEDETAILDATA");
    EXPECT_EQ(merlin::LYT_INVOICEDETAILDATA.position("FEC_ORDEN"), 50);
    EXPECT_EQ(det("FEC_ORDEN").type, MerlinType::DateTime);
    EXPECT_EQ(merlin::LYT_INVOICEDETAILDATA.position("LYT_LICENSEDATA"), 84);
    EXPECT_EQ(det("LYT_LICENSEDATA").type, MerlinType::Record);
    EXPECT_EQ(merlin::LYT_GENERALDATA.position("COD_UBICA_ADIC"), 245);
    EXPECT_EQ(merlin::LYT_DECLARATIONDATADETAIL.position("LYT_DETAILLIQDI"), 139);
    EXPECT_EQ(merlin::LYT_ENTITY.find("ANO")->type, MerlinType::String);
    EXPECT_EQ(merlin::LYT_INVOICEDATA.find("num_factura"), nullptr) << "names are case-sensitive";
}

TEST(MerlinRequestDocument, SkeletonInvoicesAndLinesInTheServicesOrder) {
    MerlinRequestDocument doc(MerlinRequestDocument::serviceNamespace("http://merlin.local:8080/"), "S0018");
    EXPECT_EQ(MerlinRequestDocument::serviceNamespace("http://merlin.local:8080/"),
              "http://merlin.local:8080/amDGFLatamMerlin/webservices/provider/receiveMerlinRequest");
    auto invoice = doc.addInvoice();
    doc.set(invoice, inv("NUM_FACTURA"), "12");
    doc.set(doc.addLine(invoice), det("NUM_ORDEN"), "PO1");
    doc.set(invoice, inv("ANNO"), "2026"); // set after a line: still before the line container
    doc.set(doc.addLine(invoice), det("NUM_ORDEN"), "PO2");
    doc.addInvoice();
    EXPECT_EQ(doc.invoiceCount(), 2);
    EXPECT_EQ(doc.lineCount(), 2);

    const std::string text = doc.text();
    EXPECT_EQ(text.rfind("<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                         "xmlns:rec=\"http://merlin.local:8080/amDGFLatamMerlin/webservices/provider/"
                         "receiveMerlinRequest\">",
                         0),
              0u)
        << "no XML declaration before the envelope: " << text.substr(0, 200);

    pugi::xml_document parsed;
    ASSERT_TRUE(parsed.load_string(text.c_str()));
    const pugi::xml_node envelope = parsed.document_element();
    EXPECT_EQ(childNames(envelope), (std::vector<std::string>{"soapenv:Header", "soapenv:Body"}));
    EXPECT_FALSE(envelope.child("soapenv:Header").first_child());
    const pugi::xml_node items =
        envelope.first_element_by_path("soapenv:Body/rec:MerlinInCanonical/Merlin_In/rec:Header/ArrayOfHeaderItem");
    ASSERT_TRUE(items);
    EXPECT_EQ(childNames(items), (std::vector<std::string>{"rec:MOVEMENT_TYPE", "rec:ENTITY_TYPE", "rec:COUNTRY_CODE",
                                                           "rec:OPERATION_TYPE", "rec:ENTITY", "rec:LYT_INVOICEDATA"}));
    EXPECT_STREQ(items.child_value("rec:MOVEMENT_TYPE"), "I");
    EXPECT_STREQ(items.child_value("rec:ENTITY_TYPE"), "CLI");
    EXPECT_STREQ(items.child_value("rec:COUNTRY_CODE"), "76");
    EXPECT_STREQ(items.child_value("rec:OPERATION_TYPE"), "1");
    EXPECT_STREQ(items.child_value("rec:ENTITY"), "S0018");

    const pugi::xml_node first = items.child("rec:LYT_INVOICEDATA").child("ArrayOfLYT_INVOICEDATAItem");
    EXPECT_EQ(childNames(first), (std::vector<std::string>{"NUM_FACTURA", "ANNO", "rec:LYT_INVOICEDETAILDATA"}));
    EXPECT_EQ(childNames(first.child("rec:LYT_INVOICEDETAILDATA")),
              (std::vector<std::string>{"ArrayOfLYT_INVOICEDETAILDATAItem", "ArrayOfLYT_INVOICEDETAILDATAItem"}));
    EXPECT_EQ(childNames(first.next_sibling()), std::vector<std::string>{"rec:LYT_INVOICEDETAILDATA"});
}

TEST(MerlinRequestDocument, AnElementSetTwiceIsPresentOnceWithTheLastValue) {
    MerlinRequestDocument doc("http://h", "E");
    auto invoice = doc.addInvoice();
    doc.set(invoice, inv("COD_FABRICA"), "A");
    doc.set(invoice, inv("ANNO"), "2026");
    doc.set(invoice, inv("COD_FABRICA"), "B");
    auto line = doc.addLine(invoice);
    doc.set(line, det("DESC_ESPECIFICA"), "x");
    doc.set(line, det("DESC_ESPECIFICA"), "y");
    EXPECT_EQ(childNames(invoice.node), (std::vector<std::string>{"COD_FABRICA", "ANNO", "rec:LYT_INVOICEDETAILDATA"}));
    EXPECT_STREQ(invoice.node.child_value("COD_FABRICA"), "B");
    EXPECT_EQ(childNames(line.node), std::vector<std::string>{"DESC_ESPECIFICA"});
    EXPECT_STREQ(line.node.child_value("DESC_ESPECIFICA"), "y");
}

TEST(MerlinRequestDocument, OnlyElementsOfTheItemsOwnRecordAreWritten) {
    MerlinRequestDocument doc("http://h", "E");
    auto invoice = doc.addInvoice();
    // DESC_ESPECIFICA belongs to the line record, TIPO_CAMBIO to the general data.
    EXPECT_THROW(doc.set(invoice, det("DESC_ESPECIFICA"), "x"), std::logic_error);
    EXPECT_THROW(doc.set(doc.addLine(invoice), *merlin::LYT_GENERALDATA.find("TIPO_CAMBIO"), "1"), std::logic_error);
    // NUM_FACTURA exists in both records; each item takes its own record's element only.
    EXPECT_THROW(doc.set(invoice, det("NUM_FACTURA"), "1"), std::logic_error);
}

TEST(MerlinRequestDocument, TextsFromFilesAreEscapedAndCharactersXmlForbidsBecomeBlanks) {
    MerlinRequestDocument doc("http://h\"x", "S<1>&");
    auto line = doc.addLine(doc.addInvoice());
    doc.set(line, det("DESC_ESPECIFICA"),
            "a\x01"
            "b\x1f"
            "c\td </DESC_ESPECIFICA> &amp; \xEF\xBF\xBE");
    doc.set(line, det("DESC_ARTICULO"), "ção \"aspas\" 'simples'");
    pugi::xml_document parsed;
    ASSERT_TRUE(parsed.load_string(doc.text().c_str())) << doc.text();
    const pugi::xml_node items = parsed.document_element().first_element_by_path(
        "soapenv:Body/rec:MerlinInCanonical/Merlin_In/rec:Header/ArrayOfHeaderItem");
    EXPECT_STREQ(items.child_value("rec:ENTITY"), "S<1>&");
    EXPECT_STREQ(parsed.document_element().attribute("xmlns:rec").value(), "http://h\"x");
    const pugi::xml_node l = items.first_element_by_path(
        "rec:LYT_INVOICEDATA/ArrayOfLYT_INVOICEDATAItem/rec:LYT_INVOICEDETAILDATA/ArrayOfLYT_INVOICEDETAILDATAItem");
    EXPECT_STREQ(l.child_value("DESC_ESPECIFICA"), "a b c\td </DESC_ESPECIFICA> &amp;  ");
    EXPECT_STREQ(l.child_value("DESC_ARTICULO"), "ção \"aspas\" 'simples'");
}

TEST(MerlinRequestLayout, CommonInvoiceValuesAndHeaderItemsAreThoseOfTheService) {
    namespace r = merlin::request;
    std::map<std::string_view, std::string_view> common;
    for (const auto& c : r::CommonInvoiceValues)
        common[c.element->name] = c.value;
    EXPECT_EQ(common, (std::map<std::string_view, std::string_view>{{"INCOTERM_FACTURA", "99"},
                                                                    {"INCOTERM_LINEAS", "99"},
                                                                    {"MONEDA_FACTURA", "USD"},
                                                                    {"TC_FACTURA", "1"},
                                                                    {"APLICA_TRATADO", "N"},
                                                                    {"IND_INTERMEDIARIO", "2"}}));
    // The document names of the header items stand for these elements of the Header record.
    EXPECT_EQ(r::HeaderItems[2].element, merlin::Header.find("K_COUNTRY"));
    EXPECT_EQ(r::HeaderItems[4].element, merlin::Header.find("ENTITY"));
}
