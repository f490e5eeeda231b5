// Several processes on one embedded Integra file: the window and pelomira-cli at once.
#include "FailureOf.h"
#include "IntegraWorld.h"
#include "base/AppError.h"
#include "base/TextUtils.h"
#include "data/EmbeddedFirebird.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <set>

namespace {

const std::string Cli = PELOMIRA_BINARY_DIR "/bin/pelomira-cli";

std::multiset<std::string> mappingsOf(IntegraWorld& w) {
    std::multiset<std::string> rows;
    for (const auto& row : w.sql("SELECT * FROM VINCULO").rows)
        rows.insert(*row[0] + "|" + *row[1] + "|" + *row[2] + "|" + *row[3]);
    return rows;
}

} // namespace

TEST(IntegraShared, TwoProcessesWriteOneEmbeddedFileAtOnceLosingAndDoublingNothing) {
    IntegraWorld w;
    // This process keeps its own connection open all along, as the window does.
    w.dm.sqlDsVinculo.open();
    constexpr int count = 200;
    ChildProcess a = startProcess({integraHelperProgram(), "write", w.location, "ALFA", std::to_string(count)}, false);
    ChildProcess b = startProcess({integraHelperProgram(), "write", w.location, "beta", std::to_string(count)}, false);
    // And writes while they do.
    for (int i = 1; i <= 20; ++i)
        w.db().execute("INSERT INTO PAIS VALUES (" + IntegraDatabase::quote(std::to_string(i)) + ", " +
                       IntegraDatabase::quote("PAÍS " + std::to_string(i)) + ")");
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);

    std::multiset<std::string> returned, expectedMappings, expectedReturned;
    for (const auto& row : w.sql("SELECT TIPO_PROC, NR_PROC, DT_RETORNO FROM GERADOS").rows)
        returned.insert(*row[0] + "|" + *row[1] + "|" + *row[2]);
    for (const std::string prefix : {"ALFA", "beta"})
        for (int i = 1; i <= count; ++i) {
            const std::string n = std::to_string(i);
            expectedMappings.insert(upperAscii(prefix) + "|FABRICANTE|C" + n + "|M" + n);
            expectedReturned.insert("DI|" + prefix + "-" + n + "|2024-12-31");
        }
    EXPECT_EQ(mappingsOf(w), expectedMappings);
    EXPECT_EQ(returned, expectedReturned);
    EXPECT_EQ(w.column("SELECT COUNT(*) FROM PAIS"), std::vector<std::string>{"20"});
    // The window's connection saw the others' rows without reconnecting.
    w.dm.sqlDsVinculo.close();
    w.dm.sqlDsVinculo.open();
    EXPECT_EQ(w.dm.cdsVinculo.recordCount(), 2u * count);
}

TEST(IntegraShared, CommandLinesInParallelWithTheWindowOpenAreNeitherRefusedNorLost) {
    IntegraWorld w;
    w.settings.write(Settings::Dados, Settings::KeyTabelasIntegra, w.location);
    w.dm.sqlDsVinculo.open();
    // Two streams of pelomira-cli mapping set, several of each running at any moment.
    constexpr int perStream = 100, inFlight = 5;
    struct Running {
        ChildProcess child;
        std::string output;
    };
    std::vector<std::string> refused;
    std::deque<Running> running;
    int started[2] = {0, 0};
    auto finishOldest = [&] {
        Running r = std::move(running.front());
        running.pop_front();
        if (r.child.wait() != 0)
            refused.push_back(TestEnv::readFile(r.output));
    };
    while (started[0] < perStream || started[1] < perStream) {
        for (int s = 0; s < 2; ++s) {
            if (started[s] == perStream)
                continue;
            const std::string n = std::to_string(++started[s]);
            const std::string customer = s == 0 ? "SAMSUNG" : "SYNTHES";
            const std::string output = w.env.path("cli-" + customer + n + ".txt");
            running.push_back(
                {startProcess({Cli, "mapping", "set", customer, "fabricante", "F" + n, "M" + n}, false, output),
                 output});
        }
        while (running.size() >= 2 * inFlight)
            finishOldest();
        // The window searches meanwhile on its open connection.
        w.dm.sqlDsVinculo.query("SELECT * FROM VINCULO WHERE COD_INTEGR = " + IntegraDatabase::quote("F1"));
    }
    while (!running.empty())
        finishOldest();
    EXPECT_EQ(refused, std::vector<std::string>{});

    std::multiset<std::string> expected;
    for (const std::string customer : {"SAMSUNG", "SYNTHES"})
        for (int i = 1; i <= perStream; ++i)
            expected.insert(customer + "|FABRICANTE|F" + std::to_string(i) + "|M" + std::to_string(i));
    EXPECT_EQ(mappingsOf(w), expected);
}

