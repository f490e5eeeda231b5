// The return to Merlin against merlin-sim (the real program) and a real Integra database.
#include "retorno/RetornoWorld.h"

#include "base/AppError.h"
#include "data/RecordSet.h"
#include "retorno/PendingReturns.h"
#include "retorno/RegistrationScan.h"
#include "retorno/ReturnList.h"
#include "retorno/ReturnRunLock.h"
#include "retorno/ReturnSender.h"

#include <gtest/gtest.h>

#include <sys/file.h>

#include <ctime>

namespace {

// 5 March 2026, noon, local time.
std::chrono::system_clock::time_point fifthOfMarch() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&t));
}

// Scans (automatic: every registered process ticked) and returns.
ReturnOutcome scanAndSend(RetornoWorld& w, RecordSet& list, bool manualMode = false) {
    RegistrationScan(w.ctx).automatic(list);
    ReturnSender sender(w.ctx);
    sender.setClock(fifthOfMarch);
    return sender.EnviarRetorno(list, !manualMode);
}

const std::string Path = "/invoke/amDGFLatamMerlin.services:receiveRetorno?";

} // namespace

TEST(ReturnSender, EachKindIsSentWithItsOwnParametersAndRecordedWithTheDate) {
    RetornoWorld w;
    w.orientador.lsi("00007/26", "2600000017", "02/03/2026", "7000000001");
    w.orientador.dsi("00012/26", "2600000012", "03/03/2026", "7000000002", "01/03/2026");
    w.orientador.li("A&B 1", "2600000077", "04/03/2026", "7000000003");
    w.orientador.di("123456", "2612345678", "05032026", "9876543210", "04032026", "04032026");
    RecordSet list("list");
    const ReturnOutcome outcome = scanAndSend(w, list);

    EXPECT_EQ(w.sim.returnTargets(),
              (std::vector<std::string>{
                  Path + "TIPO_PROCESSO=04&ID_PROCESSO=00007/26&NR_PROTOCOLO=7000000001&DATA_REGISTRO=02032026"
                         "&REGISTRO_SISCOMEX=2600000017&ANOREGISTRO=2026",
                  Path + "TIPO_PROCESSO=03&ID_PROCESSO=00012/26&NR_PROTOCOLO=7000000002&DATA_TRASMISSAO=01032026"
                         "&DATA_REGISTRO=03032026&REGISTRO_SISCOMEX=2600000012&ANOREGISTRO=2026",
                  // Values that would change the query are encoded; digits and "/" go as they are.
                  Path + "TIPO_PROCESSO=02&ID_PROCESSO=A%26B%201&NR_PROTOCOLO=7000000003&DATA_REGISTRO=04032026"
                         "&REGISTRO_SISCOMEX=2600000077&ANOREGISTRO=2026",
                  Path + "TIPO_PROCESSO=01&ID_PROCESSO=123456&NR_PROTOCOLO=9876543210&DATA_PROCESSAMENTO=04032026"
                         "&DATA_TRASMISSAO=04032026&DATA_REGISTRO=05032026&REGISTRO_SISCOMEX=2612345678"
                         "&ANOREGISTRO=2026",
              }));
    // The date goes in as 03/05/2026 and the database reads it as the fifth of March.
    EXPECT_EQ(w.gerados(), (std::vector<std::string>{"DI|123456|2026-03-05", "DSI|00012/26|2026-03-05",
                                                     "LI|A&B 1|2026-03-05", "LSI|00007/26|2026-03-05"}));
    EXPECT_EQ(outcome.received,
              (std::vector<std::string>{"LSI - 00007/26", "DSI - 00012/26", "LI - A&B 1", "DI - 123456"}));
    EXPECT_TRUE(outcome.allReceived());
    EXPECT_EQ(w.activity(),
              (std::vector<std::string>{"Iniciando Exportação de Retorno", "Finalizando Exportação de Retorno"}));
    EXPECT_FALSE(list.active()); // the run closes the list
    EXPECT_NE(TestEnv::readFile(w.sim.log()).find("retorno recebido: 01 123456\n"), std::string::npos);

    // Recorded: neither scan offers them again.
    RecordSet again("again");
    RegistrationScan(w.ctx).automatic(again);
    EXPECT_TRUE(again.isEmpty());
}

