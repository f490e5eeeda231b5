// pelomira-cli return, run in-process against merlin-sim, an Orientador folder and an Integra database.
#include "retorno/RetornoWorld.h"

#include "cli/CliOutputs.h"
#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct CliReturnWorld : RetornoWorld, CliOutputs {

    CliReturnWorld() {
        settings.write(Settings::Dados, Settings::KeyTabelasIntegra, location);
        orientador.lsi("00007/26", "2600000017", "02/03/2026", "7000000001");
        orientador.li("LI;77", "2600000077", "04/03/2026", "7000000003");
        orientador.di("123456", "2612345678", "05032026", "9876543210", "04032026", "03032026");
    }

    int run(const std::vector<std::string>& words) { return runOn(*platform, words); }
};

const std::string Header =
    "TIPO_PROCESSO;REGISTRO;NR_PROCESSO;DATA_PROCESSO;NR_PROTOCOLO;DATA_PROCESSAMENTO;DATA_TRANSMISSAO;ANO_REGISTRO\n";

} // namespace

TEST(CliReturn, ListSendAllAndAnEmptyListAfterwards) {
    CliReturnWorld w;
    ASSERT_EQ(w.run({"return", "list", "--quiet"}), 0) << w.err;
    EXPECT_EQ(w.out, Header + "LSI;00007/26;2600000017;02/03/2026;7000000001;;;2026\n"
                              "LI;\"LI;77\";2600000077;04/03/2026;7000000003;;;2026\n"
                              "DI;123456;2612345678;05/03/2026;9876543210;04/03/2026;03/03/2026;2026\n");

    ASSERT_EQ(w.run({"return", "send", "--all"}), 0) << w.err;
    EXPECT_NE(
        w.out.find("Os seguintes processos foram recebidos pelo MERLIN: \n\nLSI - 00007/26\nLI - LI;77\nDI - 123456"),
        std::string::npos)
        << w.out;
    EXPECT_EQ(w.gerados().size(), 3u);
    EXPECT_EQ(w.sim.returnTargets().size(), 3u);

    ASSERT_EQ(w.run({"return", "list", "--quiet"}), 0);
    EXPECT_EQ(w.out, Header);
    EXPECT_NE(w.err.find("Não existem processos registrados a serem retornados no momento!"), std::string::npos);
    ASSERT_EQ(w.run({"return", "send", "--all"}), 0);
    EXPECT_NE(w.out.find("Não existem processos registrados a serem retornados no momento!"), std::string::npos);
    EXPECT_EQ(w.sim.returnTargets().size(), 3u);
}

TEST(CliReturn, WithMerlinStoppedEveryProcessIsReportedAndNothingRecorded) {
    CliReturnWorld w;
    w.sim.stop();
    EXPECT_EQ(w.run({"return", "send", "--all"}), 1);
    for (const char* id : {"00007/26", "LI;77", "123456"})
        EXPECT_NE(w.err.find(std::string("[Erro no Retorno ao WebService - Processo ") + id + "]"), std::string::npos)
            << id << "\n"
            << w.err;
    EXPECT_TRUE(w.gerados().empty());
    // Processes were there: the run does not claim there was nothing to return.
    EXPECT_EQ(w.out.find("Não existem processos"), std::string::npos) << w.out;
    ASSERT_EQ(w.run({"return", "list", "--quiet"}), 0);
    EXPECT_EQ(split(w.out, '\n').size(), 5u); // header, three processes, the end of the last line
}

TEST(CliReturn, NamedProcessesOnlyAndNothingWhenOneIsNotWaiting) {
    CliReturnWorld w;
    EXPECT_EQ(w.run({"return", "send", "DI", "123456", "999", "--quiet"}), 3);
    EXPECT_NE(w.err.find("DI 999"), std::string::npos) << w.err;
    EXPECT_TRUE(w.sim.returnTargets().empty());

    w.sim.rule("retorno@123456=refuse");
    EXPECT_EQ(w.run({"return", "send", "di", "123456", "--quiet"}), 1);
    EXPECT_NE(w.out.find("NÃO foram recebidos pelo MERLIN: \n\nDI - 123456"), std::string::npos) << w.out;
    EXPECT_EQ(w.run({"return", "send", "LI", "LI;77", "--quiet"}), 0);
    EXPECT_EQ(w.gerados().size(), 1u);
    EXPECT_EQ(w.sim.returnTargets().size(), 2u);
}

TEST(CliReturn, WrongCommandLines) {
    CliReturnWorld w;
    EXPECT_EQ(w.run({"return"}), 2);
    EXPECT_EQ(w.run({"return", "send"}), 2);
    EXPECT_EQ(w.run({"return", "send", "XI", "1"}), 2);
    EXPECT_NE(w.err.find("Tipo de processo inválido"), std::string::npos) << w.err;
    EXPECT_EQ(w.run({"return", "send", "--all", "DI", "1"}), 2);
    EXPECT_EQ(w.run({"return", "list", "--all"}), 2);
    EXPECT_TRUE(w.sim.returnTargets().empty());
}
