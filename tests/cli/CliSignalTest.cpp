// pelomira-cli asked to end (SIGTERM, SIGINT) in the middle of a long command.
#include "../data/IntegraWorld.h"
#include "base/ConsoleOperator.h"
#include "base/ForwardingOperator.h"
#include "import/DiTransferWorld.h"
#include "import/ProcessImport.h"
#include "platform/TerminationSignals.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <thread>

namespace {

const std::string Cli = PELOMIRA_BINARY_DIR "/bin/pelomira-cli";

// The command line's operator, asked to end (SIGTERM to the process) when the transfer reaches a step.
class SignalAtStep : public ForwardingOperator {
public:
    SignalAtStep(Operator& inner, std::string step) : ForwardingOperator(inner), m_step(std::move(step)) {}
    void progressStep(int current, int total, const std::string& text, bool advanceGauge) override {
        if (text.find(m_step) != std::string::npos && !TerminationSignals::received()) {
            ::kill(::getpid(), SIGTERM);
            for (int i = 0; i < 500 && !TerminationSignals::received(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ForwardingOperator::progressStep(current, total, text, advanceGauge);
    }

private:
    std::string m_step;
};

} // namespace

TEST(CliSignals, ATransferAskedToEndLeavesTheEarlierDeclarationWhole) {
    DiTransferWorld w;
    const std::string sample = w.sample("DI_VARIAS_ADICOES.xml");
    w.transfer(sample);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // pelomira-cli's own set-up, then the same declaration again, stopped while its taxes are written.
        TerminationSignals::install();
        std::ostringstream out, err;
        ConsoleOperator::Answers answers;
        answers.yes = true;
        answers.quiet = true;
        ConsoleOperator console(*w.platform, answers, out, err);
        SignalAtStep trap(console, "Transferindo a tabela TRIBUTO");
        AppContext ctx{*w.platform, trap, w.settings, w.logs, w.dm};
        resetProcessRecordSets(w.dm);
        const TransferOutcome outcome = importProcessToOrientador(ctx, sample, w.transfers);
        const bool told = err.str().find("Interrompido (SIGTERM)") != std::string::npos;
        ::_exit(console.interruptedBy() == SIGTERM && outcome.status == TransferStatus::Failed && told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the transfer did not stop with the interruption reported";
    expectSampleDeclaration(w, microNumber(1));
}

TEST(CliSignals, ALongImportStopsBetweenRecordsWithAClearMessageAndWholeRows) {
    IntegraWorld w;
    w.settings.write(Settings::Dados, Settings::KeyTabelasIntegra, w.location);
    w.settings.write(Settings::Dados, Settings::KeyArqTransform, TestEnv::shareFolder() + "/xtr");
    constexpr int records = 5000;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UNIDADES>\n";
    for (int i = 1; i <= records; ++i)
        xml += "  <UNIDADE><K_COD_UNIDAD>" + std::to_string(i) + "</K_COD_UNIDAD><DESC_UNIDAD>UNIDADE " +
               std::to_string(i) + "</DESC_UNIDAD></UNIDADE>\n";
    TestEnv::writeFile(w.env.path("GRANDE.xml"), xml + "</UNIDADES>\n");

    for (const int signal : {SIGTERM, SIGINT}) {
        w.sql("DELETE FROM UNIDADE");
        const std::string out = w.env.path("saida.txt");
        ChildProcess cli = startProcess({Cli, "registry", "import", "UNIDADE", w.env.path("GRANDE.xml")}, false, out);
        // Asked to end once it is well under way (the file is shared: we watch it grow).
        for (int i = 0; i < 600 && std::stoi(w.column("SELECT COUNT(*) FROM UNIDADE").at(0)) < 20; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ::kill(cli.pid, signal);
        EXPECT_EQ(cli.wait(), 128 + signal) << TestEnv::readFile(out);
        const std::string name = signal == SIGTERM ? "SIGTERM" : "SIGINT";
        const std::string output = TestEnv::readFile(out);
        EXPECT_NE(output.find("ERRO: Interrompido (" + name + "): o que foi gravado antes está completo"),
                  std::string::npos)
            << output;
        EXPECT_NE(output.find("pelomira-cli: registry interrompido por " + name + "."), std::string::npos) << output;

        // The records before the stop are there, each whole; none after it.
        const std::vector<std::string> rows = w.column("SELECT ID_UNIDADE || '=' || DESCRICAO FROM UNIDADE ORDER BY "
                                                       "CAST(ID_UNIDADE AS INTEGER)");
        EXPECT_GE(rows.size(), 20u);
        EXPECT_LT(rows.size(), static_cast<size_t>(records));
        for (size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(rows[i], std::to_string(i + 1) + "=UNIDADE " + std::to_string(i + 1));
    }
}
