#include "data/MerlinResponse.h"

#include "base/AppError.h"
#include "base/TextUtils.h"

#include <pugixml.hpp>

#include <cstring>

namespace {

// The name without its namespace prefix: SOAP answers bind whatever prefixes they like.
const char* localName(const pugi::xml_node& node) {
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

pugi::xml_node firstElement(const pugi::xml_node& parent) {
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element)
            return n;
    return pugi::xml_node();
}

pugi::xml_node nthElement(const pugi::xml_node& parent, int index) {
    int i = 0;
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && i++ == index)
            return n;
    return pugi::xml_node();
}

pugi::xml_node childNamed(const pugi::xml_node& parent, const char* name) {
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && std::strcmp(localName(n), name) == 0)
            return n;
    return pugi::xml_node();
}

// An array's items are its child elements; an array written as a bare value counts as one item.
std::vector<std::string> items(const pugi::xml_node& array) {
    std::vector<std::string> out;
    if (!array)
        return out;
    bool anyElement = false;
    for (pugi::xml_node n = array.first_child(); n; n = n.next_sibling()) {
        if (n.type() != pugi::node_element)
            continue;
        anyElement = true;
        out.push_back(n.text().get());
    }
    if (!anyElement && !trim(array.text().get()).empty())
        out.push_back(array.text().get());
    return out;
}

std::string preview(const std::string& text) {
    std::string t = trim(text);
    for (char& c : t)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    if (charCount(t) > 80)
        t = charSub(t, 0, 80) + "...";
    return t;
}

// The first element inside the SOAP Body, or a null node when answer is no SOAP envelope.
pugi::xml_node bodyContent(const pugi::xml_document& doc) {
    const pugi::xml_node envelope = firstElement(doc);
    if (std::strcmp(localName(envelope), "Envelope") != 0)
        return pugi::xml_node();
    return firstElement(childNamed(envelope, "Body"));
}

bool load(pugi::xml_document& doc, const std::string& answer) {
    // Default parsing: no DOCTYPE is acted upon and no external entity is ever loaded.
    return static_cast<bool>(doc.load_buffer(answer.data(), answer.size(), pugi::parse_default));
}

} // namespace

std::string MerlinResponse::faultText(const std::string& answer) {
    pugi::xml_document doc;
    if (!load(doc, answer))
        return std::string();
    const pugi::xml_node content = bodyContent(doc);
    if (!content || std::strcmp(localName(content), "Fault") != 0)
        return std::string();
    const std::string fault = trim(childNamed(content, "faultstring").text().get());
    return fault.empty() ? "(falha SOAP sem descrição)" : fault;
}

std::string MerlinResponse::reason() const {
    std::string r;
    for (const auto& d : descriptions)
        r += d + "\r";
    return r;
}

MerlinResponse MerlinResponse::parse(const std::string& answer) {
    if (trim(answer).empty())
        throw AppError("O WebService respondeu sem conteúdo");
    pugi::xml_document doc;
    if (!load(doc, answer) || std::strcmp(localName(firstElement(doc)), "Envelope") != 0)
        throw AppError("Resposta do WebService não é um envelope SOAP: \"" + preview(answer) + "\"");
    const pugi::xml_node wrapper = bodyContent(doc);
    if (!wrapper)
        throw AppError("Resposta do WebService sem conteúdo no corpo SOAP");
    if (std::strcmp(localName(wrapper), "Fault") == 0)
        throw AppError("O WebService devolveu uma falha SOAP: " + faultText(answer));
    const pugi::xml_node response = firstElement(wrapper);
    if (!response)
        throw AppError("Resposta do WebService sem o elemento Response");

    pugi::xml_node code = childNamed(response, "code");
    if (!code)
        code = nthElement(response, 0);
    pugi::xml_node description = childNamed(response, "description");
    if (!description)
        description = nthElement(response, 1);

    MerlinResponse r;
    r.codes = items(code);
    r.descriptions = items(description);
    if (r.codes.empty())
        throw AppError("Resposta do WebService sem código de retorno (code)");
    return r;
}
