#pragma once

// A DI of many additions and items for the benchmarks, built from the sample document: its three
// additions and its items used as templates, repeated to the wanted size.
#include <pugixml.hpp>

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

inline std::string benchThree(int n) {
    std::string s = std::to_string(n);
    return std::string(3 - std::min<std::size_t>(3, s.size()), '0') + s;
}

inline std::string bigDiDocument(int additionCount, int itemsPerAddition, const std::string& id = std::string()) {
    pugi::xml_document doc;
    const std::string sample = std::string(PELOMIRA_SOURCE_DIR) + "/share/samples/DI_VARIAS_ADICOES.xml";
    if (!doc.load_file(sample.c_str()))
        throw std::runtime_error("sample not readable: " + sample);
    pugi::xml_node process = doc.child("PROCESSOS").child("PROCESSO");
    if (!id.empty())
        process.child("ID_PROCESSO").text().set(id.c_str());
    std::vector<pugi::xml_node> additions, items;
    for (pugi::xml_node n : process.children("ADICAO"))
        additions.push_back(n);
    for (pugi::xml_node n : process.children("ITEM"))
        items.push_back(n);
    pugi::xml_node after = additions.back();
    pugi::xml_node lastItem = items.back();
    for (int a = 1; a <= additionCount; ++a) {
        pugi::xml_node add = process.insert_copy_after(additions[static_cast<std::size_t>(a - 1) % 3], after);
        add.child("ID_ADICAO").text().set(benchThree(a).c_str());
        after = add;
        for (int i = 0; i < itemsPerAddition; ++i) {
            const int n = (a - 1) * itemsPerAddition + i + 1;
            pugi::xml_node item =
                process.insert_copy_after(items[static_cast<std::size_t>(n - 1) % items.size()], lastItem);
            item.child("ID_ITEM").text().set(std::to_string(n).c_str());
            item.child("ID_ADICAO").text().set(benchThree(a).c_str());
            lastItem = item;
        }
    }
    for (pugi::xml_node n : additions)
        process.remove_child(n);
    for (pugi::xml_node n : items)
        process.remove_child(n);
    std::ostringstream out;
    doc.save(out);
    return out.str();
}
