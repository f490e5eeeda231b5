#include "data/TablePreparation.h"
#include "OrientadorWorld.h"
#include "base/AppError.h"
#include "data/TransferProgress.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <ctime>

namespace {

const char* const Head = "DECLARAÇÃO_IMPORTAÇÃO";

// Noon of 15 June of a year, local time: its local year is that year in every time zone.
std::chrono::system_clock::time_point middleOf(int year) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = 5;
    tm.tm_mday = 15;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

struct Preparation : OrientadorWorld {
    TransferProgress progress;
    Preparation() {
        progress.reset(19);
        progress.now = [] { return middleOf(2026); };
        op.progressOpen(0, 19, "Preparando a transferência, Aguarde...");
    }
    std::string head(const std::string& id) {
        return VERIFICATABELANUMERO(ctx, progress, "IMPORT", Head, "NR_IDENT_USUARIO", "NR_DECL_IMP_MICRO", id);
    }
    void addHead(const std::string& micro, const std::string& id) {
        addRow("IMPORT.MDB", Head, {{"NR_DECL_IMP_MICRO", micro}, {"NR_IDENT_USUARIO", id}});
    }
    // A DI as the transfer writes it: the head row through the connection the preparation left open.
    std::string transfer(const std::string& id) {
        const std::string micro = head(id);
        OrientadorTable& t = dm.ADOTbl_IMPORT;
        t.insert();
        t.setText("NR_DECL_IMP_MICRO", micro);
        t.setText("NR_IDENT_USUARIO", id);
        t.post();
        dm.ADOCon_IMPORT.disconnect();
        return micro;
    }
};

} // namespace

TEST(TablePreparation, EmptyTableGivesTheFirstNumberAndLeavesTheTableOpen) {
    Preparation p;
    EXPECT_EQ(p.head("111"), "00001/26");
    EXPECT_TRUE(p.dm.ADOCon_IMPORT.connected());
    EXPECT_EQ(p.dm.ADOCon_IMPORT.connectionString(),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + p.folder + "\\IMPORT.mdb;Persist Security Info=False");
    EXPECT_TRUE(p.dm.ADOTbl_IMPORT.active());
    EXPECT_EQ(p.dm.ADOTbl_IMPORT.tableName(), Head);

    const auto steps = p.op.callsOf("progressStep");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].text, "Verificando dados da tabela DECLARAÇÃO_IMPORTAÇÃO");
    EXPECT_EQ(steps[0].extra[0], "1");
    EXPECT_EQ(steps[0].extra[1], "19");
    EXPECT_EQ(p.progress.counter, 1);
    EXPECT_GE(p.op.processEventsCount(), 1);
}

TEST(TablePreparation, NumberFollowsTheLastRowWithTheYearOfTheLocalDate) {
    Preparation p;
    p.addHead("00013/24", "A");
    p.addHead("00099/25", "B");
    EXPECT_EQ(p.head("C"), "00100/26");
    p.progress.now = [] { return middleOf(2031); };
    EXPECT_EQ(p.head("C"), "00100/31");

    // The last row decides, not the highest number; a last row without identifier counts as none.
    p.addHead("00050/26", "");
    p.progress.now = [] { return middleOf(2026); };
    EXPECT_EQ(p.head("C"), "00001/26");
}

TEST(TablePreparation, TwoProcessesGetConsecutiveNumbersAndATransferAgainReplacesItsHeadRow) {
    Preparation p;
    EXPECT_EQ(p.transfer("111"), "00001/26");
    EXPECT_EQ(p.transfer("222"), "00002/26");
    // The same process again, its identifier in another case: the old head row goes first.
    EXPECT_EQ(p.transfer("111"), "00003/26");
    p.addRow("IMPORT.MDB", Head, {{"NR_DECL_IMP_MICRO", "00004/26"}, {"NR_IDENT_USUARIO", "abc-9"}});
    EXPECT_EQ(p.transfer("ABC-9"), "00004/26");
    EXPECT_EQ(p.column("IMPORT.MDB", Head, "NR_IDENT_USUARIO"), (std::vector<std::string>{"222", "111", "ABC-9"}));
    EXPECT_EQ(p.column("IMPORT.MDB", Head, "NR_DECL_IMP_MICRO"),
              (std::vector<std::string>{"00002/26", "00003/26", "00004/26"}));
}

