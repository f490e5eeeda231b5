// The registration scan against one plain read of both of its sides.
//
// 50,000 registered processes across the four Orientador files (12,500 each: LIDSI.MDB, DSI.MDB,
// REGIMP.MDB, IMPORT.MDB) and 50,000 rows in GERADOS on a Firebird server on 127.0.0.1 (the test server
// of scripts/firebird-test-server, port PELOMIRA_FB_PORT): half of the registered processes are already
// returned, the other 25,000 GERADOS rows are other processes. The scan (manual and automatic) is
// timed as the program runs it; the baseline reads the same columns of the four tables with one plain
// SQLite statement each and GERADOS with one query, and does nothing with them. The program prints the
// ratios; the target is at most 3.
#include "PrivateFolders.h"
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/IntegraDatabase.h"
#include "data/IntegraSchema.h"
#include "data/OrientadorFolder.h"
#include "data/RecordSet.h"
#include "data/TDM.h"
#include "platform/Platform.h"
#include "retorno/RegistrationScan.h"
#include "retorno/ScanSources.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr int PerKind = 12500;

std::string loopbackServer() {
    const char* env = std::getenv("PELOMIRA_FB_PORT");
    const int port = env && *env ? std::atoi(env) : 30535;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool reachable = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return reachable ? "127.0.0.1/" + std::to_string(port) : std::string();
}

void check(int rc, sqlite3* db, const std::string& doing) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(doing + ": " + sqlite3_errmsg(db));
}

std::string five(int n) {
    std::string s = std::to_string(n);
    return std::string(5 - std::min<std::size_t>(5, s.size()), '0') + s;
}

// Registered rows of one kind, written in one transaction straight into the file.
void fillSource(const std::string& folder, const ScanSource& s) {
    sqlite3* db = nullptr;
    check(sqlite3_open((folder + "/" + s.fileName).c_str(), &db), db, "open " + s.fileName);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    const bool di = s.kind == "DI";
    std::vector<std::string> fields = s.fieldsRead();
    std::string columns, marks;
    for (const std::string& f : fields) {
        columns += (columns.empty() ? "\"" : ", \"") + f + "\"";
        marks += marks.empty() ? "?" : ", ?";
    }
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, ("INSERT INTO \"" + s.table + "\" (" + columns + ") VALUES (" + marks + ")").c_str(),
                             -1, &insert, nullptr),
          db, "prepare");
    for (int n = 1; n <= PerKind; ++n) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string& f = fields[i];
            std::string value;
            if (f == s.registro)
                value = s.kind + "-" + five(n);
            else if (f.rfind("DT_", 0) == 0)
                value = di ? "05032026" : "2026-03-05";
            else
                value = std::to_string(2600000000LL + n);
            sqlite3_bind_text(insert, static_cast<int>(i) + 1, value.c_str(), -1, SQLITE_TRANSIENT);
        }
        check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

struct World {
    fs::path root;
    std::unique_ptr<Platform> platform;
    std::string folder;
    std::string integra;

