#pragma once

// What the transfer benchmarks share: a private program, settings and Orientador folder on disk, one
// transfer of a document through the Orientador entry as the operator would run it, and the baseline —
// the very rows that transfer left, inserted into a fresh file of the same folder with one prepared
// statement per table in one transaction. Each case prints the ratio of the two median times. A kind of many
// units also gets a second reference: the same plain inserts committed once per unit (write-ahead log,
// synchronous=NORMAL), what the transfer would cost if it committed every unit on its own.
#include "PrivateFolders.h"
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

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

namespace fs = std::filesystem;

/// One benchmark case: a document and the Orientador file its transfer writes.
struct TransferCase {
    std::string name;                   // "DI", "LI" …
    std::string description;            // "500 additions x 4 items"
    std::function<std::string()> build; // the document text
    std::string file;                   // "IMPORT.MDB"
    std::string document;
    std::string unitKey = {}; // the field that keys every row of a unit, for the per-unit reference ("" none)
};

/// A private program folder, settings folder and Orientador folders below PELOMIRA_BENCH_DIR (by default
/// beside the program in the build folder: the disk the program uses, not a memory file system).
class BenchFolder {
public:
    BenchFolder() {
        const char* dir = std::getenv("PELOMIRA_BENCH_DIR");
        m_root = makePrivateFolders(dir && *dir ? fs::path(dir) : fs::path(PELOMIRA_BENCH_DEFAULT_DIR));
        m_platform = Platform::createNative();
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    Platform& platform() { return *m_platform; }

    /// An empty Orientador folder made as init-orientador makes it.
    std::string freshFolder(const std::string& name) {
        const fs::path folder = m_root / name;
        std::error_code ec;
        fs::remove_all(folder, ec);
        OrientadorFolder::create(*m_platform, folder.string(), {});
        return folder.string();
    }

private:
    fs::path m_root;
    std::unique_ptr<Platform> m_platform;
};

inline BenchFolder& folder() {
    static BenchFolder f;
    return f;
}

/// One transfer of a document into an Orientador folder, confirmed and closed with OK.
inline void transferOnce(const std::string& orientador, const std::string& document) {
    ScriptedOperator op;
    Settings settings(folder().platform());
    Logs logs(folder().platform(), op);
    TDM dm;
    AppContext ctx{folder().platform(), op, settings, logs, dm};
    settings.write(Settings::Dados, Settings::KeyDados, orientador);
    settings.write(Settings::Dados, Settings::KeyArqTransform, std::string(PELOMIRA_SOURCE_DIR) + "/share/xtr");
    resetProcessRecordSets(dm);
    op.queueYesNo(true);
    op.queueButton(0);
    const TransferOutcome outcome = importProcessToOrientador(ctx, document, ProcessTransfers::available());
    if (outcome.status != TransferStatus::Transferred || !op.messages().empty())
        throw std::runtime_error("the transfer did not go through: " +
                                 (op.messages().empty() ? outcome.failure : op.messages().front()));
}

inline void check(int rc, sqlite3* db, const char* doing) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(doing) + ": " + sqlite3_errmsg(db));
}

/// The rows of every table of a file, kept as SQLite values.
struct TableRows {
    std::string table;
    int columns = 0;
    std::vector<std::string> names;
    std::vector<std::vector<sqlite3_value*>> rows;
};

inline std::vector<TableRows> readAll(const std::string& file) {
    sqlite3* db = nullptr;
    check(sqlite3_open(file.c_str(), &db), db, "open");
    std::vector<TableRows> all;
    sqlite3_stmt* names = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &names, nullptr), db,
          "list");
    while (sqlite3_step(names) == SQLITE_ROW)
        all.push_back({reinterpret_cast<const char*>(sqlite3_column_text(names, 0)), 0, {}, {}});
    sqlite3_finalize(names);
    for (TableRows& t : all) {
        sqlite3_stmt* s = nullptr;
        check(sqlite3_prepare_v2(db, ("SELECT * FROM \"" + t.table + "\"").c_str(), -1, &s, nullptr), db, "read");
        t.columns = sqlite3_column_count(s);
        for (int c = 0; c < t.columns; ++c)
            t.names.emplace_back(sqlite3_column_name(s, c));
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

/// The baseline: the same rows into the same tables, one prepared statement per table, one transaction.
inline void insertPlain(const std::string& file, const std::vector<TableRows>& all) {
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

/// The same rows committed once per unit (the rows of all tables whose unitKey holds one value), units in
/// the order they were written, on a connection set up as the transfer sets up its own.
inline std::size_t insertPerUnit(const std::string& file, const std::vector<TableRows>& all,
                                 const std::string& unitKey) {
    struct Unit {
        std::vector<std::pair<std::size_t, std::size_t>> rows; // (table, row)
    };
    std::vector<std::string> order;
    std::map<std::string, Unit> units;
    for (std::size_t t = 0; t < all.size(); ++t) {
        const auto& names = all[t].names;
        const auto key = std::find(names.begin(), names.end(), unitKey);
        if (key == names.end())
            continue;
        const auto column = static_cast<std::size_t>(key - names.begin());
        for (std::size_t r = 0; r < all[t].rows.size(); ++r) {
            const auto* text = sqlite3_value_text(all[t].rows[r][column]);
            const std::string id = text ? reinterpret_cast<const char*>(text) : "";
            if (!units.count(id))
                order.push_back(id);
            units[id].rows.emplace_back(t, r);
        }
    }
    sqlite3* db = nullptr;
    check(sqlite3_open(file.c_str(), &db), db, "open");
    check(sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr), db, "pragma");
    check(sqlite3_exec(db, "PRAGMA wal_autocheckpoint=20000", nullptr, nullptr, nullptr), db, "pragma");
    std::vector<sqlite3_stmt*> inserts(all.size(), nullptr);
    for (std::size_t t = 0; t < all.size(); ++t) {
        std::string marks;
        for (int c = 0; c < all[t].columns; ++c)
            marks += c ? ", ?" : "?";
        check(sqlite3_prepare_v2(db, ("INSERT INTO \"" + all[t].table + "\" VALUES (" + marks + ")").c_str(), -1,
                                 &inserts[t], nullptr),
              db, "prepare");
    }
    for (const std::string& id : order) {
        check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db, "begin");
        for (const auto& [t, r] : units[id].rows) {
            for (int c = 0; c < all[t].columns; ++c)
                sqlite3_bind_value(inserts[t], c + 1, all[t].rows[r][static_cast<std::size_t>(c)]);
            check(sqlite3_step(inserts[t]), db, "insert");
            sqlite3_reset(inserts[t]);
        }
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    }
    for (sqlite3_stmt* s : inserts)
        sqlite3_finalize(s);
    sqlite3_close(db);
    return order.size();
}

