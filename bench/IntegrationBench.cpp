// The three customer integrations on large files, against the plain cost of the same work.
//
// Writes a Samsung file of 100,000 lines, a Synthes file of 100,000 rows and a Honeywell file of
// 100,000 records (sizes can be given), and turns each into its request document as the program does:
// read the file, decode it, group it, translate its codes through the code mapping (a real embedded
// Integra database), build the document and write it out as text. The plain way to do the same work is
// reading the file, splitting its lines and building a pugixml document with as many elements, and
// writing that as text. Prints the time of each as a multiple of the plain way (target <= 3) and the
// peak memory as a multiple of the file size.
//
// Usage: integration_bench [RECORDS]
#include "Measure.h"
#include "base/AppContext.h"
#include "base/ConsoleOperator.h"
#include "base/Logs.h"
#include "base/Settings.h"
#include "cadastros/CodeMapping.h"
#include "data/IntegraSchema.h"
#include "data/TDM.h"
#include "integra/CustomerFormat.h"
#include "integra/CustomerText.h"
#include "integra/IntegrationWalk.h"
#include "integra/MappingTranslator.h"
#include "integra/MerlinRequestDocument.h"
#include "integra/WholeFile.h"
#include "platform/Platform.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string fixed(std::initializer_list<std::pair<int, std::string>> fields, size_t width) {
    std::string line(width, ' ');
    for (const auto& [position, text] : fields)
        line.replace(position - 1, text.size(), text);
    return line;
}

std::string samsungFile(int lines) {
    std::string out;
    for (int i = 0; i < lines; ++i) {
        const std::string n = std::to_string(i);
        out += fixed({{150, "COM-" + std::to_string(i / 20)},
                      {170, "PO" + n},
                      {185, "15032026"},
                      {193, "ART-" + n},
                      {217, "8529.90.20"},
                      {230, "12,5"},
                      {243, i % 2 ? "PC" : "KG"},
                      {253, "0,250"},
                      {273, "1000"},
                      {292, "Placa principal " + n},
                      {360, "1234"},
                      {364, "PLACA DE CIRCUITO IMPRESSO " + n},
                      {525, "45" + std::to_string(i / 20)},
                      {1296, i % 3 ? "SEC01" : "SEC02"}},
                     1305);
        out += "\r\n";
    }
    return out;
}

std::string synthesFile(int rows) {
    std::string out = "PRODUTO;DESCRICAO;FATURA;QTDE;UNIDADE;NCM;PESOUNIT;PESOTOT;FOBUNIT;FOBTOT;MOEDA;FABRIC;EXPORT;"
                      "PEDIDO\r\n";
    for (int i = 0; i < rows; ++i) {
        const std::string n = std::to_string(i);
        out += "04.161." + n + ";\"Placa de compressao; " + n + " furos\";900" + std::to_string(i / 20) +
               ";2;UN;9021.10.10;0,045;0,090;617,25;1234,50;USD;SYN-CH;SYN-EXP;PO-" + n + "\r\n";
    }
    return out;
}

