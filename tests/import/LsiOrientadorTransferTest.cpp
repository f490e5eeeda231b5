// The LSI transfer into LIDSI.MDB through the Orientador entry, with a scripted operator, real SQLite
// Orientador files and the repository's transformation files and samples.
#include "base/ForwardingOperator.h"
#include "import/DiTransferWorld.h"

#include <sqlite3.h>

namespace {

const char* const File = "LIDSI.MDB";
const char* const Operation = "OPERAÇÃO_COM_TRATAMENTO";
const std::string Sample = "LSI.xml";
const std::string Importers = "LSI_IMPORTADORES.xml";
const std::string Process = "2026002315";
const std::string L1 = "26/0460001-2";
const std::string L2 = "26/0460002-0";

// The operation of a licence of the samples (first item and first highlight of the licence given).
StoredRow operation(const std::string& process, bool second) {
    StoredRow row = sampleImporter();
    for (const auto& [field, value] :
         StoredRow{{"NR_TRAT_IMP_MICRO", process},
                   {"CD_ORIGEM_LI", "1"},
                   {"CD_TIPO_IMPORTADOR", "4"},
                   {"CD_PAIS_PROC_CARGA", "249"},
                   {"CD_UL_DESPACHO", "0817700"},
                   {"NR_EMP_DECLARANTE", "55741236000170"},
                   {"TX_INFO_COMPL", "Licenças para reagentes de laboratório sujeitos a controle da ANVISA."},
                   {"CD_MERCADORIA_NCM", second ? "29420000" : "38220090"},
                   {"CD_PAIS_ORIG_MERC", "249"},
                   {"PL_MERCADORIA", "000000643045000"},
                   {"CD_MOEDA_NEGOCIADA", "220"},
                   {"QT_MERC_UN_COMERC", second ? "00000001200000" : "00000004000000"},
                   {"NM_UN_MEDID_COMERC", second ? "QUILOGRAMA LIQUIDO" : "KIT"},
                   {"VL_UNID_LOC_EMB", second ? "0000000084000" : "0000000031250"},
                   {"TX_DESC_DET_MERC", second ? "Padrão analítico de referência, pureza mínima 99,5%"
                                               : "Kit reagente para diagnóstico in vitro, caixa com 100 testes"},
                   {"QT_UN_ESTATISTICA", second ? "00000001200000" : "00000006500000"},
                   {"CD_REGIME_TRIBUTAR", "1"},
                   {"IN_MATERIAL_USADO", "False"},
                   {"NR_DESTAQUE_NCM", second ? "999" : "001"},
                   {"CD_NATUREZA_OP", "03"},
                   {"CD_TIPO_CLASS", "1"}})
        row[field] = value;
    return row;
}

} // namespace

TEST(LsiOrientadorTransfer, TheLastLicenceOfAProcessStaysAndOnlyItIsReportedTransferred) {
    DiTransferWorld w;
    const TransferOutcome outcome = w.transfer(w.sample(Sample));
    EXPECT_TRUE(w.op.unexpected().empty());
    EXPECT_EQ(w.op.callsOf("ask").at(0).caption, "Pelomira - LSI");

    // Both licences were written in turn under the process number: the second replaced the first.
    const auto heads = w.rows(File, Operation);
    ASSERT_EQ(heads.size(), 1u);
    expectRow(heads[0], operation(Process, true), "the operation");
    expectFileTable(w, File, "PROCESSO_ANUENTE", {"NR_TRAT_IMP_MICRO", "NR_PROC_ANUENTE", "SG_ORG_PROC_ANUENT"},
                    {{Process, "25351,104513/2026-70", "ANVISA"}, {Process, "21000,018822/2026-02", "MAPA"}});

    // The report tells what is in the file: the replaced licence is named, not listed as transferred.
    const auto warnings = w.op.callsOf("message");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].icon, MessageIcon::Warning);
    EXPECT_EQ(warnings[0].text, "ATENÇÃO!!!\rA LSI 26/0460001-2 foi substituída pela LSI 26/0460002-0 no Orientador - "
                                "SISCOMEX.\rAs licenças do processo 2026002315 têm o mesmo número de operação "
                                "(2026002315): só a última fica gravada.");
    const auto closing = w.op.callsOf("showMessage");
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].text, "LSI(s) 26/0460002-0 transferida(s) com êxito!\r");
    const std::string log = w.activityLog();
    EXPECT_NE(log.find("LSI 26/0460001-2 substituída pela LSI 26/0460002-0 (processo 2026002315)"), std::string::npos);
    EXPECT_NE(log.find("Finalizando Importação de Processos para o SISCOMEX (LSI: 26/0460002-0)"), std::string::npos);
    EXPECT_EQ(outcome.status, TransferStatus::Transferred);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{L2}));

    // Per licence the two tables are prepared by the process identifier, then written.
    const auto opened = w.op.callsOf("progressOpen");
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0].extra, (std::vector<std::string>{"0", "2"}));
    EXPECT_EQ(opened[1].extra, (std::vector<std::string>{"0", "2"}));

    // Transferred again: the same single operation.
    w.op.clear();
    w.transfer(w.sample(Sample));
    EXPECT_EQ(w.rows(File, Operation).size(), 1u);
    EXPECT_EQ(w.rows(File, "PROCESSO_ANUENTE").size(), 2u);
}