TEST(TablePreparation, RowsCarryingTheNewNumberAreClearedFromEveryTable) {
    Preparation p;
    for (const char* micro : {"00007/26", "00008/26", "00007/26"})
        p.addRow("IMPORT.MDB", "TRIBUTO", {{"NR_DECL_IMP_MICRO", micro}, {"CD_RECEITA_IMPOSTO", "0001"}});
    const std::string ignored =
        VERIFICATABELANUMERO(p.ctx, p.progress, "IMPORT", "TRIBUTO", "NR_DECL_IMP_MICRO", "", "00007/26");
    EXPECT_EQ(ignored, "00009/26"); // the number field defaults to the key field
    EXPECT_EQ(p.column("IMPORT.MDB", "TRIBUTO", "NR_DECL_IMP_MICRO"), (std::vector<std::string>{"00008/26"}));
    EXPECT_EQ(p.op.callsOf("progressStep").back().text, "Verificando dados da tabela TRIBUTO");
}

TEST(TablePreparation, VerificaTabelaClearsAProcessAndStepsAgainstTheGivenCount) {
    Preparation p;
    for (const char* id : {"DSI-1", "DSI-2", "dsi-1"})
        p.addRow("DSI.MDB", "DSI_BENS", {{"CD_DSI_MICRO", id}, {"NR_BEM", "001"}});
    p.progress.reset(0);
    VERIFICATABELA(p.ctx, p.progress, "DSI", "DSI_BENS", "CD_DSI_MICRO", 5, " DSI-1 ");
    EXPECT_EQ(p.column("DSI.MDB", "DSI_BENS", "CD_DSI_MICRO"), (std::vector<std::string>{"DSI-2"}));
    EXPECT_EQ(p.dm.ADOCon_IMPORT.connectionString(),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + p.folder + "\\DSI.mdb;Persist Security Info=False");
    VERIFICATABELA(p.ctx, p.progress, "DSI", "DSI_VOLUMES", "CD_DSI_MICRO", 5, "DSI-1");
    const auto steps = p.op.callsOf("progressStep");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].text, "Verificando dados da tabela DSI_VOLUMES");
    EXPECT_EQ(steps[1].extra[0], "2");
    EXPECT_EQ(steps[1].extra[1], "5");
}

TEST(TablePreparation, PastTheLastSequenceANumberInUseIsNeverHandedOut) {
    Preparation p;
    p.addHead("00001/26", "A");
    p.addHead("00002/26", "B");
    p.addHead("00004/25", "C");
    p.addHead("99999/26", "D");
    EXPECT_EQ(p.head("E"), "00003/26");

    // A following sequence already in use is skipped as well.
    p.addHead("00006/26", "F");
    p.addHead("00005/26", "G");
    EXPECT_EQ(p.head("H"), "00007/26");

    std::set<int> all;
    for (int s = 1; s <= 99999; ++s)
        all.insert(s);
    EXPECT_EQ(nextMicroNumber(99998, "26", {}), "99999/26");
    EXPECT_EQ(nextMicroNumber(99999, "26", {1, 2}), "00003/26");
    EXPECT_EQ(nextMicroNumber(-5, "26", {}), "00001/26");
    EXPECT_EQ(errorOf([&] { nextMicroNumber(99999, "26", all); }),
              "Não há mais números livres para o ano 26: as sequências 00001 a 99999 já estão em uso");
}

TEST(TablePreparation, AnUnreadableNumberIsNamedInTheErrorLogAndTheReadableOnesCount) {
    Preparation p;
    p.addHead("00013/26", "A");
    p.addHead("0001A/26", "X"); // typed into the Orientador by hand
    EXPECT_EQ(p.transfer("Y"), "00014/26");
    const std::string log = TestEnv::readFile(p.env.home() + "ERRO.CSV");
    EXPECT_NE(log.find("Procedimento: Verificando dados da tabela DECLARAÇÃO_IMPORTAÇÃO - Erro: O número '0001A/26' "
                       "da linha 2 da tabela DECLARAÇÃO_IMPORTAÇÃO (NR_IDENT_USUARIO 'X', campo NR_DECL_IMP_MICRO) "
                       "não começa com uma sequência de cinco algarismos"),
              std::string::npos)
        << log;
    // Every later transfer goes on numbering; the odd row stays as it is.
    EXPECT_EQ(p.transfer("Z"), "00015/26");
    EXPECT_EQ(p.column("IMPORT.MDB", Head, "NR_DECL_IMP_MICRO"),
              (std::vector<std::string>{"00013/26", "0001A/26", "00014/26", "00015/26"}));
}

