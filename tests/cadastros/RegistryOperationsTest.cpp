#include "cadastros/RegistryOperations.h"
#include "../data/IntegraWorld.h"
#include "base/AppError.h"

#include <gtest/gtest.h>

namespace {

void addUnits(IntegraWorld& w, const std::vector<std::pair<std::string, std::string>>& rows) {
    for (const auto& [code, description] : rows)
        w.sql("INSERT INTO UNIDADE VALUES (" + IntegraDatabase::quote(code) + ", " +
              IntegraDatabase::quote(description) + ")");
}

} // namespace

TEST(RegistryOperations, StatementTextsOfEachRegistry) {
    IntegraWorld w;
    RegistryOperations unit(w.ctx, Registry::unidade());
    EXPECT_EQ(unit.selectByCodeSql("K'G"), "SELECT * FROM UNIDADE WHERE ID_UNIDADE = 'K''G'");
    EXPECT_EQ(unit.insertSql(" 7", "Caixa d'água"), "INSERT INTO UNIDADE VALUES (' 7', 'Caixa d''água')");
    EXPECT_EQ(unit.updateSql("7 ", "Caixa"),
              "UPDATE UNIDADE SET ID_UNIDADE = '7 ', DESCRICAO = 'Caixa' WHERE ID_UNIDADE = '7'");
    EXPECT_EQ(unit.deleteSql("7"), "DELETE FROM UNIDADE WHERE ID_UNIDADE = '7'");
    RegistryOperations country(w.ctx, Registry::pais());
    EXPECT_EQ(country.updateSql("105", "BRASIL"),
              "UPDATE PAIS SET ID_PAIS = '105', DESCRICAO = 'BRASIL' WHERE ID_PAIS = '105'");
    EXPECT_EQ(RegistryOperations(w.ctx, Registry::fabricante()).deleteSql("1"),
              "DELETE FROM FABRICANTE WHERE ID_FABRICANTE = '1'");
    EXPECT_EQ(Registry::unidade().notFoundQuestion("9"), "Unidade 9 não encontrada, incluir?");
    EXPECT_EQ(Registry::pais().notFoundQuestion("9"), "País 9 não encontrado, incluir?");
    EXPECT_EQ(Registry::exportador().deleteQuestion("3", "ACME"), "Excluir Exportador 3\rACME?");
    EXPECT_EQ(Registry::byTable("fabricante"), &Registry::fabricante());
    EXPECT_EQ(Registry::byTable("VINCULO"), nullptr);
}

TEST(RegistryOperations, SaveInsertsOrUpdatesAndShowsTheSavedRow) {
    IntegraWorld w;
    RegistryOperations ops(w.ctx, Registry::unidade());
    auto saved = ops.save(RegistryEditState::Insert, "KG", " Quilo d'água ");
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(saved.status, "Registro KG - Quilo d'água gravado com êxito!");
    EXPECT_EQ(ops.rows().text("DESCRICAO"), " Quilo d'água "); // stored as typed, shown after the save
    EXPECT_EQ(ops.table().commandText(), "SELECT * FROM UNIDADE WHERE ID_UNIDADE = 'KG'");

    saved = ops.save(RegistryEditState::Edit, "KG", "Quilograma");
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(w.column("SELECT DESCRICAO FROM UNIDADE"), std::vector<std::string>{"Quilograma"});
    EXPECT_TRUE(w.op.calls().empty());

    EXPECT_FALSE(ops.save(RegistryEditState::Browse, "X", "Y").saved);
    EXPECT_EQ(w.column("SELECT COUNT(*) FROM UNIDADE"), std::vector<std::string>{"1"});
}

TEST(RegistryOperations, EachRegistryStoresCodeThenDescription) {
    IntegraWorld w;
    for (const Registry* r : Registry::all()) {
        RegistryOperations ops(w.ctx, *r);
        ASSERT_TRUE(ops.save(RegistryEditState::Insert, "C'1", "D'" + r->name).saved) << r->table;
        EXPECT_EQ(w.column("SELECT " + r->codeColumn + " || '=' || DESCRICAO FROM " + r->table),
                  std::vector<std::string>{"C'1=D'" + r->name});
    }
}

