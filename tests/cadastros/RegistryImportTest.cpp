#include "cadastros/RegistryImport.h"
#include "../data/IntegraWorld.h"
#include "cadastros/Registry.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace {

using Result = RegistryImport::Result;

// A world whose ArqTransform folder holds the program's transformation files.
struct ImportWorld : IntegraWorld {
    ImportWorld() { settings.write(Settings::Dados, Settings::KeyArqTransform, TestEnv::shareFolder() + "/xtr"); }

    std::string unitsFile(const std::string& name, const std::vector<std::pair<std::string, std::string>>& rows) {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UNIDADES>\n";
        for (const auto& [code, description] : rows)
            xml += "  <UNIDADE><K_COD_UNIDAD>" + code + "</K_COD_UNIDAD><DESC_UNIDAD>" + description +
                   "</DESC_UNIDAD></UNIDADE>\n";
        xml += "</UNIDADES>\n";
        const std::string path = env.path(name);
        TestEnv::writeFile(path, xml);
        return path;
    }
    std::vector<std::string> units() { return column("SELECT ID_UNIDADE || '=' || DESCRICAO FROM UNIDADE ORDER BY 1"); }
};

std::string countsText(int inserted, int updated) {
    return "Importação do cadastro de Unidade concluída com êxito!\rRegistros incluídos:   " +
           std::to_string(inserted) + "\rRegistros atualizados: " + std::to_string(updated);
}

} // namespace

TEST(RegistryImport, InsertsNewCodesThenUpdatesKnownOnes) {
    ImportWorld w;
    const std::string file = TestEnv::shareFolder() + "/samples/UNIDADES.xml";
    w.op.queueFile(file);
    RegistryImport import(w.ctx, Registry::unidade());
    RegistryImport::Outcome outcome = import.run();
    EXPECT_EQ(outcome.result, Result::Imported);
    EXPECT_EQ(outcome.inserted, 10);
    EXPECT_EQ(outcome.updated, 0);

    const auto dialog = w.op.callsOf("openFile").at(0);
    EXPECT_EQ(dialog.text, "Selecionar arquivo XML - Importação de Tabela MERLIN");
    EXPECT_EQ(w.op.callsOf("progressOpen").at(0).text,
              "Iniciando importação do arquivo UNIDADES para Cadastro de Unidade...");
    EXPECT_EQ(w.op.progressMaximum(), 10);
    const auto steps = w.op.callsOf("progressStep");
    ASSERT_EQ(steps.size(), 10u);
    EXPECT_EQ(steps.front().text, "Recebendo Registro 1 de 10");
    EXPECT_EQ(steps.back().text, "Recebendo Registro 10 de 10");
    EXPECT_FALSE(w.op.progressIsOpen());
    EXPECT_EQ(w.op.messages(), std::vector<std::string>{countsText(10, 0)});
    EXPECT_EQ(w.op.callsOf("message").at(0).icon, MessageIcon::Information);
    EXPECT_EQ(w.column("SELECT DESCRICAO FROM UNIDADE WHERE ID_UNIDADE = '10'"),
              std::vector<std::string>{"QUILOGRAMA LIQUIDO"});
    // The chain and the main record set are left closed; the main set read the file by its base name.
    EXPECT_FALSE(w.dm.cdsUnidade.active());
    EXPECT_FALSE(w.dm.cdsXMLPrincipal.active());
    EXPECT_EQ(w.dm.cdsXMLPrincipal.commandText(), "SELECT * FROM UNIDADES");

    // Every code known now: all of them are updated.
    w.op.clear();
    outcome = import.importFile(file);
    EXPECT_EQ(outcome.inserted, 0);
    EXPECT_EQ(outcome.updated, 10);
    EXPECT_EQ(w.op.messages(), std::vector<std::string>{countsText(0, 10)});
    EXPECT_EQ(w.column("SELECT COUNT(*) FROM UNIDADE"), std::vector<std::string>{"10"});
}

