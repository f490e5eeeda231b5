// Two workstations transfer different DIs into one NORVIK folder at the same moment while a third
// checks the folder, round after round: every process arrives once, whole, and the indices agree.
#include "data/DbfTestFiles.h"
#include "import/DiTransferWorld.h"
#include "import/NorvikWorld.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

TEST(NorvikConcurrency, TwoTransfersAndACheckAtOnceLoseAndDoubleNothing) {
    NorvikWorld w;
    const int rounds = 50;
    const std::string cli = std::string(PELOMIRA_BINARY_DIR) + "/bin/pelomira-cli";
    // Each workstation has its own program folder (work file, logs), the settings are shared.
    for (const char* ws : {"ws1", "ws2"}) {
        fs::create_directories(w.env.path(ws));
        fs::copy_file(w.env.home() + "AUXQRPX.EXE", w.env.path(std::string(ws) + "/AUXQRPX.EXE"));
    }
    SampleDocument doc("DI_VARIAS_ADICOES.xml");
    const std::size_t itemsPerDi = doc.doc.select_nodes("/PROCESSOS/PROCESSO/ITEM").size();
    auto station = [&](const std::string& ws, const std::string& id) {
        doc.set("/PROCESSOS/PROCESSO/ID_PROCESSO", id);
        const std::string file = w.env.path(ws + "/" + id + ".xml");
        TestEnv::writeFile(file, doc.text());
        return "(PELOMIRA_HOME=" + w.env.path(ws) + "/ " + cli + " transfer --target norvik --file " + file +
               " --yes >" + w.env.path(ws + "/out.txt") + " 2>&1; echo " + ws + "=$?)";
    };
    const std::string checker = "(for i in 1 2 3 4 5; do " + cli + " norvik check " + w.folder + " >" +
                                w.env.path("check.txt") + " 2>&1 || { echo check=1; cat " + w.env.path("check.txt") +
                                "; }; done)";

    std::set<std::string> expected;
    for (int round = 0; round < rounds; ++round) {
        const std::string a = "A" + std::to_string(round), b = "B" + std::to_string(round);
        // Both stations bring the same new importer and the rates of a new date: each round they race to
        // make them.
        std::string cnpj = std::to_string(round);
        cnpj.insert(0, 14 - cnpj.size(), '9');
        doc.set("/PROCESSOS/PROCESSO/IMPORTADOR_CNPJ_CPF", cnpj);
        char date[16];
        std::snprintf(date, sizeof date, "2025-%02d-%02d", 1 + round / 28, 1 + round % 28);
        doc.set("/PROCESSOS/PROCESSO/DATA_BASE_CALCULO", date);
        expected.insert(a);
        expected.insert(b);
        const std::string command = "export PELOMIRA_WINDIR=" + w.env.windir() + "; " + station("ws1", a) + " & " +
                                    station("ws2", b) + " & " + checker + " & wait";
        const auto run = DbfTestFiles::run("bash -c '" + command + "'");
        ASSERT_NE(run.output.find("ws1=0"), std::string::npos)
            << "round " << round << ": " << run.output << TestEnv::readFile(w.env.path("ws1/out.txt"));
        ASSERT_NE(run.output.find("ws2=0"), std::string::npos)
            << "round " << round << ": " << run.output << TestEnv::readFile(w.env.path("ws2/out.txt"));
        ASSERT_EQ(run.output.find("check=1"), std::string::npos) << "round " << round << ": " << run.output;
    }
    w.waitForMerge();
    // A work copy left behind is a DI that never reached RIADIC: the merge program's log says why.
    for (const auto& e : fs::directory_iterator(w.folder))
        EXPECT_NE(e.path().filename().string().rfind("TM", 0), 0u) << e.path() << " left behind\n"
                                                                   << TestEnv::readFile(w.folder + "/AUXQRPX.LOG");

    std::multiset<std::string> heads;
    for (const auto& r : w.rows("RIREGI"))
        heads.insert(r.at("REGISTRO"));
    EXPECT_EQ(heads.size(), expected.size());
    EXPECT_EQ(std::set<std::string>(heads.begin(), heads.end()), expected);
    EXPECT_EQ(w.rows("RIITEM").size(), expected.size() * itemsPerDi);
    EXPECT_EQ(w.rows("RIADIC").size(), expected.size() * 3);
    // The importer, rates, manufacturers and units the two stations needed were made once.
    EXPECT_EQ(w.rows("RIIMPO").size(), 2u + rounds);
    EXPECT_EQ(w.rows("RIFABR").size(), 4u);
    EXPECT_EQ(w.rows("RITAXA").size(), 6u + 3u * rounds);
    const auto faults = w.check();
    EXPECT_TRUE(faults.empty()) << faults.front();
}
