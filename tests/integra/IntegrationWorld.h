#pragma once

#include "../data/IntegraWorld.h"
#include "base/TextUtils.h"
#include "cadastros/CodeMapping.h"
#include "integra/CustomerFormat.h"
#include "integra/CustomerIntegration.h"

#include <pugixml.hpp>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

/// A program world for the customer integrations: the settings of a first run, every customer's XML
/// folder pointed at one test folder, an Integra database for the code mapping, a fixed year (2026)
/// and a fixed random invoice number (4242).
class IntegrationWorld : public IntegraWorld {
public:
    explicit IntegrationWorld(const std::string& serverAddress = std::string()) : IntegraWorld(serverAddress) {
        settings.writeFirstRunDefaults();
        settings.write(Settings::Dados, Settings::KeyTabelasIntegra, location);
        out = env.path("xml");
        TestEnv::makeFolder(out);
        for (const CustomerFormat* f :
             {&CustomerFormat::samsung(), &CustomerFormat::synthes(), &CustomerFormat::honeywell()})
            settings.write(Settings::Integra, f->names().folderKey, out);
    }

    void map(const std::string& customer, const std::string& table, const std::string& code,
             const std::string& merlin) {
        ASSERT_TRUE(CodeMapping(ctx).save(customer, table, code, merlin));
    }

    /// Writes content as the customer's file and runs the generation on it.
    CustomerIntegration::Result generate(const CustomerFormat& format, const std::string& content,
                                         const std::string& name = "cliente.txt") {
        input = env.path(name);
        TestEnv::writeFile(input, content);
        CustomerIntegration integration(ctx, format);
        integration.setYear(2026);
        integration.setRandomInvoice(4242);
        return integration.generate(input);
    }

    /// The document of a result, parsed; its invoice items and their line items.
    void parse(const CustomerIntegration::Result& r) {
        ASSERT_TRUE(doc.load_string(r.document.c_str())) << r.document.substr(0, 300);
        invoices.clear();
        const pugi::xml_node data = doc.document_element().first_element_by_path(
            "soapenv:Body/rec:MerlinInCanonical/Merlin_In/rec:Header/ArrayOfHeaderItem/rec:LYT_INVOICEDATA");
        for (pugi::xml_node i = data.first_child(); i; i = i.next_sibling())
            invoices.push_back(i);
    }
    std::vector<pugi::xml_node> lines(size_t invoice) const {
        std::vector<pugi::xml_node> out;
        for (pugi::xml_node l = invoices.at(invoice).child("rec:LYT_INVOICEDETAILDATA").first_child(); l;
             l = l.next_sibling())
            out.push_back(l);
        return out;
    }

    /// The child elements of an item as (name, value), in order.
    static std::vector<std::pair<std::string, std::string>> values(const pugi::xml_node& item) {
        std::vector<std::pair<std::string, std::string>> out;
        for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling())
            out.emplace_back(c.name(), c.child_value());
        return out;
    }
    static std::vector<std::string> names(const pugi::xml_node& item) {
        std::vector<std::string> out;
        for (const auto& [name, value] : values(item))
            out.push_back(name);
        return out;
    }

    /// Lines of PELOMIRA_LOG.CSV after its header: the procedure field of each.
    std::vector<std::string> activityLog() const {
        std::vector<std::string> out;
        const std::string content = TestEnv::exists(env.home() + Logs::ActivityFile)
                                        ? TestEnv::readFile(env.home() + Logs::ActivityFile)
                                        : std::string();
        for (const std::string& line : split(content, '\n')) {
            const std::vector<std::string> f = split(trimRight(line), ';');
            if (f.size() >= 3)
                out.push_back(f[2]);
        }
        if (!out.empty())
            out.erase(out.begin());
        return out;
    }

    std::string out;
    std::string input;
    pugi::xml_document doc;
    std::vector<pugi::xml_node> invoices;
};

/// A fixed-width line: each (position from 1, text) in its place, blanks elsewhere.
inline std::string fixedLine(const std::vector<std::pair<int, std::string>>& fields) {
    std::string line;
    for (const auto& [position, text] : fields) {
        if (line.size() < position - 1 + text.size())
            line.resize(position - 1 + text.size(), ' ');
        line.replace(position - 1, text.size(), text);
    }
    return line;
}
