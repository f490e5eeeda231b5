// The DI transfer never destroys what is in IMPORT.MDB: blank and odd identifiers, values with more
// decimals than the Orientador keeps, and a transfer stopped half way by a lock or a killed program.
#include "base/ForwardingOperator.h"
#include "import/DiTransferWorld.h"
#include "import/TransferRules.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>

namespace {

const char* const Head = "DECLARAÇÃO_IMPORTAÇÃO";
const std::string Sample = "DI_VARIAS_ADICOES.xml";

// Runs an action when the progress window reaches a step (the transfer is then half way).
class StepTrap : public ForwardingOperator {
public:
    StepTrap(Operator& inner, std::string step, std::function<void()> action)
        : ForwardingOperator(inner), m_step(std::move(step)), m_action(std::move(action)) {}
    void progressStep(int current, int total, const std::string& text, bool advanceGauge) override {
        ForwardingOperator::progressStep(current, total, text, advanceGauge);
        if (text == m_step && m_action) {
            auto action = std::move(m_action);
            m_action = nullptr;
            action();
        }
    }

private:
    std::string m_step;
    std::function<void()> m_action;
};

// Two declarations the Orientador's operator typed by hand (no identifier, an empty one), with a tax
// row each.
void addHandTypedDeclarations(const DiTransferWorld& w) {
    execSql(w.file("IMPORT.MDB"),
            "INSERT INTO \"DECLARAÇÃO_IMPORTAÇÃO\" (NR_DECL_IMP_MICRO) VALUES ('00900/25');"
            "INSERT INTO \"DECLARAÇÃO_IMPORTAÇÃO\" (NR_DECL_IMP_MICRO, NR_IDENT_USUARIO) VALUES ('00901/25', '');"
            "INSERT INTO \"TRIBUTO\" (NR_DECL_IMP_MICRO, CD_RECEITA_IMPOSTO) VALUES ('00900/25', '0001');"
            "INSERT INTO \"TRIBUTO\" (NR_DECL_IMP_MICRO, CD_RECEITA_IMPOSTO) VALUES ('00901/25', '0001');");
}

} // namespace

TEST(DiTransferSafety, ABlankIdentifierIsRefusedAndHandTypedDeclarationsStay) {
    DiTransferWorld w;
    addHandTypedDeclarations(w);

    // Only blanks: refused as a document without identifier.
    SampleDocument d(Sample);
    d.set("/PROCESSOS/PROCESSO/ID_PROCESSO", "   ");
    TransferOutcome outcome = w.transfer(d.text());
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0], "XML NÃO VALIDADO!!!\rVerifique se o arquivo foi gerado corretamente \rou se foi "
                                  "selecionado o arquivo correto...");
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    EXPECT_TRUE(w.op.callsOf("ask").empty());

    // A later declaration of the document with a blank identifier: the first is written, the blank one
    // removes nothing.
    w.op.clear();
    SampleDocument two("DI_DUAS_DECLARACOES.xml");
    two.set("/PROCESSOS/PROCESSO[ID_PROCESSO='222']/ID_PROCESSO", " ");
    outcome = w.transfer(two.text());
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{"111"}));
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_NE(w.op.messages()[0].find("A chave NR_IDENT_USUARIO está em branco"), std::string::npos)
        << w.op.messages()[0];
    EXPECT_EQ(columnOf(w.rows(Head), "NR_DECL_IMP_MICRO"),
              (std::vector<std::string>{"00900/25", "00901/25", microNumber(1)}));
    const auto taxes = columnOf(w.rows("TRIBUTO"), "NR_DECL_IMP_MICRO");
    EXPECT_EQ(std::count(taxes.begin(), taxes.end(), "00900/25"), 1);
    EXPECT_EQ(std::count(taxes.begin(), taxes.end(), "00901/25"), 1);
}