TEST(LsiOrientadorTransfer, TheImporterTypeDecidesItsDescription) {
    DiTransferWorld w;
    EXPECT_EQ(w.transfer(w.sample(Importers)).status, TransferStatus::Transferred);
    EXPECT_TRUE(w.op.messages().empty()) << w.op.messages().front();
    const auto heads = w.rows(File, Operation);
    ASSERT_EQ(heads.size(), 3u);
    // Type 1: neither name nor address, state or country.
    EXPECT_EQ(heads[0].at("NR_TRAT_IMP_MICRO"), "2026002321");
    EXPECT_EQ(heads[0].at("CD_TIPO_IMPORTADOR"), "1");
    EXPECT_EQ(heads[0].at("NR_IMPORTADOR"), "45721893000100");
    for (const char* field : {"NM_IMPORTADOR", "ED_LOGR_IMPORTADOR", "ED_MUN_IMPORTADOR", "ED_CEP_IMPORTADOR",
                              "ED_UF_IMPORTADOR", "CD_PAIS_IMPORTADOR"})
        EXPECT_EQ(heads[0].at(field), "") << field;
    // Type 3 (abroad): name, address and country, no state (the field writer's "." → "," as everywhere).
    EXPECT_EQ(heads[1].at("NM_IMPORTADOR"), "Instrumentos Andinos S,A,");
    EXPECT_EQ(heads[1].at("ED_MUN_IMPORTADOR"), "Santiago");
    EXPECT_EQ(heads[1].at("CD_PAIS_IMPORTADOR"), "249");
    EXPECT_EQ(heads[1].at("ED_UF_IMPORTADOR"), "");
    // Type 4: name, address and state, no country.
    EXPECT_EQ(heads[2].at("NM_IMPORTADOR"), "Metalúrgica Vale do Paraíba Indústria e Comércio Ltda");
    EXPECT_EQ(heads[2].at("ED_UF_IMPORTADOR"), "MG");
    EXPECT_EQ(heads[2].at("CD_PAIS_IMPORTADOR"), "");
    EXPECT_EQ(w.op.callsOf("showMessage").at(0).text,
              "LSI(s) 26/0461010-1, 26/0461020-2, 26/0461030-3 transferida(s) com êxito!\r");

    // A type that is not a number ends the run with a message naming it.
    w.op.clear();
    SampleDocument d(Importers);
    d.set("/PROCESSOS/PROCESSO[ID_PROCESSO='2026002322']/IMPORTADOR_TIPO", "X");
    w.transfer(d.text());
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_NE(w.op.messages()[0].find("IMPORTADOR_TIPO do processo 2026002322 inválido: 'X'"), std::string::npos)
        << w.op.messages()[0];
}

TEST(LsiOrientadorTransfer, AnImpededLicenceIsReportedAndTheRunEndsNormally) {
    DiTransferWorld w;
    SampleDocument d(Sample);
    d.set("/PROCESSOS/PROCESSO/DADOS_LI[ID_LI='26/0460002-0']/MENSAGEM", "Aguardando anuência.");
    const TransferOutcome outcome = w.transfer(d.text());
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0], "IMPEDIMENTO NO PROCESSO 26/0460002-0\rDescrição: Aguardando anuência.\rEste "
                                  "processo não será recebido!");
    EXPECT_EQ(w.op.callsOf("showMessage").at(0).text,
              "LSI(s) 26/0460001-2 transferida(s) com êxito!\rLSI(s) NÃO RECEBIDAS por impedimento: 26/0460002-0");
    EXPECT_NE(w.activityLog().find("Processos não importados por impedimento (LSI: 26/0460002-0)"), std::string::npos);
    const auto heads = w.rows(File, Operation);
    ASSERT_EQ(heads.size(), 1u);
    expectRow(heads[0], operation(Process, false), "the first licence, not replaced");
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{L1}));
}