TEST(ReturnSender, OnlyTheExactWordsSuccessfullyUpdatedMeanReceived) {
    RetornoWorld w;
    w.orientador.li("OK-1", "N1", "04/03/2026", "P1");
    w.orientador.li("LOW-2", "N2", "04/03/2026", "P2");
    w.orientador.li("NO-3", "N3", "04/03/2026", "P3");
    w.sim.rule("retorno@LOW-2=refuse");
    w.sim.rule("retorno.reason=Process LOW-2 - successfully updated");
    w.sim.rule("retorno@NO-3=html");

    RecordSet& list = w.dm.cdsTemp;
    ASSERT_TRUE(RegistrationScan(w.ctx).manual(list));
    for (std::size_t i = 0; i < list.recordCount(); ++i) {
        list.moveTo(i);
        ReturnList::toggle(list);
    }
    w.op.clear();
    ReturnSender sender(w.ctx);
    sender.setClock(fifthOfMarch);
    const ReturnOutcome outcome = sender.EnviarRetorno(list, false);

    EXPECT_EQ(outcome.received, (std::vector<std::string>{"LI - OK-1"}));
    EXPECT_EQ(outcome.notReceived, (std::vector<std::string>{"LI - LOW-2", "LI - NO-3"}));
    EXPECT_EQ(w.gerados(), (std::vector<std::string>{"LI|OK-1|2026-03-05"}));
    // Manual mode: a wait window per request, and the summary in one box.
    EXPECT_EQ(w.op.callsOf("waitOpen").size(), 3u);
    EXPECT_EQ(w.op.callsOf("waitClose").size(), 3u);
    const auto boxes = w.op.callsOf("message");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Os seguintes processos foram recebidos pelo MERLIN: \r\rLI - OK-1\r\r\r"
                             "Os processos a seguir NÃO foram recebidos pelo MERLIN: \r\rLI - LOW-2\rLI - NO-3\r");
    EXPECT_EQ(boxes[0].caption, "Pelomira");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Information);
}

TEST(ReturnSender, NothingTickedSendsNothingShowsNothingAndStillLogsTheRun) {
    RetornoWorld w;
    w.orientador.li("LI-1", "N1", "04/03/2026", "P1");
    RecordSet& list = w.dm.cdsTemp;
    ASSERT_TRUE(RegistrationScan(w.ctx).manual(list));
    w.op.clear();
    const ReturnOutcome outcome = ReturnSender(w.ctx).EnviarRetorno(list, false);
    EXPECT_TRUE(outcome.summary.empty());
    EXPECT_TRUE(w.op.callsOf("message").empty());
    EXPECT_TRUE(w.sim.returnTargets().empty());
    EXPECT_EQ(w.activity(),
              (std::vector<std::string>{"Iniciando Exportação de Retorno", "Finalizando Exportação de Retorno"}));
}

TEST(ReturnSender, AFailedRequestShowsItsBoxForThatProcessAndTheRunGoesOn) {
    RetornoWorld w;
    w.settings.write(Settings::Dados, Settings::KeyTimeoutTotal, "1");
    w.orientador.li("E500", "N1", "04/03/2026", "P1");
    w.orientador.li("SLOW", "N2", "04/03/2026", "P2");
    w.orientador.li("FINE", "N3", "04/03/2026", "P3");
    w.sim.rule("retorno@E500=error:500");
    w.sim.rule("retorno@SLOW=delay:3000");

    RecordSet list("list");
    const ReturnOutcome outcome = scanAndSend(w, list);
    EXPECT_EQ(outcome.failed, (std::vector<std::string>{"LI - E500", "LI - SLOW"}));
    EXPECT_EQ(outcome.received, (std::vector<std::string>{"LI - FINE"}));
    EXPECT_FALSE(outcome.allReceived());
    EXPECT_EQ(w.gerados(), (std::vector<std::string>{"LI|FINE|2026-03-05"}));

    const auto boxes = w.op.callsOf("message");
    ASSERT_EQ(boxes.size(), 2u); // automatic mode: no summary box
    const std::string address =
        w.sim.base() + ":receiveRetorno?TIPO_PROCESSO=02&ID_PROCESSO=E500&NR_PROTOCOLO=P1&DATA_REGISTRO=04032026"
                       "&REGISTRO_SISCOMEX=N1&ANOREGISTRO=2026";
    EXPECT_EQ(boxes[0].caption, "Erro no Retorno ao WebService - Processo E500");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes[0].text, "Falha no Retorno ao WebService\r" + upperAscii(address) +
                                 "\rPor favor verifique se a URL está correta ou se\r"
                                 "a conexão com a Internet está ativa neste terminal.");
    EXPECT_EQ(boxes[1].caption, "Erro no Retorno ao WebService - Processo SLOW");
    const auto errors = w.errorLog();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("Procedimento: Retorno ao WebService (" + address + ") - Erro: "), std::string::npos);
}

