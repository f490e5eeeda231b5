// init-norvik, norvik check and the NORVIK transfer run as the command line runs them: the NORVIK
// transfer end to end, without a window; and the merge program the transfer starts.
#include "TestEnv.h"
#include "cli/CliOutputs.h"
#include "cli/CliRunner.h"
#include "data/ClipperLocks.h"
#include "data/DbfTable.h"
#include "data/DbfTestFiles.h"
#include "data/NorvikFolder.h"
#include "data/NorvikSchema.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::size_t liveRecords(const std::string& dbf) {
    DbfTable t;
    t.open(dbf, {}, false);
    std::size_t n = 0;
    for (bool more = t.first(); more; more = t.next())
        ++n;
    return n;
}

} // namespace

TEST(CliNorvik, InitTransferTwiceAndCheckAFolder) {
    Cli cli;
    const std::string folder = cli.env.path("NORVIK");
    ASSERT_EQ(cli.run({"init-norvik", folder, "--sample"}), 0) << cli.err;
    EXPECT_EQ(cli.run({"init-norvik", folder}), 1) << "an existing folder is kept unless --force";
    EXPECT_NE(cli.err.find("--force"), std::string::npos);
    TestEnv::writeFile(cli.env.windir() + "/VORDA.INI", "[NORVIK]\nCAMINHO=" + folder + "\n");
    ASSERT_EQ(cli.run({"settings", "set", "Dados", "ArqTransform", TestEnv::shareFolder() + "/xtr"}), 0) << cli.err;
    std::filesystem::copy_file(std::string(PELOMIRA_BINARY_DIR) + "/bin/AUXQRPX.EXE", cli.env.home() + "AUXQRPX.EXE");

    const std::string sample = TestEnv::shareFolder() + "/samples/DI_VARIAS_ADICOES.xml";
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(cli.run({"transfer", "--target", "norvik", "--file", sample, "--yes"}), 0) << cli.out << cli.err;
        EXPECT_NE(cli.out.find("recebida(s) com êxito no NORVIK"), std::string::npos) << cli.out;
    }
    EXPECT_NE(cli.out.find("já existente no NORVIK"), std::string::npos) << "the second run overwrote";
    for (int i = 0; i < 100 && std::filesystem::exists(folder + "/TM001534.DBF"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(liveRecords(folder + "/RIREGI.DBF"), 1u);
    EXPECT_EQ(liveRecords(folder + "/RIADIC.DBF"), 3u);
    EXPECT_EQ(cli.run({"norvik", "check", folder}), 0) << cli.out;
    EXPECT_NE(cli.out.find("Nenhuma falha"), std::string::npos);

    // One table with the indices named, and a fault found.
    EXPECT_EQ(cli.run({"norvik", "check", folder + "/RIREGI.DBF", folder + "/RIREGI.NTX"}), 0) << cli.out;
    std::filesystem::copy_file(folder + "/RICUST.NTX", folder + "/RIREGI.NTX",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(cli.run({"norvik", "check", folder}), 1);
    EXPECT_NE(cli.out.find("RIREGI.NTX"), std::string::npos) << cli.out;
    EXPECT_EQ(cli.run({"norvik", "verify", folder}), 2);
}

// The merge program as the transfer starts it: in the folder, named by the work copy, nobody waiting.
TEST(NorvikMerge, TakesAWorkCopyAfterALongBusyLockAndRefusesOtherNamesAndCheckReportsCopiesLeft) {
    TestEnv env;
    const std::string folder = env.path("NORVIK");
    NorvikFolder::create(folder, true);
    const std::size_t before = liveRecords(folder + "/RIADIC.DBF");
    const std::string program = std::string(PELOMIRA_BINARY_DIR) + "/bin/AUXQRPX.EXE";
    auto merge = [&](const std::string& argument) {
        const int status =
            std::system(("cd '" + folder + "' && '" + program + "' '" + argument + "' 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    const auto& layout = NorvikSchema::additionsWorkFile();
    DbfTable::create(folder + "/TM000099.DBF", layout.fields, DbfCodePage::Page::Cp850);
    {
        DbfTable work;
        work.open(folder + "/TM000099.DBF", {}, true);
        for (const char* adicao : {"001", "002"}) {
            work.append();
            work.setText("REGISTRO", "000000000099");
            work.setText("ADICAO", adicao);
            work.post();
        }
    }

    // A workstation holds the additions' index for four seconds, longer than a window waits.
    {
        const DbfTestFiles::HeldLock held(folder + "/RIADIC.NTX", ClipperLocks::Index, 4);
        ASSERT_TRUE(held.held());
        EXPECT_EQ(merge("tm000099.dbf"), 0) << TestEnv::readFile(folder + "/AUXQRPX.LOG");
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/TM000099.DBF"));
    EXPECT_EQ(liveRecords(folder + "/RIADIC.DBF"), before + 2);
    EXPECT_TRUE(NorvikFolder::check(folder, 1000).empty());
    EXPECT_NE(TestEnv::readFile(folder + "/AUXQRPX.LOG").find("2 adição(ões) incorporada(s)"), std::string::npos);

    // A work copy the merge program never took is reported once it has waited five minutes; one just
    // handed over is not.
    const std::string old = folder + "/TM000101.DBF", fresh = folder + "/tm000102.dbf";
    std::filesystem::copy_file(folder + "/RIADIC.DBF", old);
    std::filesystem::copy_file(folder + "/RIADIC.DBF", fresh);
    std::filesystem::last_write_time(old, std::filesystem::last_write_time(old) - std::chrono::minutes(6));
    const auto faults = NorvikFolder::check(folder, 1000);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].rfind("TM000101.DBF: cópia de trabalho de ", 0), 0u) << faults[0];
    EXPECT_NE(faults[0].find("não incorporada ao RIADIC.DBF (o motivo está em AUXQRPX.LOG)"), std::string::npos);
    std::filesystem::remove(old);
    std::filesystem::remove(fresh);

    // Names that are not a work copy of the folder are refused before anything is opened.
    for (const char* name : {"../RIADIC.DBF", "RIADIC.DBF", "TM/../X.DBF", "TM000099.DBF.tmp"})
        EXPECT_EQ(merge(name), 2) << name;
    // A work copy that is not there: the reason in the log, RIADIC untouched.
    EXPECT_EQ(merge("TM000100.DBF"), 1);
    EXPECT_NE(TestEnv::readFile(folder + "/AUXQRPX.LOG").find("TM000100.DBF: "), std::string::npos);
    EXPECT_EQ(liveRecords(folder + "/RIADIC.DBF"), before + 2);
}
