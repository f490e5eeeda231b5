// The alert timer's run: automatic scan, return, balloons.
#include "retorno/RetornoWorld.h"

#include "retorno/AutomaticReturn.h"
#include "retorno/ReturnRunLock.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/file.h>

namespace {

std::vector<std::string> balloons(const ScriptedOperator& op) {
    std::vector<std::string> texts;
    for (const auto& call : op.callsOf("balloon"))
        texts.push_back(call.text);
    return texts;
}

} // namespace

TEST(AutomaticReturn, TheBalloonTellsWhatThisRunReturnedAndNoBoxWaitsForAClick) {
    RetornoWorld w;
    w.orientador.lsi("00003/26", "N1", "02/03/2026", "P1");
    w.orientador.dsi("00004/26", "N2", "03/03/2026", "P2", ""); // the automatic scan takes it all the same
    w.sim.rule("retorno@00004/26=refuse");

    const auto outcome = AutomaticReturn(w.ctx).run();
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(balloons(w.op), (std::vector<std::string>{
                                  "Os seguintes processos foram recebidos pelo MERLIN: \r\rLSI - 00003/26\r\r\r"
                                  "Os processos a seguir NÃO foram recebidos pelo MERLIN: \r\rDSI - 00004/26\r"}));
    EXPECT_TRUE(w.op.callsOf("message").empty());
    EXPECT_TRUE(w.op.callsOf("progressOpen").empty());
    EXPECT_TRUE(w.op.callsOf("waitOpen").empty());
    ASSERT_EQ(w.gerados().size(), 1u);
    EXPECT_TRUE(startsWith(w.gerados()[0], "LSI|00003/26|"));
    // The refused one is offered again by the next tick.
    AutomaticReturn(w.ctx).run();
    EXPECT_EQ(w.sim.returnTargets().size(), 3u);
}

TEST(AutomaticReturn, ATickWithNothingRegisteredOnlyLogsTheRun) {
    RetornoWorld w;
    EXPECT_TRUE(AutomaticReturn(w.ctx).run().has_value());
    EXPECT_TRUE(w.op.calls().empty());
    EXPECT_EQ(w.activity(),
              (std::vector<std::string>{"Iniciando Exportação de Retorno", "Finalizando Exportação de Retorno"}));
}

TEST(AutomaticReturn, AFailureGoesToTheErrorLogAndTheErrorBalloon) {
    RetornoWorld w;
    w.orientador.lsi("00003/26", "N1", "02/03/2026", "P1");
    // The Orientador holds IMPORT.MDB: nothing else may read it meanwhile.
    sqlite3* orientador = nullptr;
    ASSERT_EQ(sqlite3_open((w.folder + "/IMPORT.MDB").c_str(), &orientador), SQLITE_OK);
    // The files keep a write-ahead log, where a writer does not stop readers: the Orientador takes the
    // file for itself.
    ASSERT_EQ(sqlite3_exec(orientador, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; CREATE TABLE LOCKED(A)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    w.dm.ADOCon_IMPORT.setBusyTimeout(100);

    EXPECT_FALSE(AutomaticReturn(w.ctx).run().has_value());
    sqlite3_close(orientador);

    const auto shown = balloons(w.op);
    ASSERT_EQ(shown.size(), 1u);
    const std::string head = "Ocorreu o seguinte erro ao tentar executar o retorno automático: \r\r";
    const std::string tail = "\r\rPor favor verifique se o SISCOMEX não está aberto!";
    ASSERT_TRUE(startsWith(shown[0], head));
    ASSERT_TRUE(endsWith(shown[0], tail));
    const std::string failure = shown[0].substr(head.size(), shown[0].size() - head.size() - tail.size());
    EXPECT_NE(failure.find("IMPORT.MDB"), std::string::npos) << failure;
    // The log line holds the same text, without the separator.
    EXPECT_NE(w.errorLog().at(0).find("Procedimento: Retorno Automático - Erro: " + replaceAll(failure, ";", "")),
              std::string::npos)
        << w.errorLog()[0];
    EXPECT_TRUE(w.op.callsOf("message").empty());
    // Nothing was sent: the scan did not get through.
    EXPECT_TRUE(w.sim.returnTargets().empty());
    EXPECT_FALSE(w.dm.ADOCon_IMPORT.connected());
    // The next tick tries again, and goes through.
    w.dm.ADOCon_IMPORT.setBusyTimeout(3000);
    EXPECT_TRUE(AutomaticReturn(w.ctx).run().has_value());
    EXPECT_EQ(w.sim.returnTargets().size(), 1u);
}

TEST(AutomaticReturn, WhileAnotherProgramReturnsTheTickIsPostponed) {
    RetornoWorld w;
    w.orientador.lsi("00003/26", "N1", "02/03/2026", "P1");
    const int other = ::open((w.env.home() + ReturnRunLock::FileName).c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    AutomaticReturn run(w.ctx);
    EXPECT_FALSE(run.run().has_value());
    EXPECT_TRUE(run.postponed());
    ::close(other);
    EXPECT_TRUE(w.op.calls().empty());
    EXPECT_TRUE(w.sim.returnTargets().empty());
    EXPECT_EQ(w.activity(), (std::vector<std::string>{AutomaticReturn::Postponed}));
}
