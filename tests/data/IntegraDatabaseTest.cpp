#include "FailureOf.h"
#include "IntegraWorld.h"
#include "base/AppError.h"
#include "data/IntegraSchema.h"

#include <gtest/gtest.h>

#include <functional>

TEST(IntegraDatabase, SchemaHasTheColumnOrderTheInsertsRelyOnAndOneIndexPerTable) {
    IntegraWorld w;
    const std::vector<std::pair<std::string, std::vector<std::string>>> tables = {
        {"UNIDADE", {"ID_UNIDADE", "DESCRICAO"}},
        {"PAIS", {"ID_PAIS", "DESCRICAO"}},
        {"EXPORTADOR", {"ID_EXPORTADOR", "DESCRICAO"}},
        {"FABRICANTE", {"ID_FABRICANTE", "DESCRICAO"}},
        {"VINCULO", {"COD_CLIENTE", "TABELA", "COD_INTEGR", "COD_MERLIN"}},
        {"GERADOS", {"TIPO_PROC", "NR_PROC", "DT_RETORNO"}},
    };
    for (const auto& [table, columns] : tables) {
        IntegraTable* statement = w.dm.integraTable(table);
        ASSERT_NE(statement, nullptr) << table;
        EXPECT_EQ(statement->commandText(), "SELECT * FROM " + table);
        statement->open();
        EXPECT_EQ(statement->rows().fieldNames(), columns) << table;
        EXPECT_EQ(w.column("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$INDICES WHERE RDB$INDEX_NAME = " +
                           IntegraDatabase::quote(table)),
                  std::vector<std::string>{table});
    }
    EXPECT_EQ(w.dm.integraTable("vinculo"), &w.dm.sqlDsVinculo);
    EXPECT_EQ(w.dm.integraTable("CLIENTES"), nullptr);
}

TEST(IntegraDatabase, QuotedValuesCannotBreakAStatement) {
    EXPECT_EQ(IntegraDatabase::quote("O'Brien"), "'O''Brien'");
    EXPECT_EQ(IntegraDatabase::quote(""), "''");
    EXPECT_EQ(IntegraDatabase::quote("''"), "''''''");
    EXPECT_THROW(IntegraDatabase::quote(std::string("a\0b", 3)), AppError);

    IntegraWorld w;
    const std::vector<std::string> hostile = {"O'Brien", "'); DELETE FROM UNIDADE; --", "'", "a''b'", "x' OR '1'='1"};
    for (size_t i = 0; i < hostile.size(); ++i)
        w.db().execute("INSERT INTO UNIDADE VALUES (" + IntegraDatabase::quote(hostile[i]) + ", " +
                       IntegraDatabase::quote(hostile[i] + "!") + ")");
    const IntegraResult all = w.sql("SELECT * FROM UNIDADE");
    ASSERT_EQ(all.rows.size(), hostile.size());
    for (size_t i = 0; i < hostile.size(); ++i) {
        EXPECT_EQ(all.rows[i][0], hostile[i]);
        EXPECT_EQ(all.rows[i][1], hostile[i] + "!");
        EXPECT_EQ(
            w.db().query("SELECT * FROM UNIDADE WHERE ID_UNIDADE = " + IntegraDatabase::quote(hostile[i])).rows.size(),
            1u)
            << hostile[i];
    }
}

TEST(IntegraDatabase, NullIsNotEmptyAndTextsKeepTheirBytes) {
    IntegraWorld w;
    w.db().execute("INSERT INTO UNIDADE VALUES (" + IntegraDatabase::quote("1") + ", NULL)");
    w.db().execute("INSERT INTO UNIDADE VALUES (" + IntegraDatabase::quote("2") + ", " + IntegraDatabase::quote("") +
                   ")");
    const std::string accented = "Ação, São Paulo — ÇÁÉ ü";
    w.db().execute("INSERT INTO UNIDADE VALUES (" + IntegraDatabase::quote("3") + ", " +
                   IntegraDatabase::quote(accented + "  ") + ")");
    RecordSet& rows = w.dm.sqlDsUnidade.query("SELECT * FROM UNIDADE ORDER BY ID_UNIDADE");
    ASSERT_EQ(rows.recordCount(), 3u);
    EXPECT_EQ(rows.value("DESCRICAO"), std::nullopt);
    EXPECT_EQ(rows.text("DESCRICAO"), "");
    rows.next();
    EXPECT_EQ(rows.value("descricao"), std::optional<std::string>(""));
    rows.next();
    EXPECT_EQ(rows.text("DESCRICAO"), accented + "  "); // trailing blanks kept
    rows.next();
    EXPECT_TRUE(rows.eof());
    EXPECT_THROW(rows.value("NOME"), AppError);
    // Columns of the same name stay apart.
    const auto table = IntegraTable::toRecordTable(w.db().query("SELECT COUNT(*), COUNT(*), NULL FROM UNIDADE"));
    EXPECT_EQ(table->schema()->fields().size(), 3u);
    EXPECT_EQ(table->schema()->fields()[1].name, "COUNT_2");
}