inline std::size_t rowCount(const std::vector<TableRows>& all) {
    std::size_t n = 0;
    for (const auto& t : all)
        n += t.rows.size();
    return n;
}

/// How often each benchmark is run: a ratio of milliseconds is told by the median run of each side,
/// so one slow commit (the disk, the other core) does not move it.
constexpr int Repetitions = 9;

/// Every benchmark of a ratio is measured alike: milliseconds of real time, three runs a repetition.
inline void measuredAlike(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->Iterations(3)
        ->Repetitions(Repetitions)
        ->ReportAggregatesOnly(true)
        ->UseRealTime();
}

/// Keeps the median real time of each benchmark, by its name, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> milliseconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.aggregate_name == "median")
                milliseconds[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

/// Registers a transfer and a plain-insert benchmark per case, runs them and prints each case's ratio.
inline int runTransferBenchmarks(int argc, char** argv, std::vector<TransferCase> cases) {
    benchmark::Initialize(&argc, argv);
    std::map<std::string, std::vector<TableRows>> transferred;
    for (TransferCase& c : cases) {
        c.document = c.build();
        const std::string reference = folder().freshFolder("reference-" + c.name);
        transferOnce(reference, c.document);
        transferred[c.name] = readAll(reference + "/" + c.file);
        const TransferCase* tc = &c;
        const std::vector<TableRows>* rows = &transferred[c.name];
        benchmark::RegisterBenchmark(("Transfer" + c.name).c_str(), [tc, rows](benchmark::State& state) {
            for (auto _ : state) {
                state.PauseTiming();
                const std::string f = folder().freshFolder("transfer");
                state.ResumeTiming();
                transferOnce(f, tc->document);
            }
            state.counters["rows"] = static_cast<double>(rowCount(*rows));
        })->Apply(measuredAlike);
        benchmark::RegisterBenchmark(("PlainInsert" + c.name).c_str(), [tc, rows](benchmark::State& state) {
            for (auto _ : state) {
                state.PauseTiming();
                const std::string f = folder().freshFolder("plain");
                state.ResumeTiming();
                insertPlain(f + "/" + tc->file, *rows);
            }
            state.counters["rows"] = static_cast<double>(rowCount(*rows));
        })->Apply(measuredAlike);
        if (c.unitKey.empty())
            continue;
        benchmark::RegisterBenchmark(("PlainInsertPerUnit" + c.name).c_str(), [tc, rows](benchmark::State& state) {
            std::size_t units = 0;
            for (auto _ : state) {
                state.PauseTiming();
                const std::string f = folder().freshFolder("plain");
                state.ResumeTiming();
                units = insertPerUnit(f + "/" + tc->file, *rows, tc->unitKey);
            }
            state.counters["rows"] = static_cast<double>(rowCount(*rows));
            state.counters["commits"] = static_cast<double>(units);
        })->Apply(measuredAlike);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const TransferCase& c : cases) {
        const double transfer = reporter.milliseconds["Transfer" + c.name];
        const double plain = reporter.milliseconds["PlainInsert" + c.name];
        if (transfer > 0 && plain > 0)
            std::cout << c.name << " transfer of " << c.description << " (" << rowCount(transferred[c.name])
                      << " rows in " << c.file << "): " << transfer << " ms, plain insert: " << plain << " ms, ratio "
                      << transfer / plain << " (target <= 5)\n";
        const double perUnit = reporter.milliseconds["PlainInsertPerUnit" + c.name];
        if (transfer > 0 && plain > 0 && perUnit > 0)
            std::cout << "  the same plain inserts committed once per unit: " << perUnit << " ms (ratio "
                      << perUnit / plain << "); transfer to it: ratio " << transfer / perUnit << "\n";
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