TEST(RegistryImport, RepeatedCodeAndTrailingBlanks) {
    ImportWorld w;
    w.sql("INSERT INTO UNIDADE VALUES ('7', 'SETE')");
    const std::string file = w.unitsFile("repetidos.xml", {{"A", "PRIMEIRA"}, {"7  ", "SETE NOVA"}, {"A", "SEGUNDA"}});
    const RegistryImport::Outcome outcome = RegistryImport(w.ctx, Registry::unidade()).importFile(file);
    EXPECT_EQ(outcome.inserted, 1);
    EXPECT_EQ(outcome.updated, 2);
    EXPECT_EQ(w.op.messages(), std::vector<std::string>{countsText(1, 2)});
    // "7  " found "7" (the database ignores trailing blanks), was updated through "7", and keeps the
    // code as the file spells it.
    EXPECT_EQ(w.units(), (std::vector<std::string>{"7  =SETE NOVA", "A=SEGUNDA"}));
}

TEST(RegistryImport, FileWithoutRecordsWarnsAndChangesNothing) {
    ImportWorld w;
    w.sql("INSERT INTO PAIS VALUES ('105', 'BRASIL')");
    // A units file offered to the country registry gives no country record.
    const std::string file = TestEnv::shareFolder() + "/samples/UNIDADES.xml";
    const RegistryImport::Outcome outcome = RegistryImport(w.ctx, Registry::pais()).importFile(file);
    EXPECT_EQ(outcome.result, Result::Empty);
    EXPECT_EQ(w.op.messages(),
              std::vector<std::string>{"Não existem registros a serem recebidos / atualizados ou "
                                       "o\rarquivo XML selecionado não possui um cadastro de Países."});
    EXPECT_EQ(w.op.callsOf("message").at(0).icon, MessageIcon::Warning);
    EXPECT_TRUE(w.op.callsOf("progressOpen").empty());
    EXPECT_EQ(w.column("SELECT ID_PAIS FROM PAIS"), std::vector<std::string>{"105"});
    EXPECT_FALSE(w.dm.cdsXMLPrincipal.active());

    // A cancelled dialog does nothing at all.
    w.op.clear();
    EXPECT_EQ(RegistryImport(w.ctx, Registry::pais()).run().result, Result::Cancelled);
    EXPECT_TRUE(w.op.messages().empty());
}

TEST(RegistryImport, BaseNameOfTheChosenFileNamesTheQuery) {
    ImportWorld w;
    TestEnv::makeFolder(w.env.path("exportado"));
    const std::string file = w.env.path("exportado/paises.xml");
    TestEnv::writeFile(file, TestEnv::readFile(TestEnv::shareFolder() + "/samples/PAISES.xml"));
    const RegistryImport::Outcome outcome = RegistryImport(w.ctx, Registry::pais()).importFile(file);
    EXPECT_EQ(outcome.result, Result::Imported);
    EXPECT_EQ(w.dm.cdsXMLPrincipal.commandText(), "SELECT * FROM PAISES");
    EXPECT_EQ(w.op.callsOf("progressOpen").at(0).text,
              "Iniciando importação do arquivo paises para Cadastro de País...");
    // Codes are stored as Merlin delivers them, leading zeros and all.
    EXPECT_EQ(w.column("SELECT DESCRICAO FROM PAIS WHERE ID_PAIS = '023'"), std::vector<std::string>{"ALEMANHA"});

    // Exporters and manufacturers read the same layout through their own transformation files.
    const std::string impexp = TestEnv::shareFolder() + "/samples/EXPORTADORES.xml";
    EXPECT_EQ(RegistryImport(w.ctx, Registry::exportador()).importFile(impexp).result, Result::Imported);
    EXPECT_EQ(RegistryImport(w.ctx, Registry::fabricante()).importFile(impexp).result, Result::Imported);
    EXPECT_EQ(w.column("SELECT COUNT(*) FROM EXPORTADOR"), w.column("SELECT COUNT(*) FROM FABRICANTE"));
    EXPECT_EQ(w.column("SELECT DESCRICAO FROM FABRICANTE WHERE ID_FABRICANTE = '2045'"),
              std::vector<std::string>{"ARMATURENWERK HÖTENSLEBEN GMBH"});
}