TEST(RegistryOperations, SaveChecksBothFieldsFirst) {
    IntegraWorld w;
    RegistryOperations ops(w.ctx, Registry::exportador());
    auto outcome = ops.save(RegistryEditState::Insert, "  ", "Nome");
    EXPECT_EQ(outcome.focus, RegistryOperations::SaveOutcome::Focus::Code);
    outcome = ops.save(RegistryEditState::Insert, "10", "   ");
    EXPECT_EQ(outcome.focus, RegistryOperations::SaveOutcome::Focus::Description);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(w.op.messages(),
              (std::vector<std::string>{"Campo CÓDIGO MERLIN obrigatório!", "Campo NOME obrigatório!"}));
    for (const auto& c : w.op.callsOf("message")) {
        EXPECT_EQ(c.caption, "Pelomira");
        EXPECT_EQ(c.icon, MessageIcon::Error);
    }
    RegistryOperations units(w.ctx, Registry::unidade());
    units.save(RegistryEditState::Edit, "1", "");
    EXPECT_EQ(w.op.messages().back(), "Campo UNIDADE obrigatório!");
    EXPECT_TRUE(w.column("SELECT * FROM EXPORTADOR").empty());
}

TEST(RegistryOperations, SaveFailuresAreReportedAndNeverShownAsSaved) {
    IntegraWorld w;
    addUnits(w, {{"1", "Unidade"}});
    RegistryOperations ops(w.ctx, Registry::unidade());
    // A duplicate code: the table's index refuses it.
    auto outcome = ops.save(RegistryEditState::Insert, "1", "Outra");
    EXPECT_FALSE(outcome.saved);
    EXPECT_TRUE(outcome.status.empty());
    ASSERT_EQ(w.op.messages().size(), 1u);
    const std::string head = "OCORREU UM ERRO\rPor favor entre em contato com o suporte técnico\r\r"
                             "Procedimento: Gravando dados na tabela UNIDADE\rERRO: ";
    EXPECT_EQ(w.op.messages()[0].rfind(head, 0), 0u) << w.op.messages()[0];
    ASSERT_EQ(w.errorLog().size(), 1u);
    EXPECT_NE(w.errorLog()[0].find("Procedimento: Gravando dados na tabela UNIDADE - Erro: " +
                                   w.op.messages()[0].substr(head.size())),
              std::string::npos);
    // An update of a code no row has changes nothing and says so.
    outcome = ops.save(RegistryEditState::Edit, "2", "Nova");
    EXPECT_FALSE(outcome.saved);
    EXPECT_NE(w.op.messages().back().find("Nenhum registro com o código 2 foi encontrado"), std::string::npos);
    EXPECT_EQ(w.column("SELECT ID_UNIDADE || '=' || DESCRICAO FROM UNIDADE"), std::vector<std::string>{"1=Unidade"});
}

TEST(RegistryOperations, LeavingTheCodeField) {
    IntegraWorld w;
    addUnits(w, {{"5", "Caixa"}});
    RegistryOperations ops(w.ctx, Registry::unidade());
    const auto before = w.db().statementCount();
    EXPECT_EQ(ops.codeFieldExit("   ", false), RegistryOperations::CodeExit::Nothing);
    EXPECT_EQ(w.db().statementCount(), before); // an empty code looks nothing up
    EXPECT_EQ(ops.codeFieldExit(" 5 ", false), RegistryOperations::CodeExit::Found);
    EXPECT_EQ(ops.rows().text("DESCRICAO"), "Caixa");
    EXPECT_EQ(ops.codeFieldExit("5", true), RegistryOperations::CodeExit::Found); // existing code: shown, no insert
    EXPECT_EQ(ops.codeFieldExit("6", true), RegistryOperations::CodeExit::Insert);
    EXPECT_TRUE(w.op.callsOf("ask").empty());

    w.op.queueYesNo(true);
    w.op.queueYesNo(false);
    EXPECT_EQ(ops.codeFieldExit("7 ", false), RegistryOperations::CodeExit::Insert);
    EXPECT_EQ(ops.codeFieldExit("8", false), RegistryOperations::CodeExit::Nothing);
    const auto asked = w.op.callsOf("ask");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Unidade 7 não encontrada, incluir?");
    EXPECT_EQ(asked[0].caption, "Pelomira");
    EXPECT_EQ(asked[0].icon, MessageIcon::Information);
}