TEST(ReturnSender, WithMerlinDownEveryProcessIsReportedAndNothingRecorded) {
    RetornoWorld w;
    w.orientador.lsi("00001/26", "N1", "02/03/2026", "P1");
    w.orientador.di("D1", "N2", "05032026", "P2", "04032026", "04032026");
    w.sim.stop();
    RecordSet list("list");
    const ReturnOutcome outcome = scanAndSend(w, list);
    EXPECT_EQ(outcome.failed, (std::vector<std::string>{"LSI - 00001/26", "DI - D1"}));
    EXPECT_TRUE(outcome.received.empty());
    EXPECT_EQ(w.op.callsOf("message").size(), 2u);
    EXPECT_TRUE(w.gerados().empty());
}

TEST(ReturnSender, AcceptedButNotRecordedIsKeptAndNeverSentASecondTime) {
    RetornoWorld w;
    w.orientador.li("LI-5", "N1", "04/03/2026", "P1");
    // Every insert into GERADOS fails, as with the database out of space.
    w.sql("CREATE EXCEPTION SEM_ESPACO 'sem espaço em disco'");
    w.sql("CREATE TRIGGER GERADOS_SEM_ESPACO FOR GERADOS BEFORE INSERT AS BEGIN EXCEPTION SEM_ESPACO; END");

    RecordSet list("list");
    const ReturnOutcome first = scanAndSend(w, list);
    EXPECT_EQ(first.received, (std::vector<std::string>{"LI - LI-5"}));
    EXPECT_EQ(first.pending, (std::vector<std::string>{"LI - LI-5"}));
    const auto boxes = w.op.callsOf("message");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Pelomira");
    EXPECT_TRUE(startsWith(boxes[0].text, "Não foi possível gravar os dados de retorno na tabela\rERRO: "));
    EXPECT_NE(boxes[0].text.find("sem espaço em disco"), std::string::npos);
    ASSERT_FALSE(w.errorLog().empty());
    EXPECT_NE(w.errorLog()[0].find("Procedimento: Inserindo dados do retorno na tabela - Erro: "), std::string::npos);
    PendingReturns pending(*w.platform);
    ASSERT_EQ(pending.entries().size(), 1u);
    EXPECT_EQ(pending.entries()[0].monthDayYear, "03/05/2026");

    // The next tick: the row still cannot be written, and the process is not sent again.
    RecordSet second("second");
    const ReturnOutcome again = scanAndSend(w, second);
    EXPECT_TRUE(again.received.empty() && again.failed.empty());
    EXPECT_EQ(w.sim.returnTargets().size(), 1u);

    // The database takes rows again: the next scan writes the kept one and offers nothing.
    w.sql("DROP TRIGGER GERADOS_SEM_ESPACO");
    RecordSet third("third");
    RegistrationScan(w.ctx).automatic(third);
    EXPECT_TRUE(third.isEmpty());
    EXPECT_EQ(w.gerados(), (std::vector<std::string>{"LI|LI-5|2026-03-05"}));
    EXPECT_TRUE(pending.entries().empty());
    EXPECT_EQ(w.sim.returnTargets().size(), 1u);
}

TEST(ReturnSender, AProcessReturnedMeanwhileByAnotherWorkstationIsSkipped) {
    RetornoWorld w;
    w.orientador.li("LI-1", "N1", "04/03/2026", "P1");
    w.orientador.li("LI-2", "N2", "04/03/2026", "P2");
    RecordSet list("list");
    RegistrationScan(w.ctx).automatic(list);
    w.returned("LI", "LI-1");
    const ReturnOutcome outcome = ReturnSender(w.ctx).EnviarRetorno(list, true);
    EXPECT_EQ(outcome.received, (std::vector<std::string>{"LI - LI-2"}));
    EXPECT_EQ(w.sim.returnTargets().size(), 1u);
}

TEST(ReturnSender, WhileAnotherProgramReturnsNothingIsSentOrWritten) {
    RetornoWorld w;
    w.orientador.li("LI-1", "N1", "04/03/2026", "P1");
    RecordSet list("list");
    RegistrationScan(w.ctx).automatic(list);

    // Another program of this installation holds the lock (a lock of another open file counts as one).
    const std::string lockFile = w.env.home() + ReturnRunLock::FileName;
    const int other = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(ReturnRunLock(*w.platform).held());
    try {
        ReturnSender(w.ctx).EnviarRetorno(list, true);
        ADD_FAILURE() << "the run went ahead";
    } catch (const AppError& e) {
        EXPECT_EQ(std::string(e.what()), ReturnSender::OtherRun);
    }
    EXPECT_TRUE(w.sim.returnTargets().empty());
    EXPECT_TRUE(w.activity().empty());
    ::close(other);

    // Let go, the lock is there to be had, and it nests inside one program.
    ReturnRunLock outer(*w.platform);
    EXPECT_TRUE(outer.held());
    EXPECT_TRUE(ReturnRunLock(*w.platform).held());
}