TEST(DiTransferSafety, AnIdentifierWithDotsAndBlanksIsStoredAsItIsLookedUp) {
    DiTransferWorld w;
    SampleDocument d(Sample);
    d.set("/PROCESSOS/PROCESSO/ID_PROCESSO", " 2026.001534 ");
    w.transfer(d.text());
    w.transfer(d.text());
    const TransferOutcome outcome = w.transfer(d.text());
    EXPECT_TRUE(w.op.messages().empty());
    const auto heads = w.rows(Head);
    ASSERT_EQ(heads.size(), 1u) << "each transfer replaces the one before";
    EXPECT_EQ(heads[0].at("NR_IDENT_USUARIO"), "2026.001534");
    EXPECT_EQ(heads[0].at("NR_DECL_IMP_MICRO"), microNumber(1)) << "the only declaration: its number again";
    EXPECT_EQ(w.rows("OP_ADIÇÃO_DE_IMPORTAÇÃO").size(), 3u);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{"2026.001534"}));
    EXPECT_EQ(w.op.callsOf("showMessage").back().text,
              "DI(s) 2026.001534 recebida(s) com êxito ao Orientador - SISCOMEX!");
}

TEST(DiTransferSafety, DecimalsBeyondTheFieldAreRoundedNotLost) {
    DiTransferWorld w;
    SampleDocument d(Sample);
    d.set("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='1']/QUANTIDADE", "7.123456");
    d.set("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='1']/UNITARIO_CVENDA", "176.36571428571428");
    d.set("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='2']/QUANTIDADE", "9.999996");
    d.set("/PROCESSOS/PROCESSO/ADICAO[ID_ADICAO='001']/QTDE_MEDIDA_ESTAT", "1860.123455");
    d.set("/PROCESSOS/PROCESSO/ADICAO[ID_ADICAO='002']/VR_TAXAJUROS", "0.04250004");
    d.set("/PROCESSOS/PROCESSO/ITEM[ID_ITEM='3']/PESO_LIQUIDO", "5320.0000049");
    EXPECT_EQ(w.transfer(d.text()).status, TransferStatus::Transferred);
    EXPECT_TRUE(w.op.messages().empty()) << w.op.messages().front();

    const auto details = w.rows("DETALHE_MERCADORIA");
    EXPECT_EQ(details[0].at("QT_MERC_UN_COMERC"), "00000000712346");
    EXPECT_EQ(details[0].at("VL_UNID_COND_VENDA"), "00000000001763657143");
    EXPECT_EQ(details[1].at("QT_MERC_UN_COMERC"), "00000001000000");
    const auto additions = w.rows("OP_ADIÇÃO_DE_IMPORTAÇÃO");
    EXPECT_EQ(additions[0].at("QT_UN_ESTATISTICA"), "00000186012346");
    EXPECT_EQ(additions[1].at("PC_TAXA_JUROS"), "000000000425000");
    EXPECT_EQ(additions[1].at("PL_MERCADORIA"), "000000532000000");
}

TEST(DiTransferSafety, RoundingOfDecimalTexts) {
    EXPECT_EQ(roundDecimalText("7.123456", 5), "7.12346");
    EXPECT_EQ(roundDecimalText("7,123454", 5), "7,12345");
    EXPECT_EQ(roundDecimalText("99.999995", 5), "100.00000");
    EXPECT_EQ(roundDecimalText("-0.0000051", 5), "-0.00001");
    EXPECT_EQ(roundDecimalText("12.5", 5), "12.5") << "fewer decimals stay as they are";
    EXPECT_EQ(roundDecimalText("12", 5), "12");
    EXPECT_EQ(roundDecimalText("1.7", 0), "2.");
    EXPECT_EQ(roundDecimalText("abc.123456", 2), "abc.123456") << "not a number: the field refuses it";
    EXPECT_EQ(roundDecimalText("1.2.3", 0), "1.2.3");
}

