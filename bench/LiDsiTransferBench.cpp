// The LI and DSI transfers into the Orientador against the plain cost of their writes.
//
// An LI of 200 licences (2 items each) built from share/samples/LI_DUAS_LICENCAS.xml, and a DSI of 300
// goods in 100 additions built from share/samples/DSI.xml, are transferred through the Orientador entry
// into a fresh REGIMP.MDB and DSI.MDB; the baseline inserts the very rows each left into another fresh
// file of the same folder, one prepared statement per table, in one transaction. Each ratio's target is
// at most 5. The LI commits once per licence: a second reference commits its plain inserts the same way,
// to tell the cost of those 200 commits from the rest of the transfer (the DSI is one unit).
#include "TransferBenchSupport.h"

#include <pugixml.hpp>

#include <sstream>

namespace {

constexpr int LicenceCount = 200;
constexpr int ItemsPerLicence = 2;
constexpr int GoodsCount = 300;
constexpr int GoodsPerAddition = 3;

std::string padded(int n, std::size_t width) {
    std::string s = std::to_string(n);
    return std::string(width - std::min(width, s.size()), '0') + s;
}

pugi::xml_node loadProcess(pugi::xml_document& doc, const std::string& sample) {
    const std::string path = std::string(PELOMIRA_SOURCE_DIR) + "/share/samples/" + sample;
    if (!doc.load_file(path.c_str()))
        throw std::runtime_error("sample not readable: " + path);
    return doc.child("PROCESSOS").child("PROCESSO");
}

std::string text(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out);
    return out.str();
}

// Copies of the elements named childName of process, made by make(copy, n) for n = 1 … count after the
// last of them; the originals go.
void repeat(pugi::xml_node process, const char* childName, int count,
            const std::function<void(pugi::xml_node, int)>& make) {
    std::vector<pugi::xml_node> originals;
    for (pugi::xml_node n : process.children(childName))
        originals.push_back(n);
    pugi::xml_node after = originals.back();
    for (int n = 1; n <= count; ++n) {
        after = process.insert_copy_after(originals[static_cast<std::size_t>(n - 1) % originals.size()], after);
        make(after, n);
    }
    for (pugi::xml_node n : originals)
        process.remove_child(n);
}

std::string licenceId(int n) {
    return "26/" + padded(n, 7) + "-" + std::to_string(n % 10);
}

std::string bigLicence() {
    pugi::xml_document doc;
    pugi::xml_node process = loadProcess(doc, "LI_DUAS_LICENCAS.xml");
    repeat(process, "DADOS_LI", LicenceCount,
           [](pugi::xml_node licence, int n) { licence.child("ID_LI").text().set(licenceId(n).c_str()); });
    repeat(process, "ITEM", LicenceCount * ItemsPerLicence, [](pugi::xml_node item, int n) {
        item.child("ID_ITEM").text().set(std::to_string(n).c_str());
        const std::string id = licenceId((n - 1) / ItemsPerLicence + 1);
        item.child("ID_LI").text().set(id.c_str());
        item.child("NR_LI").text().set(id.c_str());
    });
    return text(doc);
}

std::string bigDsi() {
    pugi::xml_document doc;
    pugi::xml_node process = loadProcess(doc, "DSI.xml");
    repeat(process, "ADICAO", GoodsCount / GoodsPerAddition,
           [](pugi::xml_node addition, int n) { addition.child("ID_ADICAO").text().set(padded(n, 3).c_str()); });
    repeat(process, "ITEM", GoodsCount, [](pugi::xml_node item, int n) {
        item.child("ID_ITEM").text().set(std::to_string(n).c_str());
        item.child("ID_ADICAO").text().set(padded((n - 1) / GoodsPerAddition + 1, 3).c_str());
    });
    return text(doc);
}

} // namespace

int main(int argc, char** argv) {
    return bench::runTransferBenchmarks(
        argc, argv,
        {{"LI",
          std::to_string(LicenceCount) + " licences x " + std::to_string(ItemsPerLicence) + " items",
          bigLicence,
          "REGIMP.MDB",
          {},
          "NR_TRAT_IMP_MICRO"},
         {"DSI",
          std::to_string(GoodsCount) + " goods in " + std::to_string(GoodsCount / GoodsPerAddition) + " additions",
          bigDsi,
          "DSI.MDB",
          {}}});
}
