// init-norvik, norvik check and the NORVIK transfer run as the command line runs them: the done
// criterion of the NORVIK transfer end to end, without a window.
#include "TestEnv.h"
#include "cli/CliRunner.h"
#include "data/DbfTable.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

namespace {

struct Cli {
    TestEnv env;
    std::unique_ptr<Platform> platform = Platform::createNative();
    std::string out, err;

    int run(const std::vector<std::string>& words) {
        std::ostringstream o, e;
        const int code = runCli(words, *platform, o, e);
        out = o.str();
        err = e.str();
        return code;
    }
};

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
