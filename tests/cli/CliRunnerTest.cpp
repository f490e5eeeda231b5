// The command line as a function: options checked against what each command declares, usage errors
// named, exit codes as documented.
#include "cli/CliRunner.h"
#include "TestEnv.h"
#include "cli/CliCommands.h"
#include "cli/CliOutputs.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const CliCommand& commandNamed(const std::string& name) {
    for (const CliCommand& c : allCliCommands())
        if (c.name == name)
            return c;
    throw std::runtime_error("no command " + name);
}

} // namespace

TEST(CliRunner, OptionsAreCheckedAgainstWhatTheCommandDeclares) {
    Cli cli;
    EXPECT_EQ(cli.run({"transfer", "--target", "siscomex", "--file", "x.xml", "--button", "abc"}), 2);
    EXPECT_NE(cli.err.find("--button espera um número inteiro, não \"abc\""), std::string::npos) << cli.err;
    EXPECT_NE(cli.err.find("uso: pelomira-cli transfer --target"), std::string::npos);

    EXPECT_EQ(cli.run({"transfer", "--target", "siscomex", "--file", "x.xml", "--button", "7"}), 2);
    EXPECT_NE(cli.err.find("botão de 1 a 4"), std::string::npos) << cli.err;

    EXPECT_EQ(cli.run({"load", "x.xml", "--yes"}), 2) << "load asks nothing, so --yes is not one of its options";
    EXPECT_NE(cli.err.find("opção desconhecida para load: --yes"), std::string::npos) << cli.err;

    EXPECT_EQ(cli.run({"fetch", "--kind"}), 2);
    EXPECT_NE(cli.err.find("--kind precisa de um valor"), std::string::npos) << cli.err;

    EXPECT_EQ(cli.run({"init-orientador", "--force=sim", "x"}), 2);
    EXPECT_NE(cli.err.find("--force não recebe valor"), std::string::npos) << cli.err;

    EXPECT_EQ(cli.run({"nao-existe"}), 2);
    EXPECT_NE(cli.err.find("comando desconhecido: nao-existe"), std::string::npos);
    EXPECT_EQ(cli.run({}), 2);
}

TEST(CliRunner, WordsAfterTheSeparatorAreNeverOptions) {
    const CliCommand& mapping = commandNamed("mapping");
    const CliArgs args = parseCliArgs(mapping, {"set", "--", "SAMSUNG", "UNIDADE", "--PC", "--UN"});
    EXPECT_EQ(args.positional, (std::vector<std::string>{"mapping", "set", "SAMSUNG", "UNIDADE", "--PC", "--UN"}));
    EXPECT_TRUE(args.options.empty());

    // Without the separator a value that looks like an option is refused, not taken as a flag.
    EXPECT_THROW(parseCliArgs(mapping, {"set", "SAMSUNG", "UNIDADE", "--PC", "UN"}), CliUsageError);

    // A valued option takes the next word even when it starts with "--"; "--x=" gives an empty value.
    const CliArgs fetch = parseCliArgs(commandNamed("fetch"), {"--ref", "--1534", "--year=", "--kind=DI"});
    EXPECT_EQ(fetch.get("--ref"), "--1534");
    EXPECT_TRUE(fetch.has("--year"));
    EXPECT_EQ(fetch.get("--year"), "");
    EXPECT_EQ(fetch.get("--kind"), "DI");
}

TEST(CliRunner, HelpListsEveryCommandAndACommandsExitCodes) {
    Cli cli;
    EXPECT_EQ(cli.run({"help"}), 0);
    for (const CliCommand& c : allCliCommands())
        EXPECT_NE(cli.out.find("  " + c.name), std::string::npos) << c.name;

    EXPECT_EQ(cli.run({"transfer", "--help"}), 0);
    EXPECT_NE(cli.out.find("3: não confirmado, 4: transferido com campo(s) não gravado(s)"), std::string::npos)
        << cli.out;
    EXPECT_NE(cli.out.find("--button N"), std::string::npos);
}

TEST(CliRunner, AFailureInsideACommandIsItsMessageAndExitOne) {
    Cli cli;
    const std::string folder = cli.env.path("orientador");
    EXPECT_EQ(cli.run({"init-orientador", folder}), 0) << cli.err;
    EXPECT_EQ(cli.run({"init-orientador", folder}), 1);
    EXPECT_NE(cli.err.find("já contém arquivos do Orientador"), std::string::npos) << cli.err;
}
