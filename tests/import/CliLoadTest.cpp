#include "TestEnv.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace {

// Runs pelomira-cli with args; returns its exit code and leaves its output in out.
int runCli(const TestEnv& env, const std::string& args, std::string& out) {
    const std::string cli = std::string(PELOMIRA_BINARY_DIR) + "/bin/pelomira-cli";
    const std::string outFile = env.path("saida.txt");
    const int status = std::system((cli + " " + args + " > " + outFile + " 2>&1").c_str());
    out = TestEnv::readFile(outFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(CliLoadTest, PrintsTheTreeAndSignalsImpedimentAndMissingIdentifier) {
    if (!TestEnv::exists(std::string(PELOMIRA_BINARY_DIR) + "/bin/pelomira-cli"))
        GTEST_SKIP() << "pelomira-cli not built";
    TestEnv env;
    const std::string samples = TestEnv::shareFolder() + "/samples/";
    const std::string xtr = " --xtr=" + TestEnv::shareFolder() + "/xtr";
    std::string out;

    EXPECT_EQ(runCli(env, "load " + samples + "DI_VARIAS_ADICOES.xml" + xtr, out), 0) << out;
    EXPECT_NE(out.find("(SELECT * FROM DI_VARIAS_ADICOES): 1 registro(s), tipo do primeiro processo: DI"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  ADICAO: 3 registro(s)\n"), std::string::npos);
    EXPECT_EQ(out.find(" TRIBUTO: "), std::string::npos) << "the lists of the additions come through ADICAO.xtr";
    EXPECT_NE(out.find("\n    registro 2\n      ID_ADICAO = \"002\""), std::string::npos);
    EXPECT_NE(out.find("  NR_DI = \"\""), std::string::npos);

    EXPECT_EQ(runCli(env, "load " + samples + "LSI.xml" + xtr, out), 0) << out;
    EXPECT_NE(out.find("tipo do primeiro processo: LSI"), std::string::npos);

    EXPECT_EQ(runCli(env, "load " + samples + "PROCESSO_IMPEDIDO.xml" + xtr, out), 3) << out;
    EXPECT_NE(out.find("IMPEDIMENTO NO PROCESSO 2026001588"), std::string::npos) << out;
    EXPECT_EQ(runCli(env, "load " + samples + "SEM_ID_PROCESSO.xml" + xtr, out), 4) << out;
    EXPECT_NE(out.find("XML NÃO VALIDADO!!!"), std::string::npos) << out;
    EXPECT_EQ(runCli(env, "load " + env.path("nao_ha.xml") + xtr, out), 1) << out;
    EXPECT_NE(out.find("Arquivo XML não encontrado"), std::string::npos) << out;
}