TEST(IntegraDatabase, ReturnDateTakesMonthFirstLiteralsAndNumbersComeAsText) {
    IntegraWorld w;
    const auto q = IntegraDatabase::quote;
    w.db().execute("INSERT INTO GERADOS VALUES (" + q("DI") + ", " + q("123") + ", " + q("12/31/2024") + ")");
    w.db().execute("INSERT INTO GERADOS VALUES (" + q("LSI") + ", " + q("9") + ", " + q("01/02/2025") + ")");
    EXPECT_EQ(w.column("SELECT DT_RETORNO FROM GERADOS ORDER BY NR_PROC"),
              (std::vector<std::string>{"2024-12-31", "2025-01-02"}));
    EXPECT_THROW(
        w.db().execute("INSERT INTO GERADOS VALUES (" + q("DI") + ", " + q("7") + ", " + q("31/12/2024") + ")"),
        AppError);
    const IntegraResult count = w.db().query("SELECT COUNT(*), CAST(12.5 AS NUMERIC(9,2)) FROM GERADOS");
    EXPECT_EQ(count.rows.at(0).at(0), std::optional<std::string>("2"));
    EXPECT_EQ(count.rows.at(0).at(1), std::optional<std::string>("12.50"));
}

TEST(IntegraDatabase, StatementsCommitAtOnceAndAFailureLeavesTheConnectionUsable) {
    IntegraWorld w;
    const auto before = w.db().statementCount();
    EXPECT_EQ(w.db().execute("INSERT INTO PAIS VALUES (" + IntegraDatabase::quote("105") + ", " +
                             IntegraDatabase::quote("BRASIL") + ")"),
              1u);
    // Another connection sees the row: it was committed by itself.
    EXPECT_EQ(w.column("SELECT DESCRICAO FROM PAIS"), std::vector<std::string>{"BRASIL"});
    const std::string failure = failureOf([&] { w.db().query("SELEC * FROM PAIS"); });
    EXPECT_NE(failure.find("Token unknown"), std::string::npos) << failure;
    EXPECT_EQ(failure.find('\n'), std::string::npos) << "one line for ERRO.CSV";
    EXPECT_TRUE(w.db().connected());
    // A duplicate code is refused by the table's unique index.
    EXPECT_THROW(w.db().execute("INSERT INTO PAIS VALUES (" + IntegraDatabase::quote("105") + ", " +
                                IntegraDatabase::quote("OUTRO") + ")"),
                 AppError);
    EXPECT_EQ(w.db().query("SELECT * FROM PAIS").rows.size(), 1u);
    EXPECT_EQ(w.db().statementCount() - before, 4u);
    w.db().disconnect();
    EXPECT_FALSE(w.db().connected());
    EXPECT_EQ(w.db().query("SELECT * FROM PAIS").rows.size(), 1u); // opens itself again
}

TEST(IntegraDatabase, ChainQueryCloseAndExecute) {
    IntegraWorld w;
    IntegraTable& t = w.dm.sqlDsExportador;
    EXPECT_FALSE(w.dm.cdsExportador.active());
    t.execute("INSERT INTO EXPORTADOR VALUES (" + IntegraDatabase::quote("E1") + ", " + IntegraDatabase::quote("X") +
              ")");
    EXPECT_EQ(t.commandText(), "SELECT * FROM EXPORTADOR"); // an executed change is never the text reopened
    t.open();
    EXPECT_TRUE(w.dm.cdsExportador.active());
    EXPECT_EQ(w.dm.cdsExportador.recordCount(), 1u);
    const auto count = w.db().statementCount();
    t.open(); // already open: no statement
    EXPECT_EQ(w.db().statementCount(), count);
    t.query("SELECT * FROM EXPORTADOR WHERE ID_EXPORTADOR = " + IntegraDatabase::quote("E2"));
    EXPECT_TRUE(w.dm.cdsExportador.isEmpty());
    EXPECT_TRUE(w.dm.cdsExportador.eof());
    t.close();
    EXPECT_FALSE(w.dm.cdsExportador.active());
}

TEST(IntegraDatabase, SearchFindsTextsContainingTheTypedOneWithoutRegardToCase) {
    IntegraWorld w;
    for (const char* name : {"Ação Ltda", "D'Ávila & Cia", "Outra"})
        w.sql("INSERT INTO EXPORTADOR VALUES (" + IntegraDatabase::quote(name) + ", " + IntegraDatabase::quote(name) +
              ")");
    IntegraTable& t = w.dm.sqlDsExportador;
    EXPECT_EQ(t.searchSql("descricao", "d'á"), "SELECT * FROM EXPORTADOR WHERE UPPER (DESCRICAO) LIKE '%D''Á%'");
    EXPECT_EQ(t.searchSql("", "x"), "SELECT * FROM EXPORTADOR");
    EXPECT_EQ(t.query(t.searchSql("DESCRICAO", "d'á")).text("ID_EXPORTADOR"), "D'Ávila & Cia");
    EXPECT_EQ(t.query(t.searchSql("DESCRICAO", "ção")).text("ID_EXPORTADOR"), "Ação Ltda");
    EXPECT_EQ(t.query(t.searchSql("DESCRICAO", "")).recordCount(), 3u);
    EXPECT_THROW(t.searchSql("DESCRICAO) OR (1=1", "a"), AppError);
}

