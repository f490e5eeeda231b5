#include "base/Logs.h"
#include "TestEnv.h"
#include "base/ScriptedOperator.h"
#include "base/TextUtils.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

std::vector<std::string> linesOf(const std::string& content) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t p; (p = content.find("\r\n", from)) != std::string::npos; from = p + 2)
        lines.push_back(content.substr(from, p - from));
    EXPECT_EQ(from, content.size()) << "every line must end in CR LF";
    return lines;
}

} // namespace

TEST(Logs, FirstRecordWritesHeaderThenRecordsAppend) {
    TestEnv env;
    auto platform = Platform::createNative();
    ScriptedOperator op;
    Logs logs(*platform, op);
    logs.activity("Iniciando; Exportação");
    logs.activity("Segunda");
    const auto lines = linesOf(TestEnv::readFile(env.home() + "PELOMIRA_LOG.CSV"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "TERMINAL;USUARIO;PROCEDIMENTO;DATA/HORA");
    const auto fields = split(lines[1], ';');
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0], upperText(platform->computerName()));
    EXPECT_EQ(fields[1], upperText(platform->registeredUserName()));
    EXPECT_EQ(fields[2], "Iniciando Exportação"); // separator removed, nothing in its place
    EXPECT_EQ(split(lines[2], ';')[2], "Segunda");
    EXPECT_TRUE(op.calls().empty());
}

TEST(Logs, DeletedLogGetsANewHeader) {
    TestEnv env;
    auto platform = Platform::createNative();
    ScriptedOperator op;
    Logs logs(*platform, op);
    logs.error("Recriando Índices", "falhou");
    std::remove((env.home() + "ERRO.CSV").c_str());
    logs.error("Recriando Índices", "de novo");
    const auto lines = linesOf(TestEnv::readFile(env.home() + "ERRO.CSV"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "TERMINAL;USUARIO;PROCEDIMENTO;DATA/HORA");
    EXPECT_EQ(split(lines[1], ';')[2], "Procedimento: Recriando Índices - Erro: de novo");
}

TEST(Logs, DateTimeLeavesOutTheTimeAtMidnight) {
    std::tm tm{};
    tm.tm_year = 2026 - 1900, tm.tm_mon = 2, tm.tm_mday = 7, tm.tm_hour = 0, tm.tm_isdst = -1;
    const auto midnight = std::chrono::system_clock::from_time_t(std::mktime(&tm));
    EXPECT_EQ(Logs::dateTimeText(midnight), "07/03/2026");
    EXPECT_EQ(Logs::dateTimeText(midnight + std::chrono::seconds(3725)), "07/03/2026 01:02:05");
}

TEST(Logs, FailureReportShowsMessageAndWritesErrorLine) {
    TestEnv env;
    auto platform = Platform::createNative();
    ScriptedOperator op;
    Logs logs(*platform, op);
    logs.reportFailure("OCORREU UM ERRO", "disco cheio", "Gravando dados na tabela UNIDADE",
                       "Gravando dados na tabela UNIDADE");
    ASSERT_EQ(op.messages().size(), 1u);
    EXPECT_EQ(op.messages()[0], "OCORREU UM ERRO\rPor favor entre em contato com o suporte técnico\r\r"
                                "Procedimento: Gravando dados na tabela UNIDADE\rERRO: disco cheio");
    EXPECT_EQ(op.calls()[0].caption, "Pelomira");
    EXPECT_EQ(op.calls()[0].icon, MessageIcon::Error);
    const auto lines = linesOf(TestEnv::readFile(env.home() + "ERRO.CSV"));
    EXPECT_EQ(split(lines.back(), ';')[2], "Procedimento: Gravando dados na tabela UNIDADE - Erro: disco cheio");
}

TEST(Logs, UnwritableLogIsReportedOnceAndNeverLoops) {
    TestEnv env;
    auto platform = Platform::createNative();
    ScriptedOperator op;
    Logs logs(*platform, op);
    // Both logs are folders: the record fails, and so does the error line about it.
    TestEnv::makeFolder(env.home() + "PELOMIRA_LOG.CSV");
    TestEnv::makeFolder(env.home() + "ERRO.CSV");
    logs.activity("qualquer");
    ASSERT_EQ(op.messages().size(), 1u);
    EXPECT_EQ(op.calls()[0].caption, "Erro na gravação");
    EXPECT_TRUE(startsWith(op.messages()[0], "OCORREU UM ERRO NA GERAÇÃO/GRAVAÇÃO DO ARQUIVO DE LOG\r"
                                             "Por favor entre em contato com o suporte técnico\rERRO: "));
}

TEST(Logs, FailingActivityLogIsNotedInErrorLog) {
    TestEnv env;
    auto platform = Platform::createNative();
    ScriptedOperator op;
    Logs logs(*platform, op);
    TestEnv::makeFolder(env.home() + "PELOMIRA_LOG.CSV");
    logs.activity("qualquer");
    const auto lines = linesOf(TestEnv::readFile(env.home() + "ERRO.CSV"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(startsWith(split(lines[1], ';')[2], "Erro na gravação do LOG - Erro: "));
}

TEST(Logs, ARecordStaysOneReadableLine) {
    TestEnv env;
    auto platform = Platform::createNative();
    ScriptedOperator op;
    Logs logs(*platform, op);
    logs.error("Gravando", "valor com\r\nduas linhas");
    logs.error("Gravando", std::string(10'000'000, 'x'));
    const auto lines = linesOf(TestEnv::readFile(env.home() + "ERRO.CSV"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(split(lines[1], ';')[2], "Procedimento: Gravando - Erro: valor com  duas linhas");
    EXPECT_LT(lines[2].size(), 2200u);
    EXPECT_EQ(split(lines[2], ';').size(), 4u);
}

TEST(Logs, AFullDiskLeavesNoHalfRecordAndTheHeaderComesLater) {
    TestEnv env;
    auto platform = Platform::createNative();
    ScriptedOperator op;
    Logs logs(*platform, op);
    const std::string log = env.home() + "PELOMIRA_LOG.CSV";
    // A first write that failed on a full disk left an empty file: the next record brings the header.
    TestEnv::writeFile(log, "");
    logs.activity("Primeira");
    auto lines = linesOf(TestEnv::readFile(log));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "TERMINAL;USUARIO;PROCEDIMENTO;DATA/HORA");

    // The disk fills up in the middle of a record (a file-size limit stands in for it): the record is
    // taken back whole and the operator is told.
    const std::string before = TestEnv::readFile(log);
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = before.size() + 20;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    logs.activity(std::string(200, 'y'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(TestEnv::readFile(log), before);
    ASSERT_FALSE(op.calls().empty());
    EXPECT_NE(op.calls().front().text.find(Logs::LogFailureHeadline), std::string::npos);
}
