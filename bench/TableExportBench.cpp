// The table export against the plain way of writing the same table as text: the sqlite3 shell's
// "-csv -separator ';'" of the same TAB_NCM. A TABSISCO.MDB with 200,000 NCM rows is exported as CSV
// and as XML through the export the window runs; the program prints the time ratios (targets: CSV at
// most 2, XML at most 3) and the peak memory of exports of 20,000 and 200,000 rows, each measured in a
// fresh process, which must not grow with the rows.
//
//   table_export_bench [ROWS]                     (default 200000)
#include "Measure.h"
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/OrientadorFolder.h"
#include "data/TDM.h"
#include "export/TableExport.h"
#include "export/TableExportProgress.h"
#include "platform/Platform.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int Runs = 3;

// A program folder, a settings folder and an Orientador folder whose TAB_NCM holds rows rows.
struct World {
    fs::path root;
    std::string orientador;

    explicit World(long rows) {
        std::string tmpl = (fs::temp_directory_path() / "pelomira-export-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            throw std::runtime_error("mkdtemp failed");
        root = tmpl;
        fs::create_directories(root / "windir");
        fs::create_directories(root / "home" / "XML");
        ::setenv("PELOMIRA_WINDIR", (root / "windir").c_str(), 1);
        ::setenv("PELOMIRA_HOME", ((root / "home").string() + "/").c_str(), 1);
        orientador = (root / "orientador").string();
        auto platform = Platform::createNative();
        OrientadorFolder::create(*platform, orientador, {});
        std::ofstream ini(root / "windir" / "PELOMIRA.INI", std::ios::binary);
        ini << "[Dados]\r\nDados=" << orientador
            << "\r\nArqXML=TABS.XML\r\nPastaXML=" << (root / "home" / "XML").string()
            << "\r\n[Tabelas]\r\nTabela3=CLASSIFICAÇÃO FISCAL (NCM);TAB_NCM\r\n";
        ini.close();
        fill(rows);
    }
    ~World() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::string tabsisco() const { return orientador + "/TABSISCO.MDB"; }

    // NCM-like rows: eight digits, a description of about 90 characters with accents, a unit, two rates.
    void fill(long rows) const {
        sqlite3* db = nullptr;
        if (sqlite3_open(tabsisco().c_str(), &db) != SQLITE_OK)
            throw std::runtime_error("cannot open TABSISCO.MDB");
        const std::string sql =
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) +
            ") INSERT INTO TAB_NCM SELECT printf('%08d', i * 37 % 100000000), "
            "'Outras máquinas e aparelhos para tratamento de matérias por operações que impliquem mudança de "
            "temperatura nº ' || i, printf('%02d', i % 20), (i % 35) * 0.5, CASE WHEN i % 3 = 0 THEN NULL "
            "ELSE (i % 15) * 1.25 END FROM n";
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
            throw std::runtime_error(std::string("fill: ") + (error ? error : "?"));
        sqlite3_close(db);
    }
};

// One export, as the window runs it, with a scripted operator that answers the closing window with OK.
void exportOnce(TableExportFormat format) {
    auto platform = Platform::createNative();
    ScriptedOperator op;
    Settings settings(*platform);
    Logs logs(*platform, op);
    TDM dm;
    AppContext ctx{*platform, op, settings, logs, dm};
    TableExportProgress progress;
    op.queueButton(0);
    const TableExportResult result = TableExport(ctx, progress).run({"CLASSIFICAÇÃO FISCAL (NCM)"}, format);
    if (result.status != TableExportResult::Status::Saved)
        throw std::runtime_error("the export failed: " + result.failure);
}

template <typename F> double bestSeconds(F&& work) {
    double best = 1e9;
    for (int i = 0; i < Runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

// Peak memory of one export of rows rows, in a fresh process (this program started again).
long peakKbInFreshProcess(long rows, const char* format) {
    return bench::numberFromFreshProcess(std::to_string(rows) + " " + format);
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string(argv[1]) == "--memory") {
            World world(std::atol(argv[2]));
            exportOnce(std::string(argv[3]) == "xml" ? TableExportFormat::Xml : TableExportFormat::Csv);
            std::printf("%ld\n", bench::statusKb("VmHWM:"));
            return 0;
        }
        const long rows = argc > 1 ? std::atol(argv[1]) : 200000;
        World world(rows);
        const std::string shellOut = (world.root / "sqlite3.csv").string();
        const std::string shell =
            "sqlite3 -csv -separator ';' '" + world.tabsisco() + "' 'SELECT * FROM TAB_NCM' > '" + shellOut + "'";
        const double plain = bestSeconds([&] {
            if (std::system(shell.c_str()) != 0)
                throw std::runtime_error("the sqlite3 shell failed (package sqlite3)");
        });
        const double csv = bestSeconds([] { exportOnce(TableExportFormat::Csv); });
        const double xml = bestSeconds([] { exportOnce(TableExportFormat::Xml); });
        const auto size = [&](const char* name) { return fs::file_size(world.root / "home" / "XML" / name); };
        std::printf("TAB_NCM, %ld rows (best of %d runs)\n", rows, Runs);
        std::printf("  sqlite3 -csv -separator ';': %8.1f ms  %10ju bytes\n", plain * 1000,
                    static_cast<uintmax_t>(fs::file_size(shellOut)));
        std::printf("  export CSV:                   %8.1f ms  %10ju bytes  ratio %.2f (target <= 2)\n", csv * 1000,
                    static_cast<uintmax_t>(size("TABS.CSV")), csv / plain);
        std::printf("  export XML:                   %8.1f ms  %10ju bytes  ratio %.2f (target <= 3)\n", xml * 1000,
                    static_cast<uintmax_t>(size("TABS.XML")), xml / plain);

        for (const char* format : {"csv", "xml"}) {
            const long small = peakKbInFreshProcess(20000, format);
            const long large = peakKbInFreshProcess(200000, format);
            if (small <= 0 || large <= 0) {
                std::printf("  peak memory (%s): not measurable here\n", format);
                continue;
            }
            std::printf("  peak memory (%s): %ld KB at 20,000 rows, %ld KB at 200,000 rows (x%.2f for 10x the "
                        "rows; flat is about 1)\n",
                        format, small, large, static_cast<double>(large) / static_cast<double>(small));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "table_export_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