TEST(IntegraDatabase, ConnectionFailuresSayWhatIsWrong) {
    TestEnv env;
    IntegraDatabase db;
    EXPECT_NE(failureOf([&] { db.connect(); }).find("não foi informado"), std::string::npos);

    db.setDatabase(env.path("FALTA.FDB"));
    EXPECT_EQ(failureOf([&] { db.query("SELECT * FROM PAIS"); }),
              "O banco de dados Integra \"" + env.path("FALTA.FDB") + "\" não foi encontrado.");
    EXPECT_FALSE(TestEnv::exists(env.path("FALTA.FDB")));

    TestEnv::writeFile(env.path("TEXTO.FDB"), std::string(20000, 'x'));
    db.setDatabase(env.path("TEXTO.FDB"));
    const std::string notDb = failureOf([&] { db.connect(); });
    EXPECT_NE(notDb.find("TEXTO.FDB"), std::string::npos) << notDb;
    EXPECT_FALSE(db.connected());
}

TEST(IntegraDatabase, AFileHeldByAnotherProcessOfTheProgramIsShared) {
    IntegraWorld w;
    ChildProcess holder = startProcess({integraHelperProgram(), "hold", w.location}, true);
    ASSERT_EQ(holder.readLine(), "ready");
    IntegraDatabase db;
    db.setDatabase(w.location);
    EXPECT_EQ(db.execute("INSERT INTO PAIS VALUES (" + IntegraDatabase::quote("105") + ", " +
                         IntegraDatabase::quote("BRASIL") + ")"),
              1u);
    EXPECT_EQ(holder.wait(), 0);
    EXPECT_EQ(db.query("SELECT DESCRICAO FROM PAIS").rows.at(0).at(0), std::optional<std::string>("BRASIL"));
}

TEST(IntegraDatabase, CreateRefusesAnExistingFileAndLeavesNothingHalfMade) {
    TestEnv env;
    const std::string file = env.path("NOVO.FDB");
    IntegraDatabase::create(file, integraSchemaSql());
    EXPECT_NE(failureOf([&] { IntegraDatabase::create(file, integraSchemaSql()); }).find("já existe"),
              std::string::npos);
    IntegraDatabase db;
    db.setDatabase(file);
    EXPECT_TRUE(db.query("SELECT * FROM VINCULO").rows.empty());
    // The program's databases wait for the disk on every commit.
    EXPECT_EQ(db.query("SELECT MON$FORCED_WRITES FROM MON$DATABASE").rows.at(0).at(0), std::optional<std::string>("1"));
    db.disconnect();

    const std::string broken = env.path("QUEBRADO.FDB");
    const std::string failure =
        failureOf([&] { IntegraDatabase::create(broken, "CREATE TABLE A (X INTEGER);\nCREATE TABLA B (Y INTEGER);"); });
    EXPECT_NE(failure.find("CREATE TABLA B"), std::string::npos) << failure;
    EXPECT_FALSE(TestEnv::exists(broken));
    EXPECT_NE(
        failureOf([&] { IntegraDatabase::create(env.path("nada/X.FDB"), integraSchemaSql()); }).find("não existe"),
        std::string::npos);
}

TEST(IntegraDatabase, ScriptSplittingAndServerPaths) {
    EXPECT_EQ(
        IntegraDatabase::splitScript("-- a; b\nCREATE TABLE A (X VARCHAR(3) DEFAULT ';');\n/* c; */ "
                                     "INSERT INTO A VALUES ('it''s;');;\n  "),
        (std::vector<std::string>{"CREATE TABLE A (X VARCHAR(3) DEFAULT ';')", "INSERT INTO A VALUES ('it''s;')"}));
    EXPECT_EQ(IntegraDatabase::splitScript(integraSchemaSql()).size(), 12u);

    EXPECT_TRUE(IntegraDatabase::isServerPath("servidor:/dados/INTEGRA.FDB"));
    EXPECT_TRUE(IntegraDatabase::isServerPath("127.0.0.1/30535:/tmp/INTEGRA.FDB"));
    EXPECT_TRUE(IntegraDatabase::isServerPath("srv:C:\\Dados\\INTEGRA.FDB"));
    EXPECT_FALSE(IntegraDatabase::isServerPath("/dados/INTEGRA.FDB"));
    EXPECT_FALSE(IntegraDatabase::isServerPath("C:\\Dados\\INTEGRA.FDB"));
    EXPECT_FALSE(IntegraDatabase::isServerPath("/dados/a:b.fdb"));
    EXPECT_FALSE(IntegraDatabase::isServerPath("./a:b.fdb"));
}
