// The DI transfer into NORVIK: does its cost stay flat as the folder grows, and what does it cost
// against appending the same records with no index at all.
//
// A DI of 500 additions with 4 items each is transferred through the NORVIK entry into a sample folder
// holding 1,000 earlier processes, then into one holding 100,000 (each with a header, two items, an
// expense and an addition, indexed as init-norvik indexes them). Index work grows with log n and
// nothing reads a whole per-process table, so the larger folder must cost at most 1.5 times the
// smaller. The baseline appends the records the transfer wrote, table by table, to tables opened with
// no index. Prints both ratios.
#include "BigDiDocument.h"
#include "PrivateFolders.h"
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/DbfTable.h"
#include "data/NorvikFolder.h"
#include "data/NorvikSchema.h"
#include "data/TDM.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"
#include "platform/Platform.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int AdditionCount = 500;
constexpr int ItemsPerAddition = 4;

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Earlier processes written straight into the tables, then every index of those tables rebuilt.
void addEarlierProcesses(const std::string& folder, int count) {
    auto fill = [&](const std::string& base, int perProcess, auto&& set) {
        DbfTable t;
        t.open(folder + "/" + base + ".DBF", {}, true);
        for (int p = 0; p < count; ++p)
            for (int k = 0; k < perProcess; ++k) {
                t.append();
                char reg[16];
                std::snprintf(reg, sizeof reg, "H%09d", p);
                t.setText("REGISTRO", reg);
                set(t, k);
                t.post();
            }
        t.close();
        t.open(folder + "/" + base + ".DBF", {}, false);
        for (const NorvikSchema::Index& index : NorvikSchema::find(base)->indices) {
            const std::string ntx = folder + "/" + index.file;
            NtxIndex probe;
            probe.open(ntx, t.fields(), false, 1000);
            std::vector<NtxIndex::Entry> entries;
            for (bool more = t.first(); more; more = t.next())
                entries.push_back({probe.keyOf(t.recordImage()), t.recno()});
            probe.close();
            NtxIndex::create(ntx, index.expression, t.fields(), entries);
        }
    };
    fill("RIREGI", 1, [](DbfTable& t, int) { t.setText("IMPORTADOR", "000001"); });
    fill("RIITEM", 2, [](DbfTable& t, int k) {
        t.setText("ADICAO", "001");
        t.setText("ITEM", "0000" + std::to_string(k + 1));
        t.setText("SEQITEM", std::to_string(k + 1));
        t.setText("NCM", "84818099");
    });
    fill("RICUST", 1, [](DbfTable& t, int) { t.setText("COD_DESP", "0001"); });
    fill("RIADIC", 1, [](DbfTable& t, int) { t.setText("ADICAO", "001"); });
}

struct World {
    fs::path root;
    std::unique_ptr<Platform> platform;

    World() {
        root = bench::makePrivateFolders(fs::temp_directory_path());
        platform = Platform::createNative();
    }
    ~World() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::string folderWith(int earlier) {
        const std::string folder = (root / ("norvik" + std::to_string(earlier))).string();
        NorvikFolder::create(folder, true);
        addEarlierProcesses(folder, earlier);
        return folder;
    }

    // One transfer through the NORVIK entry; returns its seconds.
    double transfer(const std::string& folder, const std::string& id) {
        std::ofstream((root / "windir" / "VORDA.INI").string()) << "[NORVIK]\r\nCAMINHO=" << folder << "\r\n";
        const std::string document = bigDiDocument(AdditionCount, ItemsPerAddition, id);
        ScriptedOperator op;
        Settings settings(*platform);
        settings.write(Settings::Dados, Settings::KeyArqTransform, std::string(PELOMIRA_SOURCE_DIR) + "/share/xtr");
        Logs logs(*platform, op);
        TDM dm;
        AppContext ctx{*platform, op, settings, logs, dm};
        resetProcessRecordSets(dm);
        op.queueYesNo(true);
        op.queueButton(0);
        const auto start = Clock::now();
        importProcessToNorvik(ctx, document, ProcessTransfers::available());
        const double took = seconds(start);
        for (const auto& c : op.callsOf("message"))
            if (c.icon == MessageIcon::Error && c.text.find("AUXQRPX") == std::string::npos)
                std::cerr << "transfer reported: " << c.text << "\n";
        return took;
    }
};

std::map<std::string, std::uint32_t> counts(const std::string& folder) {
    std::map<std::string, std::uint32_t> out;
    for (const NorvikSchema::Table& t : NorvikSchema::tables()) {
        DbfTable table;
        table.open(folder + "/" + t.fileName(), {}, false);
        out[t.base] = table.recordCount();
    }
    return out;
}

// The same number of records per table, appended to tables opened with no index.
double plainAppend(World& w, const std::map<std::string, std::uint32_t>& added) {
    const std::string folder = (w.root / "plain").string();
    NorvikFolder::create(folder, false);
    const auto start = Clock::now();
    for (const auto& [base, n] : added) {
        DbfTable t;
        t.open(folder + "/" + base + ".DBF", {}, true);
        for (std::uint32_t i = 0; i < n; ++i) {
            t.append();
            if (t.findField("REGISTRO"))
                t.setText("REGISTRO", "PLAIN");
            t.post();
        }
    }
    return seconds(start);
}

} // namespace

int main() {
    World w;
    std::cout << "building the folders (1,000 and 100,000 earlier processes)...\n";
    const std::string small = w.folderWith(1000);
    const std::string large = w.folderWith(100000);

    const auto before = counts(small);
    double smallBest = w.transfer(small, "B000000001");
    const auto after = counts(small);
    smallBest = std::min(smallBest, w.transfer(small, "B000000002"));
    double largeBest = w.transfer(large, "B000000001");
    largeBest = std::min(largeBest, w.transfer(large, "B000000002"));

    std::map<std::string, std::uint32_t> added;
    std::uint32_t total = 0;
    for (const auto& [base, n] : after) {
        added[base] = n - before.at(base);
        total += added[base];
    }
    const double plain = plainAppend(w, added);
    std::printf("DI of %d additions x %d items (%u records): %.3f s into 1,000 processes, %.3f s into 100,000\n",
                AdditionCount, ItemsPerAddition, total, smallBest, largeBest);
    std::printf("100,000 / 1,000: ratio %.2f (target <= 1.5)\n", largeBest / smallBest);
    std::printf("transfer / appending the same records with no index: ratio %.1f (%.3f s)\n", smallBest / plain, plain);
    return 0;
}