    World() {
        const std::string server = loopbackServer();
        if (server.empty())
            throw std::runtime_error("no Firebird test server on 127.0.0.1 (start scripts/firebird-test-server "
                                     "start and set PELOMIRA_FB_PORT)");
        root = bench::makePrivateFolders(fs::temp_directory_path());
        platform = Platform::createNative();

        folder = (root / "orientador").string();
        OrientadorFolder::create(*platform, folder, {});
        for (const ScanSource& s : scanSources())
            fillSource(folder, s);

        integra = server + ":" + (root / "INTEGRA.FDB").string();
        IntegraDatabase::create(integra, integraSchemaSql(), false);
        IntegraDatabase db;
        db.setDatabase(integra);
        // Every other registered process of each kind is returned; as many other processes fill the rest.
        auto padded = [](const std::string& n) { return "LPAD(CAST(" + n + " AS VARCHAR(10)), 5, '0')"; };
        std::string block =
            "EXECUTE BLOCK AS DECLARE N INTEGER = 1; BEGIN WHILE (N <= " + std::to_string(PerKind) + ") DO BEGIN ";
        for (const ScanSource& s : scanSources())
            block += "INSERT INTO GERADOS VALUES ('" + s.kind + "', '" + s.kind + "-' || " + padded(":N") +
                     ", '03/05/2026'); ";
        db.execute(block + "N = N + 2; END END");
        db.execute("EXECUTE BLOCK AS DECLARE N INTEGER = 1; BEGIN WHILE (N <= " + std::to_string(PerKind * 2) +
                   ") DO BEGIN INSERT INTO GERADOS VALUES ('DI', 'ANTIGO-' || CAST(:N AS VARCHAR(10)), "
                   "'01/02/2025'); N = N + 1; END END");
        const auto count = db.query("SELECT COUNT(*) FROM GERADOS");
        std::cout << "GERADOS: " << count.rows.at(0).at(0).value_or("?")
                  << " rows; registered processes: " << 4 * PerKind << "\n";
    }
    ~World() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

World& world() {
    static World w;
    return w;
}

std::size_t scanOnce(bool automatic) {
    World& w = world();
    ScriptedOperator op;
    Settings settings(*w.platform);
    Logs logs(*w.platform, op);
    TDM dm;
    AppContext ctx{*w.platform, op, settings, logs, dm};
    settings.write(Settings::Dados, Settings::KeyDados, w.folder);
    dm.sqlConIntegra.setDatabase(w.integra);
    dm.sqlConIntegra.connect(); // the attachment is not what is measured
    RecordSet list("cdsTemp");
    if (automatic)
        RegistrationScan(ctx).automatic(list);
    else if (!RegistrationScan(ctx).manual(list))
        throw std::runtime_error("the scan failed: " + (op.messages().empty() ? "" : op.messages().back()));
    return list.recordCount();
}

// Both sides read once, plainly: the scanned columns of the four tables, GERADOS' two columns.
std::size_t plainRead() {
    World& w = world();
    std::size_t values = 0;
    for (const ScanSource& s : scanSources()) {
        sqlite3* db = nullptr;
        check(sqlite3_open_v2((w.folder + "/" + s.fileName).c_str(), &db, SQLITE_OPEN_READONLY, nullptr), db, "open");
        std::string columns;
        for (const std::string& f : s.fieldsRead())
            columns += (columns.empty() ? "\"" : ", \"") + f + "\"";
        sqlite3_stmt* read = nullptr;
        check(sqlite3_prepare_v2(db, ("SELECT " + columns + " FROM \"" + s.table + "\"").c_str(), -1, &read, nullptr),
              db, "prepare");
        const int n = sqlite3_column_count(read);
        while (sqlite3_step(read) == SQLITE_ROW)
            for (int c = 0; c < n; ++c)
                values += sqlite3_column_bytes(read, c) > 0 ? 1 : 0;
        sqlite3_finalize(read);
        sqlite3_close(db);
    }
    IntegraDatabase db;
    db.setDatabase(w.integra);
    db.connect();
    values += db.query("SELECT TIPO_PROC, NR_PROC FROM GERADOS").rows.size();
    return values;
}

void BM_ManualScan(benchmark::State& state) {
    std::size_t rows = 0;
    for (auto _ : state)
        rows = scanOnce(false);
    state.counters["listed"] = static_cast<double>(rows);
}

void BM_AutomaticScan(benchmark::State& state) {
    std::size_t rows = 0;
    for (auto _ : state)
        rows = scanOnce(true);
    state.counters["listed"] = static_cast<double>(rows);
}

void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(plainRead());
}

BENCHMARK(BM_ManualScan)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_AutomaticScan)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

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
    try {
        world();
    } catch (const std::exception& e) {
        std::cerr << "retorno_scan_bench: " << e.what() << "\n";
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double manual = reporter.seconds["BM_ManualScan/iterations:10/real_time"];
    const double automatic = reporter.seconds["BM_AutomaticScan/iterations:10/real_time"];
    const double plain = reporter.seconds["BM_PlainRead/iterations:10/real_time"];
    if (plain > 0)
        std::cout << "scan of " << 4 * PerKind << " registered rows against 50000 GERADOS rows: manual " << manual
                  << " ms (ratio " << manual / plain << "), automatic " << automatic << " ms (ratio "
                  << automatic / plain << "), plain read of both " << plain << " ms (target <= 3)\n";
    benchmark::Shutdown();
    return 0;
}