TEST(LsiOrientadorTransfer, AFailureKeepsTheProcessesBeforeItAndTheFailedOnesEarlierVersion) {
    DiTransferWorld w;
    w.transfer(w.sample(Importers));
    execSql(w.file(File), "CREATE TRIGGER recusa BEFORE INSERT ON \"PROCESSO_ANUENTE\" WHEN NEW.NR_TRAT_IMP_MICRO = "
                          "'2026002322' BEGIN SELECT RAISE(ABORT, 'linha recusada'); END");
    w.op.clear();
    SampleDocument d(Importers);
    d.set("/PROCESSOS/PROCESSO[ID_PROCESSO='2026002322']/PROCEDENCIA", "063");
    const TransferOutcome outcome = w.transfer(d.text());
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_NE(w.op.messages()[0].find("Procedimento: Transferindo a tabela PROCESSO_ANUENTE\rERRO: "),
              std::string::npos)
        << w.op.messages()[0];
    EXPECT_EQ(w.op.callsOf("showMessage").at(0).text, "LSI(s) 26/0461010-1 transferida(s) com êxito!\r");
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{"26/0461010-1"}));
    // The failed process as before (its country of origin 249 and its agency process); the next one
    // was not reached and stays as it was.
    const auto heads = w.rows(File, Operation);
    ASSERT_EQ(heads.size(), 3u);
    EXPECT_EQ(columnOf(heads, "NR_TRAT_IMP_MICRO"),
              (std::vector<std::string>{"2026002322", "2026002323", "2026002321"}));
    EXPECT_EQ(heads[0].at("CD_PAIS_PROC_CARGA"), "249");
    EXPECT_EQ(columnOf(w.rows(File, "PROCESSO_ANUENTE"), "NR_TRAT_IMP_MICRO"),
              (std::vector<std::string>{"2026002322", "2026002323", "2026002321"}));
}

// While a message waits for the operator between two units, the units before it are in the file and
// the Orientador can write it: the run holds nothing meanwhile.
TEST(LsiOrientadorTransfer, TheFileIsFreeAndTheUnitsBeforeAreInItWhileTheOperatorReadsAWarning) {
    DiTransferWorld w;
    struct Probe : ForwardingOperator {
        std::string file;
        int lockResult = -1;
        long long operations = -1;
        using ForwardingOperator::ForwardingOperator;
        void message(const std::string& text, const std::string& caption, MessageIcon icon) override {
            sqlite3* other = nullptr;
            if (sqlite3_open(file.c_str(), &other) == SQLITE_OK) {
                lockResult = sqlite3_exec(other, "BEGIN IMMEDIATE; COMMIT", nullptr, nullptr, nullptr);
                sqlite3_stmt* count = nullptr;
                sqlite3_prepare_v2(other, "SELECT COUNT(*) FROM \"OPERAÇÃO_COM_TRATAMENTO\"", -1, &count, nullptr);
                if (count && sqlite3_step(count) == SQLITE_ROW)
                    operations = sqlite3_column_int64(count, 0);
                sqlite3_finalize(count);
            }
            sqlite3_close(other);
            ForwardingOperator::message(text, caption, icon);
        }
    } probe(w.op);
    probe.file = w.file(File);
    AppContext ctx{*w.platform, probe, w.settings, w.logs, w.dm};
    resetProcessRecordSets(w.dm);
    w.op.queueYesNo(true);
    w.op.queueButton(0);
    const TransferOutcome outcome = importProcessToOrientador(ctx, w.sample(Sample), w.transfers);
    EXPECT_EQ(outcome.status, TransferStatus::Transferred);
    ASSERT_EQ(w.messages(MessageIcon::Warning).size(), 1u); // the replaced licence
    EXPECT_EQ(probe.lockResult, SQLITE_OK);
    EXPECT_EQ(probe.operations, 1);
}