TEST(IntegraShared, AnEngineWithAnotherLockFolderIsRefusedInsteadOfSharing) {
    IntegraWorld w;
    // Another user (or a process started with another FIREBIRD_LOCK) would write the file with lock
    // tables of its own: both sides must refuse rather than corrupt it.
    const std::string otherLocks = w.env.path("other-locks");
    TestEnv::makeFolder(otherLocks);
    ChildProcess holder =
        startProcess({"/usr/bin/env", "FIREBIRD_LOCK=" + otherLocks, integraHelperProgram(), "hold", w.location}, true);
    ASSERT_EQ(holder.readLine(), "ready");
    IntegraDatabase db;
    db.setDatabase(w.location);
    const std::string failure = failureOf([&] { db.connect(); });
    EXPECT_EQ(failure.rfind("O banco de dados Integra \"" + w.location + "\" está aberto por outro usuário", 0), 0u)
        << failure;
    EXPECT_FALSE(db.connected());
    EXPECT_EQ(holder.wait(), 0);

    // Free again: ours takes it, and now the other lock folder is the one refused.
    db.connect();
    const std::string out = w.env.path("other.txt");
    ChildProcess writer = startProcess(
        {"/usr/bin/env", "FIREBIRD_LOCK=" + otherLocks, integraHelperProgram(), "write", w.location, "X", "1"}, false,
        out);
    EXPECT_EQ(writer.wait(), 1);
    EXPECT_NE(TestEnv::readFile(out).find("está aberto por outro usuário"), std::string::npos)
        << TestEnv::readFile(out);
    EXPECT_EQ(w.column("SELECT COUNT(*) FROM VINCULO"), std::vector<std::string>{"0"});
}

TEST(IntegraShared, AProgramThatTakesTheFileForItselfIsReportedAsInUse) {
    IntegraWorld w;
    // isql with the installation's own configuration opens a file for itself alone.
    const std::string isql = "/usr/bin/isql-fb";
    if (!TestEnv::exists(isql))
        GTEST_SKIP() << "isql-fb not installed (package firebird3.0-utils)";
    ChildProcess holder = startProcess({"/usr/bin/env", "-u", "FIREBIRD", "-u", "FIREBIRD_LOCK", isql, "-q"}, true);
    // "ready" comes once the connection is made (or refused); nothing of ours may touch the file before.
    const std::string connect = "CONNECT '" + w.location + "' USER 'SYSDBA';\nSHELL echo ready;\n";
    ASSERT_EQ(::write(holder.stdinFd, connect.data(), connect.size()), static_cast<ssize_t>(connect.size()));
    for (std::string line = holder.readLine(); line != "ready" && !line.empty();)
        line = holder.readLine();
    IntegraDatabase db;
    db.setDatabase(w.location);
    const std::string failure = failureOf([&] { db.connect(); });
    EXPECT_EQ(failure.rfind("O banco de dados Integra \"" + w.location + "\" está em uso por outro programa.", 0), 0u)
        << failure;
    holder.wait();
    db.connect(); // free again
    EXPECT_TRUE(db.connected());
}
