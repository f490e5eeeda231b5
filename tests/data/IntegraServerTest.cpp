// The shared Integra database: a Firebird server on 127.0.0.1 (scripts/firebird-test-server, started
// by scripts/test). Without a server these tests skip, unless the run demands them.
#include "IntegraWorld.h"
#include "base/AppError.h"
#include "base/TextUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

std::string requireServer() {
    const std::string server = loopbackServer();
    if (server.empty()) {
        const char* required = std::getenv("PELOMIRA_FB_REQUIRED");
        if (required && std::string(required) == "1")
            ADD_FAILURE() << "the Firebird test server is not reachable on 127.0.0.1";
    }
    return server;
}

#define REQUIRE_SERVER(var)                                                                                            \
    const std::string var = requireServer();                                                                           \
    if (var.empty())                                                                                                   \
    GTEST_SKIP() << "no Firebird test server on 127.0.0.1 (PELOMIRA_FB_PORT); start one with "                         \
                    "scripts/firebird-test-server start"

} // namespace

TEST(IntegraServer, TwoProcessesWritingAtOnceLoseNothingAndDuplicateNothing) {
    REQUIRE_SERVER(server);
    IntegraWorld w(server);
    constexpr int count = 150;
    ChildProcess a = startProcess({integraHelperProgram(), "write", w.location, "ALFA", std::to_string(count)}, false);
    ChildProcess b = startProcess({integraHelperProgram(), "write", w.location, "beta", std::to_string(count)}, false);
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);

    std::multiset<std::string> mappings, returned;
    for (const auto& row : w.sql("SELECT * FROM VINCULO").rows)
        mappings.insert(*row[0] + "|" + *row[1] + "|" + *row[2] + "|" + *row[3]);
    for (const auto& row : w.sql("SELECT TIPO_PROC, NR_PROC, DT_RETORNO FROM GERADOS").rows)
        returned.insert(*row[0] + "|" + *row[1] + "|" + *row[2]);
    std::multiset<std::string> expectedMappings, expectedReturned;
    for (const std::string prefix : {"ALFA", "beta"})
        for (int i = 1; i <= count; ++i) {
            const std::string n = std::to_string(i);
            expectedMappings.insert(upperAscii(prefix) + "|FABRICANTE|C" + n + "|M" + n);
            expectedReturned.insert("DI|" + prefix + "-" + n + "|2024-12-31");
        }
    EXPECT_EQ(mappings, expectedMappings);
    EXPECT_EQ(returned, expectedReturned);
}

TEST(IntegraServer, TwoConnectionsShareTheDatabaseAndSeeCommittedRows) {
    REQUIRE_SERVER(server);
    IntegraWorld w(server);
    IntegraDatabase other;
    other.setDatabase(w.location);
    other.execute("INSERT INTO UNIDADE VALUES (" + IntegraDatabase::quote("KG") + ", " +
                  IntegraDatabase::quote("Quilograma") + ")");
    w.dm.sqlDsUnidade.open();
    EXPECT_EQ(w.dm.cdsUnidade.text("DESCRICAO"), "Quilograma");
    EXPECT_TRUE(other.connected());
    EXPECT_TRUE(w.db().connected());
}

TEST(IntegraServer, AMissingDatabaseOnTheServerIsReportedPlainly) {
    REQUIRE_SERVER(server);
    TestEnv env;
    IntegraDatabase db;
    db.setDatabase(server + ":" + env.path("NAO_EXISTE.FDB"));
    try {
        db.connect();
        FAIL() << "connected to a missing database";
    } catch (const AppError& e) {
        EXPECT_NE(std::string(e.what()).find("Não foi possível abrir o banco de dados Integra"), std::string::npos)
            << e.what();
    }
}