TEST(RegistryOperations, DeleteAsksWithTheRowAndShowsTheTableAgain) {
    IntegraWorld w;
    addUnits(w, {{"1", "Um"}, {"2", "Dois"}, {"3", "Tres"}});
    RegistryOperations ops(w.ctx, Registry::unidade());
    EXPECT_FALSE(ops.remove("  ", "1", "Um").deleted);
    EXPECT_TRUE(w.op.callsOf("ask").empty()); // nothing asked for an empty code

    w.op.queueYesNo(false);
    EXPECT_FALSE(ops.remove("2", " 2 ", " Dois ").deleted);
    w.op.queueYesNo(true);
    const auto outcome = ops.remove(" 2", "2", "Dois");
    EXPECT_TRUE(outcome.deleted);
    EXPECT_EQ(outcome.status, "Registro 2 - Dois excluído com êxito.");
    const auto asked = w.op.callsOf("ask");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Excluir Unidade 2\rDois?");
    EXPECT_EQ(asked[0].icon, MessageIcon::Warning);
    EXPECT_EQ(w.column("SELECT ID_UNIDADE FROM UNIDADE ORDER BY 1"), (std::vector<std::string>{"1", "3"}));
    // Shown again: the whole table, on its last row.
    EXPECT_EQ(ops.rows().recordCount(), 2u);
    EXPECT_EQ(ops.rows().text("ID_UNIDADE"), "3");
}

TEST(RegistryOperations, NextFreeCodeFollowsTheCodesAsTexts) {
    using R = RegistryOperations;
    EXPECT_EQ(R::firstFreeCode({}), "1");
    EXPECT_EQ(R::firstFreeCode({"1", "2", "4"}), "3");
    EXPECT_EQ(R::firstFreeCode({"01", "02", "2"}), "1");              // "01" is not 1
    EXPECT_EQ(R::firstFreeCode({"1 ", "2"}), "3");                    // trailing blanks compare equal
    EXPECT_EQ(R::firstFreeCode({" 1", "1.0", "+1", "1a", "0"}), "1"); // none of these is "1"
    EXPECT_EQ(R::firstFreeCode({"3", "2", "1", "99999999999"}), "4");

    IntegraWorld w;
    RegistryOperations ops(w.ctx, Registry::fabricante());
    EXPECT_EQ(ops.nextFreeCode(), "1");
    w.sql("INSERT INTO FABRICANTE VALUES ('1', 'a')");
    w.sql("INSERT INTO FABRICANTE VALUES ('2 ', 'b')");
    w.sql("INSERT INTO FABRICANTE VALUES ('04', 'c')");
    w.sql("INSERT INTO FABRICANTE VALUES ('ABC', 'd')");
    EXPECT_EQ(ops.nextFreeCode(), "3");
    w.sql("INSERT INTO FABRICANTE VALUES ('3', 'e')");
    EXPECT_EQ(ops.nextFreeCode(), "4");
}

TEST(RegistryOperations, NextFreeCodeOfFiftyThousandCodesIsOneQuery) {
    IntegraWorld w;
    w.sql("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 50000) DO BEGIN "
          "IF (I <> 31337) THEN INSERT INTO UNIDADE VALUES (:I, 'x'); I = I + 1; END END");
    ASSERT_EQ(w.column("SELECT COUNT(*) FROM UNIDADE"), std::vector<std::string>{"49999"});
    RegistryOperations ops(w.ctx, Registry::unidade());
    auto before = w.db().statementCount();
    EXPECT_EQ(ops.nextFreeCode(), "31337");
    EXPECT_EQ(w.db().statementCount() - before, 1u);
    w.sql("INSERT INTO UNIDADE VALUES ('31337', 'x')");
    before = w.db().statementCount();
    EXPECT_EQ(ops.nextFreeCode(), "50001");
    EXPECT_EQ(w.db().statementCount() - before, 1u);
}
