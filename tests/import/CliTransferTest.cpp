// pelomira-cli transfer end to end: merlin-sim (the real program) serves the sample process, the
// command line asks for it over HTTP and writes the declaration into a SQLite Orientador folder.
#include "import/DiTransferWorld.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

const std::string Cli = PELOMIRA_BINARY_DIR "/bin/pelomira-cli";
const std::string Sim = PELOMIRA_BINARY_DIR "/bin/merlin-sim";

// merlin-sim on a free port serving the documents of one folder; stopped when the object goes.
class SimProcess {
public:
    SimProcess(const TestEnv& env, const std::string& docs) {
        const std::string portFile = env.path("sim.port"), output = env.path("sim.out");
        m_pid = fork();
        if (m_pid == 0) {
            const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(out, 2);
            execl(Sim.c_str(), Sim.c_str(), "--port", "0", "--port-file", portFile.c_str(), "--docs", docs.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 200 && !TestEnv::exists(portFile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        if (TestEnv::exists(portFile))
            m_port = std::stoi(TestEnv::readFile(portFile));
    }
    ~SimProcess() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    int port() const { return m_port; }

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

// A world whose settings point the web service at merlin-sim, which serves the sample DI as reference
// IMP-0412 of 2026.
struct CliWorld : DiTransferWorld {
    std::string docs = env.path("docs");
    std::unique_ptr<SimProcess> sim;

    CliWorld() {
        TestEnv::writeFile(docs + "/DI_IMP-0412_2026.xml", sample("DI_VARIAS_ADICOES.xml"));
        sim = std::make_unique<SimProcess>(env, docs);
        settings.write(Settings::Dados, Settings::KeyWebService,
                       "http://127.0.0.1:" + std::to_string(sim->port()) + "/invoke/amDGFLatamMerlin.services");
    }

    // Runs pelomira-cli with args (stdin from /dev/null); its exit code, its output in out.
    int cli(const std::string& args, std::string& out) const {
        const std::string outFile = env.path("cli.out");
        const int status = std::system((Cli + " " + args + " < /dev/null > " + outFile + " 2>&1").c_str());
        out = TestEnv::readFile(outFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

bool built() {
    return TestEnv::exists(Cli) && TestEnv::exists(Sim);
}

} // namespace

TEST(CliTransfer, FetchesTheProcessFromMerlinAndWritesEveryTable) {
    if (!built())
        GTEST_SKIP() << "pelomira-cli or merlin-sim not built";
    CliWorld w;
    ASSERT_GT(w.sim->port(), 0) << TestEnv::readFile(w.env.path("sim.out"));
    std::string out;
    ASSERT_EQ(w.cli("transfer --target siscomex --ref IMP-0412 --year 2026 --yes --quiet", out), 0) << out;
    EXPECT_NE(out.find("[Pelomira] DI(s) 2026001534 recebida(s) com êxito ao Orientador - SISCOMEX!"),
              std::string::npos)
        << out;
    EXPECT_NE(TestEnv::readFile(w.env.home() + "TEMP.XML").find("<ID_PROCESSO>2026001534</ID_PROCESSO>"),
              std::string::npos);
    expectSampleDeclaration(w, microNumber(1));
    EXPECT_NE(w.activityLog().find("Finalizando Importação de Processos para o SISCOMEX (DI: 2026001534)"),
              std::string::npos);
}

TEST(CliTransfer, ExitCodeTellsHowTheTransferEnded) {
    if (!built())
        GTEST_SKIP() << "pelomira-cli or merlin-sim not built";
    CliWorld w;
    std::string out;

    // Unattended, the confirmation is refused and nothing is written.
    EXPECT_EQ(w.cli("transfer --target siscomex --ref IMP-0412 --year 2026", out), 3) << out;
    EXPECT_NE(out.find("Confirma a transferência para o Orientador - SISCOMEX?"), std::string::npos) << out;
    EXPECT_TRUE(w.rows("DECLARAÇÃO_IMPORTAÇÃO").empty());

    // A reference Merlin does not know.
    EXPECT_EQ(w.cli("transfer --target siscomex --ref NAO-EXISTE --year 2026 --yes", out), 1) << out;
    EXPECT_NE(out.find("Falha na consulta ao WebService"), std::string::npos) << out;

    // The transfer goes through but the Orientador's Windows program cannot start here.
    EXPECT_EQ(w.cli("transfer --target siscomex --ref IMP-0412 --year 2026 --yes --button 1 --quiet", out), 1) << out;
    EXPECT_NE(out.find("recebida(s) com êxito"), std::string::npos) << out;
    EXPECT_NE(out.find("Não foi possível abrir o Orientador - SISCOMEX\nVerifique se o mesmo está instalado e se a "
                       "pasta de instalação\nestá informada corretamente nas configurações do PELOMIRA"),
              std::string::npos)
        << out;
    EXPECT_EQ(w.rows("DECLARAÇÃO_IMPORTAÇÃO").size(), 1u);

    // From a file, with a field that cannot be written.
    SampleDocument d("DI_VARIAS_ADICOES.xml");
    d.set("/PROCESSOS/PROCESSO/ADICAO[ID_ADICAO='002']/NR_PARCELAS", "tres");
    const std::string file = w.env.path("processo.xml");
    TestEnv::writeFile(file, d.text());
    EXPECT_EQ(w.cli("transfer --target siscomex --file " + file + " --yes --quiet", out), 4) << out;
    EXPECT_NE(out.find("Campo: QT_PARC_FINANC_360"), std::string::npos) << out;
    ASSERT_EQ(w.rows("OP_ADIÇÃO_DE_IMPORTAÇÃO").size(), 3u);
    EXPECT_EQ(w.rows("OP_ADIÇÃO_DE_IMPORTAÇÃO")[1].at("QT_PARC_FINANC_360"), "");
    EXPECT_EQ(w.rows("OP_ADIÇÃO_DE_IMPORTAÇÃO")[1].at("CD_PERIOD_PGTO_360"), "1");

    // Wrong command lines change nothing.
    EXPECT_EQ(w.cli("transfer --ref IMP-0412 --year 2026 --yes", out), 2) << out;
    EXPECT_EQ(w.cli("transfer --target siscomex --ref IMP-0412 --year 2026 --file " + file + " --yes", out), 2) << out;
    EXPECT_EQ(w.cli("transfer --target siscomex --yes", out), 2) << out;
    EXPECT_EQ(w.cli("transfer --target siscomex --ref IMP-0412 --year 2026 --kind XX --yes", out), 2) << out;
    EXPECT_EQ(w.rows("DECLARAÇÃO_IMPORTAÇÃO").size(), 1u);
    EXPECT_EQ(w.rows("OP_ADIÇÃO_DE_IMPORTAÇÃO")[1].at("QT_PARC_FINANC_360"), "");
}

TEST(CliTransfer, LicencesAndSimplifiedDeclarationsFromFilesAndFromMerlin) {
    if (!built())
        GTEST_SKIP() << "pelomira-cli or merlin-sim not built";
    CliWorld w;
    std::string out;
    const std::string samples = TestEnv::shareFolder() + "/samples/";
    const std::map<std::string, std::map<std::string, std::size_t>> expected = {
        {"LI_DUAS_LICENCAS.xml",
         {{"OPERAÇÃO_COM_TRATAMENTO", 2},
          {"DESTAQUE_NCM", 3},
          {"PROCESSO_ANUENTE", 3},
          {"DETALHE_MERC_COM_TRATAMENTO", 3}}},
        {"DSI.xml",
         {{"DSI_DADOS_GERAIS", 1},
          {"DSI_BENS", 2},
          {"DSI_PGTO_TRIBUTOS", 2},
          {"DSI_TRIBUTOS_BEM", 2},
          {"DSI_VOLUMES", 2}}},
        {"LSI.xml", {{"OPERAÇÃO_COM_TRATAMENTO", 1}, {"PROCESSO_ANUENTE", 2}}},
    };
    const std::map<std::string, std::string> files = {
        {"LI_DUAS_LICENCAS.xml", "REGIMP.MDB"}, {"DSI.xml", "DSI.MDB"}, {"LSI.xml", "LIDSI.MDB"}};
    // Twice each: the second run replaces the first, it never doubles a row.
    for (int run = 0; run < 2; ++run) {
        for (const auto& [sample, tables] : expected) {
            EXPECT_EQ(w.cli("transfer --target siscomex --file " + samples + sample + " --yes --quiet", out), 0)
                << sample << "\n"
                << out;
            for (const auto& [table, count] : tables)
                EXPECT_EQ(w.rows(files.at(sample), table).size(), count) << sample << " " << table;
        }
    }

    // From Merlin: an LI asked as an LI, a DSI served under the DI operation.
    TestEnv::writeFile(w.docs + "/LI_LIC-01_2026.xml", w.sample("LI_LICENCA_IMPEDIDA.xml"));
    TestEnv::writeFile(w.docs + "/DI_DSI-02_2026.xml", w.sample("DSI_DUAS_DECLARACOES.xml"));
    EXPECT_EQ(w.cli("transfer --target siscomex --kind LI --ref LIC-01 --year 2026 --yes --quiet", out), 0) << out;
    EXPECT_NE(out.find("LI(s) NÃO RECEBIDAS por impedimento: 26/0456790-3"), std::string::npos) << out;
    EXPECT_EQ(w.cli("transfer --target siscomex --kind DSI --ref DSI-02 --year 2026 --yes --quiet", out), 0) << out;
    EXPECT_EQ(w.rows("DSI.MDB", "DSI_DADOS_GERAIS").size(), 2u);

    // A process without licence data fails.
    EXPECT_EQ(w.cli("transfer --target siscomex --file " + samples + "LI_SEM_DADOS_LI.xml --yes --quiet", out), 1)
        << out;
    EXPECT_NE(out.find("Este processo não contém dados de LI!"), std::string::npos) << out;
}
