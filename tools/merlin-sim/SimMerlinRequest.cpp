#include "SimMerlinRequest.h"

#include "integra/MerlinRequestLayout.h"

#include <httplib.h>
#include <pugixml.hpp>

#include <cstring>
#include <set>
#include <sstream>

namespace {

namespace layout = merlin::request;

// Reasons past this many are summed up in one line: a wrong layout repeats on every line.
constexpr size_t MaxReasons = 20;

std::string_view localName(const pugi::xml_node& node) {
    const char* colon = std::strrchr(node.name(), ':');
    return colon ? colon + 1 : node.name();
}

std::string_view prefixOf(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

// The namespace a prefix is bound to where node stands.
std::string namespaceOf(const pugi::xml_node& node) {
    const std::string attribute = prefixOf(node).empty() ? "xmlns" : "xmlns:" + std::string(prefixOf(node));
    for (pugi::xml_node n = node; n; n = n.parent())
        if (const pugi::xml_attribute a = n.attribute(attribute.c_str()))
            return a.value();
    return std::string();
}

pugi::xml_node childNamed(const pugi::xml_node& parent, std::string_view name) {
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && localName(n) == name)
            return n;
    return pugi::xml_node();
}

bool isDecimal(std::string_view v) {
    size_t i = 0;
    if (i < v.size() && (v[i] == '-' || v[i] == '+'))
        ++i;
    bool digits = false, point = false;
    for (; i < v.size(); ++i) {
        if (v[i] >= '0' && v[i] <= '9')
            digits = true;
        else if (v[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

bool isDateTime(std::string_view v) {
    auto digits = [&v](size_t from, size_t count) {
        for (size_t i = from; i < from + count; ++i)
            if (i >= v.size() || v[i] < '0' || v[i] > '9')
                return false;
        return true;
    };
    if (v.size() < 10 || !digits(0, 4) || v[4] != '-' || !digits(5, 2) || v[7] != '-' || !digits(8, 2))
        return false;
    const int month = (v[5] - '0') * 10 + (v[6] - '0');
    const int day = (v[8] - '0') * 10 + (v[9] - '0');
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    return v.size() == 10 || v[10] == 'T';
}

// The header items the document writes under other names than the Header record's.
const MerlinElement* headerItem(std::string_view name) {
    for (const layout::HeaderItemRule& h : layout::HeaderItems) {
        const std::string_view documentName = h.documentName;
        if (documentName.substr(documentName.find(':') + 1) == name)
            return h.element;
    }
    return merlin::Header.find(name);
}

class Checker {
public:
    explicit Checker(MerlinRequestCheck& check) : m_check(check) {}

    // The elements of one item of a record type.
    void item(const pugi::xml_node& node, const MerlinRecordType& record, const std::string& where) {
        std::set<std::string_view> seen;
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            const std::string_view name = localName(child);
            const MerlinElement* e = &record == &merlin::Header ? headerItem(name) : record.find(name);
            if (!e) {
                vocabulary(where + ": element " + std::string(name) + " is not part of " + std::string(record.name));
                continue;
            }
            if (!seen.insert(name).second)
                vocabulary(where + ": element " + std::string(name) + " appears more than once");
            value(child, *e, where);
        }
    }

    void entity(const pugi::xml_node& headerItems) {
        if (const pugi::xml_node e = childNamed(headerItems, "ENTITY"))
            m_check.entity = e.text().get();
    }

private:
    void value(const pugi::xml_node& node, const MerlinElement& e, const std::string& where) {
        const std::string name(e.name);
        switch (e.type) {
        case MerlinType::RecordArray:
        case MerlinType::Record: {
            const MerlinRecordType* nested = merlin::findRecordType(e.record);
            if (!nested)
                return;
            if (e.type == MerlinType::Record)
                return item(node, *nested, where + "/" + name);
            const std::string itemName = "ArrayOf" + std::string(e.record) + "Item";
            int n = 0;
            for (pugi::xml_node i = node.first_child(); i; i = i.next_sibling()) {
                if (i.type() != pugi::node_element)
                    continue;
                if (localName(i) != itemName) {
                    vocabulary(where + "/" + name + ": " + std::string(localName(i)) + " where " + itemName +
                               " was expected");
                    continue;
                }
                ++n;
                if (nested == &merlin::LYT_INVOICEDATA)
                    ++m_check.invoices;
                if (nested == &merlin::LYT_INVOICEDETAILDATA)
                    ++m_check.lines;
                item(i, *nested, where + "/" + name + "[" + std::to_string(n) + "]");
            }
            return;
        }
        case MerlinType::StringArray:
            return;
        default:
            break;
        }
        if (node.find_child([](const pugi::xml_node& c) { return c.type() == pugi::node_element; })) {
            vocabulary(where + ": element " + name + " holds elements, not a value");
            return;
        }
        const std::string_view text = node.text().get();
        if (text.empty())
            return;
        if (e.type == MerlinType::Decimal && !isDecimal(text))
            m_check.types.push_back(where + ": " + name + " = \"" + std::string(text) + "\" is not a decimal");
        if (e.type == MerlinType::DateTime && !isDateTime(text))
            m_check.types.push_back(where + ": " + name + " = \"" + std::string(text) +
                                    "\" is not a date (yyyy-mm-dd)");
    }

    void vocabulary(std::string reason) { m_check.vocabulary.push_back(std::move(reason)); }

    MerlinRequestCheck& m_check;
};

std::string soapEnvelope(const std::string& serviceNs, const std::vector<std::string>& codes,
                         const std::vector<std::string>& descriptions) {
    pugi::xml_document doc;
    auto decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    auto env = doc.append_child("SOAP-ENV:Envelope");
    env.append_attribute("xmlns:SOAP-ENV") = std::string(layout::SoapEnvelopeNamespace).c_str();
    env.append_attribute("xmlns:SOAP-ENC") = "http://schemas.xmlsoap.org/soap/encoding/";
    env.append_attribute("xmlns:xsd") = "http://www.w3.org/2001/XMLSchema";
    env.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
    auto wrapper = env.append_child("SOAP-ENV:Body").append_child("rec:receiveMerlinRequestResponse");
    // A request without a namespace of its own is answered in the simulator's.
    const std::string ns = serviceNs.empty() ? "urn:merlin-sim" + std::string(layout::ServicePath) : serviceNs;
    wrapper.append_attribute("xmlns:rec") = ns.c_str();
    auto response = wrapper.append_child(std::string(merlin::Response.name).c_str());
    auto array = [&response](const MerlinElement& element, const std::vector<std::string>& values) {
        auto a = response.append_child(std::string(element.name).c_str());
        a.append_attribute("SOAP-ENC:arrayType") = ("xsd:string[" + std::to_string(values.size()) + "]").c_str();
        a.append_attribute("xsi:type") = "SOAP-ENC:Array";
        for (const auto& v : values) {
            auto item = a.append_child("item");
            item.append_attribute("xsi:type") = "xsd:string";
            item.text() = v.c_str();
        }
    };
    array(merlinElement(merlin::Response, "code"), codes);
    array(merlinElement(merlin::Response, "description"), descriptions);
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

std::string soapFault(const std::string& faultCode, const std::string& text) {
    pugi::xml_document doc;
    auto env = doc.append_child("SOAP-ENV:Envelope");
    env.append_attribute("xmlns:SOAP-ENV") = std::string(layout::SoapEnvelopeNamespace).c_str();
    auto fault = env.append_child("SOAP-ENV:Body").append_child("SOAP-ENV:Fault");
    fault.append_child("faultcode").text() = faultCode.c_str();
    fault.append_child("faultstring").text() = text.c_str();
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

std::vector<std::string> capped(std::vector<std::string> reasons) {
    if (reasons.size() > MaxReasons) {
        const size_t more = reasons.size() - MaxReasons;
        reasons.resize(MaxReasons);
        reasons.push_back("... and " + std::to_string(more) + " more");
    }
    return reasons;
}

} // namespace

MerlinRequestCheck checkMerlinRequest(const std::string& body) {
    MerlinRequestCheck check;
    pugi::xml_document doc;
    if (!doc.load_buffer(body.data(), body.size())) {
        check.fault = "Unable to parse request: not well-formed XML";
        return check;
    }
    const pugi::xml_node envelope = doc.document_element();
    if (localName(envelope) != "Envelope" || namespaceOf(envelope) != layout::SoapEnvelopeNamespace) {
        check.fault = "Invalid request: not a SOAP 1.1 envelope (element MerlinInCanonical not found)";
        return check;
    }
    const pugi::xml_node soapBody = childNamed(envelope, "Body");
    // The document writes the element with its prefix ("rec:"); any prefix bound to a namespace will do.
    const std::string_view canonicalName = layout::Canonical;
    const pugi::xml_node request = childNamed(soapBody, canonicalName.substr(canonicalName.find(':') + 1));
    if (!soapBody || !request) {
        check.fault = "Invalid request: element MerlinInCanonical not found in the SOAP body";
        return check;
    }
    check.serviceNamespace = namespaceOf(request);
    const std::string ns = check.serviceNamespace;
    if (ns.size() < layout::ServicePath.size() ||
        ns.compare(ns.size() - layout::ServicePath.size(), layout::ServicePath.size(), layout::ServicePath) != 0)
        check.vocabulary.push_back("MerlinInCanonical: namespace \"" + ns + "\" is not the receiveMerlinRequest one");

    Checker checker(check);
    const pugi::xml_node merlinIn = childNamed(request, merlin::Merlin_In.name);
    if (!merlinIn) {
        check.vocabulary.push_back("MerlinInCanonical: element Merlin_In is missing");
        return check;
    }
    int n = 0;
    for (pugi::xml_node header = merlinIn.first_child(); header; header = header.next_sibling()) {
        if (header.type() != pugi::node_element)
            continue;
        if (localName(header) != "Header") {
            check.vocabulary.push_back("Merlin_In: element " + std::string(localName(header)) +
                                       " is not part of Merlin_In");
            continue;
        }
        for (pugi::xml_node items = header.first_child(); items; items = items.next_sibling()) {
            if (items.type() != pugi::node_element)
                continue;
            if (localName(items) != layout::HeaderItem) {
                check.vocabulary.push_back("Header: " + std::string(localName(items)) + " where " + layout::HeaderItem +
                                           " was expected");
                continue;
            }
            checker.item(items, merlin::Header, "Header[" + std::to_string(++n) + "]");
            checker.entity(items);
        }
    }
    return check;
}

std::string answerMerlinRequest(const std::string& soapAction, const MerlinRequestCheck& check, const SimDirective& d,
                                const std::vector<std::string>& refusalReasons, httplib::Response& res) {
    auto fault = [&res](const std::string& code, const std::string& text) {
        res.status = 500;
        res.set_content(soapFault(code, text), "text/xml; charset=utf-8");
        return "fault: " + text;
    };
    if (d.mode == SimDirective::Mode::Fault)
        return fault("SOAP-ENV:Server", "[merlin-sim] Internal error while processing receiveMerlinRequest");
    if (soapAction != layout::SoapAction)
        return fault("SOAP-ENV:Client", "Unknown SOAPAction: \"" + soapAction + "\"");
    if (!check.fault.empty())
        return fault("SOAP-ENV:Client", check.fault);

    std::vector<std::string> reasons;
    if (d.mode == SimDirective::Mode::Refuse || d.mode == SimDirective::Mode::NotFound) {
        reasons = refusalReasons;
        if (reasons.empty()) {
            reasons.push_back("Entity " + check.entity + " is not enabled to receive requests for country 76");
            reasons.push_back("Request rejected: no invoice was processed");
        }
    } else if (!check.vocabulary.empty()) {
        reasons = check.vocabulary;
    } else if (d.strict && !check.types.empty()) {
        reasons = check.types;
    } else if (check.entity.empty()) {
        reasons.push_back("ENTITY is required");
    } else if (check.invoices == 0) {
        reasons.push_back("LYT_INVOICEDATA: no invoice in request");
    }
    if (!reasons.empty()) {
        reasons = capped(reasons);
        res.set_content(soapEnvelope(check.serviceNamespace, {"1"}, reasons), "text/xml; charset=utf-8");
        std::string logged = "code 1:";
        for (const std::string& r : reasons)
            logged += " " + r + " |";
        logged.pop_back();
        return logged;
    }
    res.set_content(soapEnvelope(check.serviceNamespace, {"0"},
                                 {"Request received: " + std::to_string(check.invoices) + " invoice(s), " +
                                  std::to_string(check.lines) + " line(s) for entity " + check.entity}),
                    "text/xml; charset=utf-8");
    return "code 0";
}
