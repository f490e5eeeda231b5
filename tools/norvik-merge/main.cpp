// The NORVIK merge program: takes the additions of one DI from a work copy "TM??????.DBF" of the NORVIK
// folder (the current folder) into the folder's RIADIC.DBF and its index, in one index batch under the
// workstations' locks. The process's earlier additions are replaced. Started by the DI transfer,
// which does not wait: what it did is written to AUXQRPX.LOG in the folder.
#include "base/AppError.h"
#include "base/Logs.h"
#include "data/DbfTable.h"
#include "data/NorvikFolder.h"
#include "platform/TextCase.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr int MergeLockTimeoutMs = 60000;

std::string inFolder(const std::string& name) {
    return NorvikFolder::fileIn(".", name);
}

void log(const std::string& line) {
    std::ofstream("AUXQRPX.LOG", std::ios::app)
        << Logs::dateTimeText(std::chrono::system_clock::now()) << ";" << line << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !NorvikFolder::isWorkCopyName(argv[1])) {
        const std::string usage =
            std::string("Uso: AUXQRPX.EXE TMxxxxxx.DBF (recebido: ") + (argc > 1 ? argv[1] : "") + ")";
        std::cerr << usage << "\n";
        log(usage);
        return 2;
    }
    const std::string copy = inFolder(upperAscii(argv[1]));
    try {
        DbfTable work;
        work.open(copy, {}, false);
        // Nobody waits on this program, so it waits out the workstations' locks far longer than a
        // window would: giving up leaves the DI's additions out of NORVIK.
        DbfTable riadic(MergeLockTimeoutMs);
        riadic.open(inFolder("RIADIC.DBF"), {inFolder("RIADIC.NTX")}, true);
        std::set<std::string> processes;
        for (bool more = work.first(); more; more = work.next())
            processes.insert(work.text("REGISTRO"));
        int added = 0;
        riadic.beginBatch();
        try {
            for (const std::string& registro : processes)
                while (riadic.locate({"REGISTRO"}, {registro}, true))
                    riadic.deleteRecord();
            for (bool more = work.first(); more; more = work.next()) {
                riadic.append();
                for (const DbfField& f : work.fields())
                    if (riadic.findField(f.name))
                        riadic.setText(f.name, work.text(f.name));
                riadic.post();
                ++added;
            }
        } catch (...) {
            riadic.endBatch();
            throw;
        }
        riadic.endBatch();
        work.close();
        fs::remove(copy);
        log(std::string(argv[1]) + ": " + std::to_string(added) + " adição(ões) incorporada(s) ao RIADIC.DBF");
        return 0;
    } catch (const std::exception& e) {
        log(std::string(argv[1]) + ": " + e.what());
        return 1;
    }
}
