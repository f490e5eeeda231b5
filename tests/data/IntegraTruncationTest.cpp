// A value longer than its column: the operator is told which field and its limit, in Portuguese.
#include "data/IntegraTruncation.h"
#include "FailureOf.h"
#include "IntegraWorld.h"
#include "base/AppError.h"
#include "cadastros/CodeMapping.h"
#include "cadastros/Registry.h"
#include "cadastros/RegistryOperations.h"

#include <gtest/gtest.h>

namespace {

using Values = std::vector<std::pair<std::string, std::optional<std::string>>>;

} // namespace

TEST(IntegraTruncation, ReadsTheWritesThisProgramMakes) {
    auto insert = IntegraTruncation::parse("INSERT INTO VINCULO VALUES ('A', 'it''s, (x)', NULL, 12)");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->table, "VINCULO");
    EXPECT_EQ(insert->values, (Values{{"", "A"}, {"", "it's, (x)"}, {"", std::nullopt}, {"", std::nullopt}}));

    auto named = IntegraTruncation::parse("insert into pais (descricao, \"ID_PAIS\") values ('x', 'y')");
    ASSERT_TRUE(named);
    EXPECT_EQ(named->table, "PAIS");
    EXPECT_EQ(named->values, (Values{{"DESCRICAO", "x"}, {"ID_PAIS", "y"}}));

    auto update = IntegraTruncation::parse(
        "UPDATE UNIDADE SET ID_UNIDADE = 'K''G', DESCRICAO = UPPER('a') WHERE ID_UNIDADE = 'z'");
    ASSERT_TRUE(update);
    EXPECT_EQ(update->table, "UNIDADE");
    EXPECT_EQ(update->values, (Values{{"ID_UNIDADE", "K'G"}, {"DESCRICAO", std::nullopt}}));
    auto whereless = IntegraTruncation::parse("UPDATE GERADOS SET NR_PROC='WHERE'");
    ASSERT_TRUE(whereless);
    EXPECT_EQ(whereless->values, (Values{{"NR_PROC", "WHERE"}}));

    EXPECT_FALSE(IntegraTruncation::parse("SELECT * FROM PAIS"));
    EXPECT_FALSE(IntegraTruncation::parse("INSERT INTO PAIS VALUES ('unterminated)"));
    EXPECT_FALSE(IntegraTruncation::parse("INSERT INTO PAIS (A, B) VALUES ('1')"));
    EXPECT_FALSE(IntegraTruncation::parse(""));
}

TEST(IntegraTruncation, NamesTheFieldThatDoesNotFitAmongFieldsOfTheSameLimit) {
    const std::vector<IntegraTruncation::Column> vinculo = {
        {"COD_CLIENTE", 40}, {"TABELA", 20}, {"COD_INTEGR", 60}, {"COD_MERLIN", 40}};
    const std::string long41(41, 'M');
    EXPECT_EQ(IntegraTruncation::message("INSERT INTO VINCULO VALUES ('SAMSUNG', 'FABRICANTE', 'X', '" + long41 + "')",
                                         40, vinculo),
              "O valor do campo COD_MERLIN da tabela VINCULO tem 41 caracteres; o campo aceita no máximo 40 "
              "caracteres. Nada foi gravado.");
    // Characters, not bytes; blanks at the end are cut by the database without complaint and do not count.
    const std::string accented = std::string(20, 'a') + "ção" + std::string(18, 'b') + "   ";
    EXPECT_NE(IntegraTruncation::message("INSERT INTO VINCULO VALUES ('" + accented + "', 'T', 'X', 'M')", 40, vinculo)
                  .find("campo COD_CLIENTE da tabela VINCULO tem 41 caracteres"),
              std::string::npos);
    // Without the field: still the table and the limit, never the engine's English.
    EXPECT_EQ(IntegraTruncation::message("INSERT INTO VINCULO VALUES ('A', 'B', 'C', 'D')", 40, vinculo),
              "Um valor é mais longo do que um campo da tabela VINCULO aceita (no máximo 40 caracteres). Nada foi "
              "gravado.");
    EXPECT_EQ(IntegraTruncation::message("EXECUTE PROCEDURE X", 1, {}),
              "Um valor é mais longo do que o campo do banco de dados Integra aceita (no máximo 1 caractere). Nada "
              "foi gravado.");
}

TEST(IntegraTruncation, EveryIntegraWriteThatDoesNotFitSaysSoInPortuguese) {
    IntegraWorld w;
    // Registries: a new row and an edited one.
    RegistryOperations units(w.ctx, Registry::unidade());
    const std::string description(300, 'x');
    const std::string inserted = failureOf([&] { w.db().execute(units.insertSql("KG", description)); });
    EXPECT_EQ(inserted, "O valor do campo DESCRICAO da tabela UNIDADE tem 300 caracteres; o campo aceita no máximo 255 "
                        "caracteres. Nada foi gravado.");
    w.db().execute(units.insertSql("KG", "Quilo"));
    EXPECT_EQ(failureOf([&] { w.db().execute(units.updateSql("KG", description)); }), inserted);
    EXPECT_EQ(w.column("SELECT DESCRICAO FROM UNIDADE"), std::vector<std::string>{"Quilo"});
    EXPECT_NE(failureOf([&] {
                  w.db().execute(units.insertSql(std::string(41, '9'), "x"));
              }).find("campo ID_UNIDADE da tabela UNIDADE tem 41 caracteres; o campo aceita no máximo 40"),
              std::string::npos);

    // The mapping window's save: the message box and ERRO.CSV name the field.
    EXPECT_FALSE(CodeMapping(w.ctx).save("SAMSUNG", "Fabricante", "X1", std::string(45, 'M')));
    ASSERT_FALSE(w.op.messages().empty());
    EXPECT_NE(w.op.messages().back().find("O valor do campo COD_MERLIN da tabela VINCULO tem 45 caracteres"),
              std::string::npos)
        << w.op.messages().back();
    ASSERT_FALSE(w.errorLog().empty());
    EXPECT_NE(w.errorLog().back().find("COD_MERLIN"), std::string::npos);
    EXPECT_EQ(w.errorLog().back().find("truncation"), std::string::npos) << w.errorLog().back();

    // The processes returned to Merlin.
    EXPECT_NE(failureOf([&] {
                  w.db().execute("INSERT INTO GERADOS VALUES ('DI', " + IntegraDatabase::quote(std::string(41, '7')) +
                                 ", '12/31/2024')");
              }).find("campo NR_PROC da tabela GERADOS tem 41 caracteres"),
              std::string::npos);
    // The connection goes on, and the program's statement count holds only the program's statements.
    const auto count = w.db().statementCount();
    failureOf([&] { w.db().execute(units.insertSql("G", description)); });
    EXPECT_EQ(w.db().statementCount(), count + 1);
    EXPECT_EQ(w.column("SELECT COUNT(*) FROM VINCULO"), std::vector<std::string>{"0"});
}