TEST(TablePreparation, ABlankKeyIsRefusedAndTheRowsWithoutOneStay) {
    Preparation p;
    // Declarations typed into the Orientador: no identifier, an empty one.
    p.addHead("00001/26", "");
    p.addRow("IMPORT.MDB", "TRIBUTO", {{"CD_RECEITA_IMPOSTO", "0001"}});
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(p.file("IMPORT.MDB").c_str(), &db), SQLITE_OK);
    sqlite3_exec(db,
                 "INSERT INTO \"DECLARAÇÃO_IMPORTAÇÃO\" (NR_DECL_IMP_MICRO, NR_IDENT_USUARIO) VALUES ('00002/26', '')",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);

    EXPECT_EQ(errorOf([&] { p.head("   "); }), "A chave NR_IDENT_USUARIO está em branco: nenhuma linha da tabela "
                                               "DECLARAÇÃO_IMPORTAÇÃO foi excluída");
    EXPECT_EQ(
        errorOf([&] { VERIFICATABELANUMERO(p.ctx, p.progress, "IMPORT", "TRIBUTO", "NR_DECL_IMP_MICRO", "", ""); }),
        "A chave NR_DECL_IMP_MICRO está em branco: nenhuma linha da tabela TRIBUTO foi excluída");
    EXPECT_NE(errorOf([&] { VERIFICATABELA(p.ctx, p.progress, "DSI", "DSI_BENS", "CD_DSI_MICRO", 5, " "); }), "");
    EXPECT_EQ(p.column("IMPORT.MDB", Head, "NR_DECL_IMP_MICRO"), (std::vector<std::string>{"00001/26", "00002/26"}));
    EXPECT_EQ(p.column("IMPORT.MDB", "TRIBUTO", "CD_RECEITA_IMPOSTO"), (std::vector<std::string>{"0001"}));
}

TEST(TablePreparation, FailuresEndThePreparationWithAClearMessage) {
    Preparation p;
    EXPECT_NE(errorOf([&] {
                  VERIFICATABELANUMERO(p.ctx, p.progress, "IMPORT", "DECLARACAO", "NR_IDENT_USUARIO", "", "1");
              }).find("A tabela DECLARACAO não existe no arquivo IMPORT.MDB"),
              std::string::npos);
    EXPECT_NE(errorOf([&] {
                  VERIFICATABELA(p.ctx, p.progress, "DSI", "DSI_BENS", "CD_DSI", 5, "1");
              }).find("O campo CD_DSI não existe na tabela DSI_BENS"),
              std::string::npos);
    EXPECT_NE(errorOf([&] {
                  VERIFICATABELA(p.ctx, p.progress, "DSIX", "DSI_BENS", "CD_DSI_MICRO", 5, "1");
              }).find("O arquivo DSIX.mdb não foi encontrado"),
              std::string::npos);

    // The Orientador holding the file while the preparation would delete the process's rows.
    p.addRow("DSI.MDB", "DSI_BENS", {{"CD_DSI_MICRO", "DSI-1"}});
    sqlite3* other = nullptr;
    sqlite3_open(p.file("DSI.MDB").c_str(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    p.dm.ADOCon_IMPORT.setBusyTimeout(100);
    const std::string locked =
        errorOf([&] { VERIFICATABELA(p.ctx, p.progress, "DSI", "DSI_BENS", "CD_DSI_MICRO", 5, "DSI-1"); });
    EXPECT_NE(locked.find("O arquivo DSI.MDB está bloqueado por outro programa; o Orientador - SISCOMEX pode estar "
                          "com ele aberto"),
              std::string::npos)
        << locked;
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    // Each step is taken before its table is touched, so the window (and a failure report quoting it)
    // names the table that failed, not the one before it: one step for each of the four attempts.
    EXPECT_EQ(p.progress.counter, 4);

    p.settings.write(Settings::Dados, Settings::KeyDados, p.env.path("ausente"));
    EXPECT_NE(errorOf([&] { p.head("1"); }).find("pasta do Orientador - SISCOMEX não foi encontrada"),
              std::string::npos);
}
