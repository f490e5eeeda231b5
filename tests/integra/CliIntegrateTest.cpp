// pelomira-cli integrate over the sample customer files, against the real merlin-sim.
#include "IntegrationWorld.h"
#include "MerlinSimProcess.h"
#include "cli/CliOutputs.h"
#include "cli/CliRunner.h"

#include <filesystem>
#include <sstream>

namespace {

const std::string Samples = PELOMIRA_SOURCE_DIR "/share/samples/";

/// The codes the sample files carry, as --map gives them.
const std::map<std::string, std::string> SampleMappings = {
    {"samsung", "FABRICANTE:SEC01=F100,FABRICANTE:SEC02=F200,UNIDADE:PC=UN,UNIDADE:KG=KG"},
    {"synthes", "FABRICANTE:SYN-CH=F300,FABRICANTE:SYN-US=F301,EXPORTADOR:SYN-EXP=E300,UNIDADE:UN=UN,UNIDADE:PC=PC"},
    {"honeywell", "FABRICANTE:HW01=F400,FABRICANTE:HW02=F401"},
};

const std::map<std::string, std::string> SampleFiles = {
    {"samsung", Samples + "SAMSUNG_EXEMPLO.txt"},
    {"synthes", Samples + "SYNTHES_EXEMPLO.csv"},
    {"honeywell", Samples + "HONEYWELL_EXEMPLO.txt"},
};

struct CliWorld : IntegrationWorld, CliOutputs {
    using CliOutputs::out; // what the command printed; the world's output folder stays IntegrationWorld::out
    int run(std::vector<std::string> words) {
        words.push_back("--quiet");
        return runOn(*platform, words);
    }
};

} // namespace

TEST(CliIntegrate, EverySampleBecomesItsFileAndMerlinAcceptsIt) {
    CliWorld w;
    MerlinSimProcess sim(w.env);
    ASSERT_TRUE(sim.running());
    w.settings.write(Settings::Dados, Settings::KeyWebService2, sim.webService2());
    for (const auto& [customer, file] : SampleFiles) {
        EXPECT_EQ(w.run({"integrate", customer, file, "--send", "--map", SampleMappings.at(customer)}), 0)
            << customer << "\n"
            << w.out << w.err;
        EXPECT_NE(w.out.find("gerado com êxito!"), std::string::npos) << w.out;
        EXPECT_NE(w.out.find("enviado com êxito!"), std::string::npos) << w.out;
        if (customer == "honeywell") {
            EXPECT_NE(w.out.find("(2 fatura(s), 3 linha(s))"), std::string::npos) << w.out;
        }
    }
    EXPECT_EQ(w.column("SELECT COUNT(*) FROM VINCULO"), std::vector<std::string>{"11"});

    // A rule that refuses: the rejection with its reasons, exit 1; Merlin stopped: the failure text.
    sim.rules("soap=refuse\nsoap.reason=Fatura duplicada|Entidade bloqueada\n");
    EXPECT_EQ(w.run({"integrate", "samsung", SampleFiles.at("samsung"), "--send"}), 1);
    EXPECT_NE(w.err.find("rejeitado pelo WebService.\n\nMotivo: Fatura duplicada\nEntidade bloqueada"),
              std::string::npos)
        << w.err;
    sim.stop();
    EXPECT_EQ(w.run({"integrate", "honeywell", SampleFiles.at("honeywell"), "--send"}), 1);
    EXPECT_NE(w.err.find("Erro ao enviar arquivo HONEYWELL ao WebService\nERRO: Não foi possível conectar"),
              std::string::npos)
        << w.err;
}

TEST(CliIntegrate, MissingMappingsAreAllListedAndBadCommandLinesRefused) {
    CliWorld w;
    EXPECT_EQ(w.run({"integrate", "synthes", SampleFiles.at("synthes")}), 1);
    EXPECT_NE(w.err.find("sem vínculo com um código Merlin (Vínculos - Tabela De / Para):\nFABRICANTE SYN-CH\n"
                         "EXPORTADOR SYN-EXP\nUNIDADE UN\nFABRICANTE SYN-US\nUNIDADE PC"),
              std::string::npos)
        << w.err;
    EXPECT_TRUE(std::filesystem::is_empty(w.IntegrationWorld::out));

    EXPECT_EQ(w.run({"integrate", "philips", SampleFiles.at("synthes")}), 2);
    EXPECT_NE(w.err.find("cliente desconhecido: philips"), std::string::npos);
    EXPECT_EQ(w.run({"integrate", "synthes", SampleFiles.at("synthes"), "--map", "FABRICANTE=F1"}), 2);
    EXPECT_NE(w.err.find("--map espera TABELA:CODIGO=MERLIN, não \"FABRICANTE=F1\""), std::string::npos) << w.err;
    EXPECT_EQ(w.run({"integrate", "synthes"}), 2);

    // A file with only its header: nothing to integrate.
    TestEnv::writeFile(w.env.path("h.csv"), "FATURA;QTDE\r\n");
    EXPECT_EQ(w.run({"integrate", "synthes", w.env.path("h.csv")}), 3);
}
