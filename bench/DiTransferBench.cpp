// The DI transfer into the Orientador against the plain cost of its writes.
//
// A process of 500 additions with 4 items each (built from share/samples/DI_VARIAS_ADICOES.xml) is
// transferred into a fresh IMPORT.MDB through the Orientador entry, as the operator would run it. The
// baseline inserts the very rows that transfer left, table by table, into another fresh IMPORT.MDB with
// one prepared statement per table, all in one transaction: the plain way to write the same rows. Both
// run in the same folder (PELOMIRA_BENCH_DIR, by default beside the program in the build folder, on the
// disk the program uses, not a memory file system). The program prints the ratio of the two times; the
// target is at most 5.
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/OrientadorFolder.h"
#include "data/TDM.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"
#include "platform/Platform.h"

#include "BigDiDocument.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr int AdditionCount = 500;
constexpr int ItemsPerAddition = 4;

// A private program folder, settings folder and Orientador folder under the system's temporary folder.
struct World {
    fs::path root;
    std::unique_ptr<Platform> platform;
    std::string document;

    World() {
        const char* dir = std::getenv("PELOMIRA_BENCH_DIR");
        const fs::path base = dir && *dir ? fs::path(dir) : fs::path(PELOMIRA_BENCH_DEFAULT_DIR);
        fs::create_directories(base);
        std::string tmpl = (base / "pelomira-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            throw std::runtime_error("mkdtemp failed");
        root = tmpl;
        fs::create_directories(root / "windir");
        fs::create_directories(root / "home");
        ::setenv("PELOMIRA_WINDIR", (root / "windir").c_str(), 1);
        ::setenv("PELOMIRA_HOME", ((root / "home").string() + "/").c_str(), 1);
        platform = Platform::createNative();
        document = bigDiDocument(AdditionCount, ItemsPerAddition);
    }
    ~World() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::string freshFolder(const std::string& name) const {
        const fs::path folder = root / name;
        std::error_code ec;
        fs::remove_all(folder, ec);
        OrientadorFolder::create(*platform, folder.string(), {});
        return folder.string();
    }
};

World& world() {
    static World w;
    return w;
}

// One transfer of the big document into a fresh Orientador folder.
void transferOnce(const std::string& folder) {
    World& w = world();
    ScriptedOperator op;
    Settings settings(*w.platform);
    Logs logs(*w.platform, op);
    TDM dm;
    AppContext ctx{*w.platform, op, settings, logs, dm};
    settings.write(Settings::Dados, Settings::KeyDados, folder);
    settings.write(Settings::Dados, Settings::KeyArqTransform, std::string(PELOMIRA_SOURCE_DIR) + "/share/xtr");
    resetProcessRecordSets(dm);
    op.queueYesNo(true);
    op.queueButton(0);
    importProcessToOrientador(ctx, w.document, ProcessTransfers::available());
    if (!op.messages().empty())
        throw std::runtime_error("the transfer reported: " + op.messages().front());
}

void check(int rc, sqlite3* db, const char* doing) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(doing) + ": " + sqlite3_errmsg(db));
}

// The rows of every table of an IMPORT.MDB, kept as SQLite values.
struct TableRows {
    std::string table;
    int columns = 0;
    std::vector<std::vector<sqlite3_value*>> rows;
};

std::vector<TableRows> readAll(const std::string& file) {
    sqlite3* db = nullptr;
    check(sqlite3_open(file.c_str(), &db), db, "open");
    std::vector<TableRows> all;
    sqlite3_stmt* names = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &names, nullptr), db,
          "list");
    while (sqlite3_step(names) == SQLITE_ROW)
        all.push_back({reinterpret_cast<const char*>(sqlite3_column_text(names, 0)), 0, {}});
    sqlite3_finalize(names);
    for (TableRows& t : all) {
        sqlite3_stmt* s = nullptr;
        check(sqlite3_prepare_v2(db, ("SELECT * FROM \"" + t.table + "\"").c_str(), -1, &s, nullptr), db, "read");
        t.columns = sqlite3_column_count(s);
        while (sqlite3_step(s) == SQLITE_ROW) {
            std::vector<sqlite3_value*> row;
            for (int c = 0; c < t.columns; ++c)
                row.push_back(sqlite3_value_dup(sqlite3_column_value(s, c)));
            t.rows.push_back(std::move(row));
        }
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return all;
}

// The baseline: the same rows into the same tables, one prepared statement per table, one transaction.
void insertPlain(const std::string& file, const std::vector<TableRows>& all) {
    sqlite3* db = nullptr;
    check(sqlite3_open(file.c_str(), &db), db, "open");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    for (const TableRows& t : all) {
        if (t.rows.empty())
            continue;
        std::string marks;
        for (int c = 0; c < t.columns; ++c)
            marks += c ? ", ?" : "?";
        sqlite3_stmt* s = nullptr;
        check(
            sqlite3_prepare_v2(db, ("INSERT INTO \"" + t.table + "\" VALUES (" + marks + ")").c_str(), -1, &s, nullptr),
            db, "prepare");
        for (const auto& row : t.rows) {
            for (int c = 0; c < t.columns; ++c)
                sqlite3_bind_value(s, c + 1, row[static_cast<std::size_t>(c)]);
            check(sqlite3_step(s), db, "insert");
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

std::size_t rowCount(const std::vector<TableRows>& all) {
    std::size_t n = 0;
    for (const auto& t : all)
        n += t.rows.size();
    return n;
}

std::vector<TableRows>& transferredRows() {
    static std::vector<TableRows> rows = [] {
        const std::string folder = world().freshFolder("reference");
        transferOnce(folder);
        return readAll(folder + "/IMPORT.MDB");
    }();
    return rows;
}

void BM_TransferDI(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = world().freshFolder("transfer");
        state.ResumeTiming();
        transferOnce(folder);
    }
    state.counters["rows"] = static_cast<double>(rowCount(transferredRows()));
}

void BM_PlainInsert(benchmark::State& state) {
    const auto& rows = transferredRows();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = world().freshFolder("plain");
        state.ResumeTiming();
        insertPlain(folder + "/IMPORT.MDB", rows);
    }
    state.counters["rows"] = static_cast<double>(rowCount(rows));
}

BENCHMARK(BM_TransferDI)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PlainInsert)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Keeps the real time of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            seconds[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double transfer = reporter.seconds["BM_TransferDI/iterations:3/real_time"];
    const double plain = reporter.seconds["BM_PlainInsert/iterations:3/real_time"];
    if (transfer > 0 && plain > 0)
        std::cout << "DI transfer of " << AdditionCount << " additions x " << ItemsPerAddition << " items ("
                  << rowCount(transferredRows()) << " rows): " << transfer << " ms, plain insert: " << plain
                  << " ms, ratio " << transfer / plain << " (target <= 5)\n";
    benchmark::Shutdown();
    return 0;
}