TEST(RegistryImport, FailureMidwayKeepsEarlierRecordsAndReports) {
    ImportWorld w;
    // The description column holds 255 characters: the second record cannot be written.
    const std::string file = w.unitsFile("falha.xml", {{"1", "UM"}, {"2", std::string(300, 'X')}, {"3", "TRES"}});
    const RegistryImport::Outcome outcome = RegistryImport(w.ctx, Registry::unidade()).importFile(file);
    EXPECT_EQ(outcome.result, Result::Failed);
    EXPECT_EQ(w.units(), std::vector<std::string>{"1=UM"});
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0].rfind("Erro ao importar cadastro de Unidade do arquivo XML falha\rERRO: ", 0), 0u)
        << w.op.messages()[0];
    EXPECT_EQ(w.op.callsOf("message").at(0).icon, MessageIcon::Error);
    EXPECT_FALSE(w.op.progressIsOpen());
    const auto log = w.errorLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("Procedimento: Importando cadastro de Unidade (XML) - Erro: "), std::string::npos);
}

TEST(RegistryImport, ARecordWithoutCodeIsSkippedAndNamedTheRestImported) {
    ImportWorld w;
    const std::string blank = w.unitsFile("sem_codigo.xml", {{"4", "QUATRO"}, {"  ", "SEM"}, {"5", "CINCO"}});
    const RegistryImport::Outcome outcome = RegistryImport(w.ctx, Registry::unidade()).importFile(blank);
    EXPECT_EQ(outcome.result, Result::Imported);
    EXPECT_EQ(outcome.inserted, 2);
    EXPECT_EQ(outcome.withoutCode, 1);
    EXPECT_EQ(w.units(), (std::vector<std::string>{"4=QUATRO", "5=CINCO"}));
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0],
              countsText(2, 0) + "\rRegistros sem código, não gravados: 1 (veja o arquivo ERRO.CSV)");
    EXPECT_EQ(w.op.callsOf("message").at(0).icon, MessageIcon::Warning);
    const auto log = w.errorLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("O registro 2 do arquivo não tem código (K_COD_UNIDAD) e não foi gravado."),
              std::string::npos);
}

TEST(RegistryImport, ACodeWithALeadingBlankIsFoundAndUpdatedAtEveryImport) {
    ImportWorld w;
    const std::string file = w.unitsFile("branco.xml", {{" 8", "OITO"}, {"9", "NOVE"}});
    EXPECT_EQ(RegistryImport(w.ctx, Registry::unidade()).importFile(file).inserted, 2);
    for (int round = 0; round < 2; ++round) {
        w.op.clear();
        const RegistryImport::Outcome again = RegistryImport(w.ctx, Registry::unidade()).importFile(file);
        EXPECT_EQ(again.result, Result::Imported) << (w.op.messages().empty() ? "" : w.op.messages()[0]);
        EXPECT_EQ(again.updated, 2);
    }
    EXPECT_EQ(w.units(), (std::vector<std::string>{" 8=OITO", "9=NOVE"}));
}

TEST(RegistryImport, CommandLineImportsANamedFile) {
    const std::string cli = std::string(PELOMIRA_BINARY_DIR) + "/bin/pelomira-cli";
    if (!TestEnv::exists(cli))
        GTEST_SKIP() << "pelomira-cli not built";
    std::string location;
    {
        ImportWorld w;
        w.settings.write(Settings::Dados, Settings::KeyTabelasIntegra, w.location);
        location = w.location;
        const std::string out = w.env.path("saida.txt");
        auto run = [&](const std::string& args) {
            const int status = std::system((cli + " " + args + " > " + out + " 2>&1").c_str());
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        };
        // The data module's connection must let go of the embedded file for the other process.
        w.db().disconnect();
        EXPECT_EQ(run("registry import fabricante " + TestEnv::shareFolder() + "/samples/FABRICANTES.xml"), 0)
            << TestEnv::readFile(out);
        EXPECT_NE(TestEnv::readFile(out).find("Importação do cadastro de Fabricante concluída com êxito!"),
                  std::string::npos);
        EXPECT_EQ(run("registry import UNIDADE " + TestEnv::shareFolder() + "/samples/PAISES.xml"), 3);
        EXPECT_EQ(run("registry import VINCULO x.xml"), 1);
        EXPECT_EQ(run("registry import UNIDADE " + w.env.path("nao_ha.xml")), 1);
        EXPECT_NE(TestEnv::readFile(out).find("Erro ao importar cadastro de Unidade do arquivo XML nao_ha"),
                  std::string::npos);
        EXPECT_EQ(w.column("SELECT COUNT(*) FROM UNIDADE"), std::vector<std::string>{"0"});
        EXPECT_NE(w.column("SELECT COUNT(*) FROM FABRICANTE"), std::vector<std::string>{"0"});
    }
}
