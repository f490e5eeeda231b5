// The DI transfer into the Orientador against the plain cost of its writes.
//
// A process of 500 additions with 4 items each (built from share/samples/DI_VARIAS_ADICOES.xml) is
// transferred into a fresh IMPORT.MDB through the Orientador entry, as the operator would run it (document
// text to rows, TEMP.XML included). The baseline inserts the very rows that transfer left into another fresh
// IMPORT.MDB of the same folder, one prepared statement per table, all in one transaction: the plain way to
// write the same rows. The program prints the ratio of the two times; the target is at most 5.
#include "TransferBenchSupport.h"

#include <pugixml.hpp>

#include <sstream>

namespace {

constexpr int AdditionCount = 500;
constexpr int ItemsPerAddition = 4;

std::string three(int n) {
    std::string s = std::to_string(n);
    return std::string(3 - std::min<std::size_t>(3, s.size()), '0') + s;
}

// The sample's three additions and first item used as templates, repeated to the wanted size.
std::string bigDocument() {
    pugi::xml_document doc;
    const std::string sample = std::string(PELOMIRA_SOURCE_DIR) + "/share/samples/DI_VARIAS_ADICOES.xml";
    if (!doc.load_file(sample.c_str()))
        throw std::runtime_error("sample not readable: " + sample);
    pugi::xml_node process = doc.child("PROCESSOS").child("PROCESSO");
    std::vector<pugi::xml_node> additions, items;
    for (pugi::xml_node n : process.children("ADICAO"))
        additions.push_back(n);
    for (pugi::xml_node n : process.children("ITEM"))
        items.push_back(n);
    pugi::xml_node after = additions.back();
    pugi::xml_node lastItem = items.back();
    for (int a = 1; a <= AdditionCount; ++a) {
        pugi::xml_node add = process.insert_copy_after(additions[static_cast<std::size_t>(a - 1) % 3], after);
        add.child("ID_ADICAO").text().set(three(a).c_str());
        after = add;
        for (int i = 0; i < ItemsPerAddition; ++i) {
            const int id = (a - 1) * ItemsPerAddition + i + 1;
            pugi::xml_node item =
                process.insert_copy_after(items[static_cast<std::size_t>(id - 1) % items.size()], lastItem);
            item.child("ID_ITEM").text().set(std::to_string(id).c_str());
            item.child("ID_ADICAO").text().set(three(a).c_str());
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

} // namespace

int main(int argc, char** argv) {
    return bench::runTransferBenchmarks(
        argc, argv,
        {{"DI",
          std::to_string(AdditionCount) + " additions x " + std::to_string(ItemsPerAddition) + " items",
          bigDocument,
          "IMPORT.MDB",
          {}}});
}