std::string honeywellFile(int records) {
    std::string out;
    for (int i = 0; i < records;) {
        if (i % 100 == 0) {
            out += fixed({{1, "CAPI"}, {63, i % 200 ? "HW01" : "HW02"}, {222, "1520,40"}}, 240) + "\r\n";
            ++i;
        }
        const std::string n = std::to_string(i);
        out += fixed({{1, "ITEA"},
                      {20, "SENSOR-" + n},
                      {40, "10"},
                      {57, "1,250"},
                      {69, "45,90"},
                      {114, "9025.19.90"},
                      {281, "INV-" + std::to_string(i / 30)}},
                     300) +
               "\r\n";
        out += fixed({{1, "ITED"}, {39, "PO-" + n}, {68, "310799"}}, 80) + "\r\n";
        out += fixed({{1, "DP"}, {40, "SENSOR DE TEMPERATURA " + n}}, 240) + "\r\n";
        i += 3;
    }
    return out;
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

/// The program's world in a folder of its own: settings, logs, a quiet operator, an embedded Integra
/// database with every code of the benchmark files mapped.
struct World {
    explicit World(const fs::path& folder) {
        ::setenv("PELOMIRA_HOME", (folder / "home/").c_str(), 1);
        ::setenv("PELOMIRA_WINDIR", (folder / "windir").c_str(), 1);
        fs::create_directories(folder / "home");
        fs::create_directories(folder / "windir");
        const std::string database = (folder / "INTEGRA.FDB").string();
        if (!fs::exists(database)) {
            IntegraDatabase::create(database, integraSchemaSql(), false);
            dm.sqlConIntegra.setDatabase(database);
            CodeMapping mapping(ctx);
            for (const auto& [customer, table, code] :
                 std::vector<std::tuple<std::string, std::string, std::string>>{{"SAMSUNG", "FABRICANTE", "SEC01"},
                                                                                {"SAMSUNG", "FABRICANTE", "SEC02"},
                                                                                {"SAMSUNG", "UNIDADE", "PC"},
                                                                                {"SAMSUNG", "UNIDADE", "KG"},
                                                                                {"SYNTHES", "FABRICANTE", "SYN-CH"},
                                                                                {"SYNTHES", "EXPORTADOR", "SYN-EXP"},
                                                                                {"SYNTHES", "UNIDADE", "UN"},
                                                                                {"HONEYWELL", "FABRICANTE", "HW01"},
                                                                                {"HONEYWELL", "FABRICANTE", "HW02"}})
                mapping.save(customer, table, code, "M-" + code);
        }
        dm.sqlConIntegra.setDatabase(database);
    }

    NullBuffer nothing;
    std::ostream quiet{&nothing};
    std::unique_ptr<Platform> platform = Platform::createNative();
    ConsoleOperator op{*platform, ConsoleOperator::Answers{}, quiet, quiet};
    Settings settings{*platform};
    Logs logs{*platform, op};
    TDM dm;
    AppContext ctx{*platform, op, settings, logs, dm};
};

/// The program's way: the document text, as generate() makes it before saving.
std::string integrate(World& w, const CustomerFormat& format, const std::string& file, size_t& elements) {
    const CustomerText text(readWholeFile(file, size_t(1) << 30));
    MerlinRequestDocument doc(MerlinRequestDocument::serviceNamespace("http://merlin"), "E");
    MappingTranslator codes(w.ctx, format.names().customer);
    WalkContext walk{codes, "4242", 2026, {}};
    format.build(text, doc, walk);
    codes.requireAll();
    std::string xml = doc.text();
    elements = 0;
    for (pugi::xml_node i = doc.invoiceData().first_child(); i; i = i.next_sibling()) {
        for (pugi::xml_node c = i.first_child(); c; c = c.next_sibling())
            ++elements;
        for (pugi::xml_node l = i.last_child().first_child(); l; l = l.next_sibling())
            for (pugi::xml_node c = l.first_child(); c; c = c.next_sibling())
                ++elements;
    }
    return xml;
}

/// The plain way: read, split the lines, one item per line with as many text elements, each holding
/// a piece of the line, written out as text.
std::string plain(const std::string& file, size_t elements) {
    const std::string bytes = readWholeFile(file, size_t(1) << 30);
    const std::vector<std::string_view> lines = CustomerText::splitLines(bytes);
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("items");
    const size_t perLine = std::max<size_t>(1, elements / std::max<size_t>(1, lines.size()));
    size_t written = 0;
    for (const std::string_view line : lines) {
        pugi::xml_node item = root.append_child("item");
        for (size_t k = 0; k < perLine && written < elements; ++k, ++written) {
            const std::string_view piece = line.substr(std::min(line.size(), k * 20), 12);
            item.append_child("FIELD").text().set(std::string(piece).c_str());
        }
    }
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_indent | pugi::format_no_declaration);
    return out.str();
}

long peakInFreshProcess(const std::string& what, const std::string& customer, const std::string& file,
                        const fs::path& folder, size_t elements) {
    return bench::numberFromFreshProcess(what + " " + customer + " " + file + " " + folder.string() + " " +
                                         std::to_string(elements));
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 7 && std::string(argv[1]) == "--memory") {
        const std::string what = argv[2];
        const CustomerFormat& format = *CustomerFormat::byName(argv[3]);
        const std::string file = argv[4];
        World w(argv[5]);
        size_t elements = std::strtoul(argv[6], nullptr, 10);
        std::string kept;
        const long growth = bench::peakGrowth(
            [&] { kept = what == "plain" ? plain(file, elements) : integrate(w, format, file, elements); });
        std::printf("%ld\n", growth);
        return 0;
    }
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path folder = fs::temp_directory_path() / ("pelomira-integration-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    World w(folder);

    struct Case {
        const CustomerFormat* format;
        std::string name;
        std::string content;
    };
    const Case cases[] = {{&CustomerFormat::samsung(), "samsung.txt", samsungFile(records)},
                          {&CustomerFormat::synthes(), "synthes.csv", synthesFile(records)},
                          {&CustomerFormat::honeywell(), "honeywell.txt", honeywellFile(records)}};
    std::printf("%d records per file\n", records);
    int worse = 0;
    for (const Case& c : cases) {
        const std::string file = (folder / c.name).string();
        std::ofstream(file, std::ios::binary) << c.content;
        const double size = static_cast<double>(c.content.size());
        size_t elements = 0;
        integrate(w, *c.format, file, elements); // warms the file cache and the database
        std::vector<double> ours, base;
        for (int i = 0; i < 3; ++i) {
            ours.push_back(bench::seconds([&] { integrate(w, *c.format, file, elements); }));
            base.push_back(bench::seconds([&] { plain(file, elements); }));
        }
        const double t = *std::min_element(ours.begin(), ours.end());
        const double p = *std::min_element(base.begin(), base.end());
        const std::string customer = c.format->names().customer;
        // The embedded database admits one program at a time: the measuring process gets it.
        w.dm.sqlConIntegra.disconnect();
        const long ourPeak = peakInFreshProcess("ours", customer, file, folder, elements);
        const long plainPeak = peakInFreshProcess("plain", customer, file, folder, elements);
        std::printf("%-9s %6.1f MB, %zu elements: integration %8.1f ms, plain %8.1f ms, ratio %5.2f (target <= 3); "
                    "peak memory %.1f x file (plain %.1f x)\n",
                    customer.c_str(), size / 1048576.0, elements, t * 1000, p * 1000, t / p, ourPeak / size,
                    plainPeak / size);
        if (t / p > 3)
            ++worse;
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    return worse == 0 ? 0 : 1;
}