TEST(DiTransferSafety, AnUnreadableMicroNumberDoesNotBlockLaterTransfers) {
    DiTransferWorld w;
    w.transfer(w.sample(Sample));
    execSql(w.file("IMPORT.MDB"), "INSERT INTO \"DECLARAÇÃO_IMPORTAÇÃO\" (NR_DECL_IMP_MICRO, NR_IDENT_USUARIO) "
                                  "VALUES ('DI-TESTE', 'manual')");
    w.op.clear();
    EXPECT_EQ(w.transfer(w.sample("DI_DUAS_DECLARACOES.xml")).status, TransferStatus::Transferred);
    EXPECT_TRUE(w.op.messages().empty());
    EXPECT_EQ(columnOf(w.rows(Head), "NR_DECL_IMP_MICRO"),
              (std::vector<std::string>{microNumber(1), "DI-TESTE", microNumber(2), microNumber(3)}));
    EXPECT_NE(w.errorLog().find("O número 'DI-TESTE' da linha 2 da tabela DECLARAÇÃO_IMPORTAÇÃO (NR_IDENT_USUARIO "
                                "'manual', campo NR_DECL_IMP_MICRO)"),
              std::string::npos)
        << w.errorLog();
}

TEST(DiTransferSafety, AFileLockedByTheOrientadorChangesNothing) {
    DiTransferWorld w;
    w.transfer(w.sample(Sample));
    const auto before = w.rows("TRIBUTO");
    w.dm.ADOCon_IMPORT.setBusyTimeout(100);

    // Before the transfer starts: refused at once, nothing removed.
    sqlite3* orientador = nullptr;
    ASSERT_EQ(sqlite3_open(w.file("IMPORT.MDB").c_str(), &orientador), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(orientador, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    w.op.clear();
    TransferOutcome outcome = w.transfer(w.sample(Sample));
    sqlite3_exec(orientador, "ROLLBACK", nullptr, nullptr, nullptr);
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_NE(w.op.messages()[0].find("O arquivo IMPORT.MDB está bloqueado por outro programa"), std::string::npos)
        << w.op.messages()[0];
    expectSampleDeclaration(w, microNumber(1));

    // Half way: the Orientador reads the file while the declaration is written. It sees the earlier
    // version whole (not half of the new one), and its reading does not hold the transfer up.
    w.op.clear();
    long long taxesSeen = -1;
    StepTrap trap(w.op, "Transferindo a tabela TRIBUTO", [&] {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(orientador, "SELECT count(*) FROM TRIBUTO", -1, &s, nullptr);
        if (sqlite3_step(s) == SQLITE_ROW)
            taxesSeen = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
    });
    AppContext ctx{*w.platform, trap, w.settings, w.logs, w.dm};
    resetProcessRecordSets(w.dm);
    w.op.queueYesNo(true);
    w.op.queueButton(0);
    outcome = importProcessToOrientador(ctx, w.sample(Sample), w.transfers);
    sqlite3_close(orientador);
    EXPECT_EQ(taxesSeen, static_cast<long long>(before.size()));
    EXPECT_EQ(outcome.status, TransferStatus::Transferred);
    EXPECT_TRUE(w.op.messages().empty());
    expectSampleDeclaration(w, microNumber(1));
}

TEST(DiTransferSafety, AProgramKilledHalfWayLeavesTheEarlierDeclarationWhole) {
    DiTransferWorld w;
    w.transfer(w.sample(Sample));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The program dies while the new version is half written: the tax rows are being inserted.
        StepTrap trap(w.op, "Transferindo a tabela TRIBUTO", [] { raise(SIGKILL); });
        AppContext ctx{*w.platform, trap, w.settings, w.logs, w.dm};
        resetProcessRecordSets(w.dm);
        w.op.queueYesNo(true);
        importProcessToOrientador(ctx, w.sample(Sample), w.transfers);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the transfer should have been killed on its way";
    expectSampleDeclaration(w, microNumber(1));

    // The next transfer finds the file as it was and replaces the declaration as usual.
    w.op.clear();
    EXPECT_EQ(w.transfer(w.sample(Sample)).status, TransferStatus::Transferred);
    expectSampleDeclaration(w, microNumber(1));
}
