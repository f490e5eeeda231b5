// The LI transfer into REGIMP.MDB through the Orientador entry, with a scripted operator, real SQLite
// Orientador files and the repository's transformation files and samples.
#include "import/DiTransferWorld.h"

namespace {

const char* const File = "REGIMP.MDB";
const char* const Operation = "OPERAÇÃO_COM_TRATAMENTO";
const char* const Detail = "DETALHE_MERC_COM_TRATAMENTO";
const std::string Sample = "LI_DUAS_LICENCAS.xml";
const std::string L1 = "26/0456789-0";
const std::string L2 = "26/0456790-3";

// The head row of a licence of the sample: the importer, the process's values, those of the licence's
// first item and of the licence.
StoredRow operation(const std::string& micro, const std::string& licence) {
    StoredRow row = sampleImporter();
    row["CD_TIPO_IMPORTADOR"] = "1";
    const bool first = licence == L1;
    for (const auto& [field, value] : StoredRow{
             {"NR_TRAT_IMP_MICRO", micro},
             {"NR_IDENT_USUARIO", licence},
             {"CD_ORIGEM_LI", "1"},
             {"CD_ATIV_ECON_IMPO", "2539001"},
             {"CD_URF_ENTR_MERC", "0817700"},
             {"CD_MERCADORIA_NCM", first ? "38220090" : "29420000"},
             {"CD_MOEDA_NEGOCIADA", "220"},
             {"CD_PAIS_PROC_MERC", "249"},
             {"NM_FORN_ESTR", first ? "BioReagents Laboratories Inc. " : "Chem Standards Distribution LLC "},
             {"ED_LOGR_FORN_ESTR", first ? "Research Parkway " : "Commerce Drive "},
             {"ED_NR_FORN_ESTR", first ? "2200 " : "85 "},
             {"ED_COMPL_FORN_ESTR", first ? "Suite 400 " : " "},
             {"ED_CIDAD_FORN_ESTR", first ? "Durham " : "Edison "},
             {"ED_ESTAD_FORN_ESTR", first ? "North Carolina " : "New Jersey "},
             {"CD_PAIS_AQUIS_MERC", "249"},
             {"CD_AUSENCIA_FABRIC", first ? "1" : "2"},
             {"CD_PAIS_ORIG_MERC", "249"},
             {"CD_MERC_NALADI_SH", first ? "382200" : "294200"},
             {"PL_MERCADORIA", first ? "000000001840000" : "000000001200000"},
             {"QT_UN_ESTATISTICA", first ? "00000006500000" : "00000001200000"},
             {"QT_DIA_LIMITE_PGTO", "180"},
             {"CD_INCOTERMS_VENDA", "FCA"},
             {"VL_MERC_MNEG_EMB", first ? "000000001995000" : "000000001008000"},
             {"CD_TIPO_ACORDO_TAR", "1"},
             {"CD_REGIME_TRIBUTAR", "1"},
             {"CD_COBERT_CAMBIAL", "1"},
             {"CD_URF_DESPACHO", "0817700"},
             {"IN_MATERIAL_USADO", "False"},
             {"IN_BEM_ENCOMENDA", "False"},
             {"IN_REG_DRAWBACK", "False"},
             {"DT_ATU_OPER_MICRO", todayText()},
             {"TX_INFO_COMPL", "Produto para uso exclusivo em laboratório."},
         })
        row[field] = value;
    if (!first) {
        // The second licence's goods come from another exporter than their manufacturer.
        for (const auto& [field, value] : StoredRow{{"NM_FABRICANTE_MERC", "BioReagents Laboratories Inc. "},
                                                    {"ED_LOGR_FABRIC", "Research Parkway "},
                                                    {"ED_NR_FABRIC", "2200 "},
                                                    {"ED_COMPL_FABRIC", "Suite 400 "},
                                                    {"ED_CIDAD_FABRIC", "Durham "},
                                                    {"ED_ESTADO_FABRIC", "North Carolina "}})
            row[field] = value;
    }
    return row;
}

// Every table of REGIMP.MDB after the sample, its licences under the micro numbers given.
void expectSampleLicences(const DiTransferWorld& w, const std::string& micro1, const std::string& micro2) {
    const auto heads = w.rows(File, Operation);
    ASSERT_EQ(heads.size(), 2u);
    expectRow(heads[0], operation(micro1, L1), "first licence");
    expectRow(heads[1], operation(micro2, L2), "second licence");
    expectFileTable(w, File, "DESTAQUE_NCM", {"NR_TRAT_IMP_MICRO", "NR_DESTAQUE_NCM"},
                    {{micro1, "001"}, {micro1, "002"}, {micro2, "999"}});
    // The "." of every value bound for the file becomes ",", as every field writer does.
    expectFileTable(w, File, "PROCESSO_ANUENTE", {"NR_TRAT_IMP_MICRO", "NR_PROC_ANUENTE", "SG_ORG_PROC_ANUENT"},
                    {{micro1, "25351,104512/2026-11", "ANVISA"},
                     {micro2, "25351,104513/2026-70", "ANVISA"},
                     {micro2, "21000,018822/2026-02", "MAPA"}});
    // Items of licences L1, L2, L1: numbered 1 and 3 under the first, 2 under the second; the last
    // drawback row's values stay in every detail row.
    expectFileTable(w, File, Detail,
                    {"NR_TRAT_IMP_MICRO", "NR_SEQ_PRODUTO", "CD_PRODUTO", "QT_MERC_UN_COMERC", "NM_UN_MEDID_COMER",
                     "VL_UNID_COND_VENDA", "TX_DESC_DET_MERC", "NR_ITEM_DRAWBACK", "QT_PROD_DRAWBACK",
                     "VL_PROD_DRAWBACK"},
                    {{micro1, "1", "MVP-3822-001", "00000004000000", "KIT", "00000000003125000000",
                      "Kit reagente para diagnóstico in vitro, caixa com 100 testes", "3", "25", "7450"},
                     {micro1, "3", "MVP-3822-003", "00000002500000", "KIT", "00000000002980000000",
                      "Kit reagente para controle de qualidade, caixa com 50 testes", "3", "25", "7450"},
                     {micro2, "2", "MVP-2942-002", "00000001200000", "QUILOGRAMA LIQUIDO", "00000000008400000000",
                      "Padrão analítico de referência, pureza mínima 99,5%", "3", "25", "7450"}});
}

} // namespace

TEST(LiOrientadorTransfer, EveryLicenceBecomesAnOperationWithItsListsAndItems) {
    DiTransferWorld w;
    const TransferOutcome outcome = w.transfer(w.sample(Sample));
    EXPECT_TRUE(w.op.unexpected().empty());
    EXPECT_TRUE(w.op.messages().empty()) << w.op.messages().front();
    expectSampleLicences(w, microNumber(1), microNumber(2));
    EXPECT_EQ(outcome.status, TransferStatus::Transferred);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{L1, L2}));

    const auto asked = w.op.callsOf("ask");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Confirma a transferência para o Orientador - SISCOMEX?");
    EXPECT_EQ(asked[0].caption, "Pelomira - LI");

    // Per licence: the preparation (the head rows by identifier, then the four tables by number), then
    // the four tables.
    const auto opened = w.op.callsOf("progressOpen");
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0].text, "Preparando a transferência, Aguarde...");
    EXPECT_EQ(opened[0].extra, (std::vector<std::string>{"0", "5"}));
    EXPECT_EQ(opened[1].text, "Iniciando transferência, Aguarde...");
    EXPECT_EQ(opened[1].extra, (std::vector<std::string>{"0", "4"}));
    std::vector<std::string> steps;
    for (const auto& c : w.op.callsOf("progressStep"))
        steps.push_back(c.text);
    const std::vector<std::string> perLicence = {"Verificando dados da tabela OPERAÇÃO_COM_TRATAMENTO",
                                                 "Verificando dados da tabela OPERAÇÃO_COM_TRATAMENTO",
                                                 "Verificando dados da tabela DESTAQUE_NCM",
                                                 "Verificando dados da tabela PROCESSO_ANUENTE",
                                                 "Verificando dados da tabela DETALHE_MERC_COM_TRATAMENTO",
                                                 "Transferindo a tabela OPERAÇÃO_COM_TRATAMENTO",
                                                 "Transferindo a tabela DESTAQUE_NCM",
                                                 "Transferindo a tabela PROCESSO_ANUENTE",
                                                 "Transferindo a tabela DETALHE_MERC_COM_TRATAMENTO"};
    std::vector<std::string> expected = perLicence;
    expected.insert(expected.end(), perLicence.begin(), perLicence.end());
    EXPECT_EQ(steps, expected);
    EXPECT_FALSE(w.op.progressIsOpen());
    EXPECT_FALSE(w.dm.ADOCon_IMPORT.connected());

    const auto closing = w.op.callsOf("showMessage");
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].caption, "Pelomira");
    EXPECT_EQ(closing[0].text, "LI(s) 26/0456789-0, 26/0456790-3 transferida(s) com êxito!\r");
    EXPECT_EQ(closing[0].extra, (std::vector<std::string>{"", "", "&Abrir o Orientador\rSISCOMEX", "&OK"}));
    EXPECT_NE(w.activityLog().find("Finalizando Importação de Processos para o SISCOMEX (LI: 26/0456789-0, "
                                   "26/0456790-3)"),
              std::string::npos);
    EXPECT_EQ(w.activityLog().find("impedimento"), std::string::npos);
}

TEST(LiOrientadorTransfer, ALicenceTransferredAgainReplacesItsOperationWhole) {
    DiTransferWorld w;
    w.transfer(w.sample(Sample));
    w.op.clear();
    // Again, with the first licence's identifier in another case and blanks: it is the same licence.
    SampleDocument d(Sample);
    d.set("/PROCESSOS/PROCESSO/DADOS_LI[ID_LI='26/0456789-0']/ID_LI", " " + L1 + " ");
    EXPECT_EQ(w.transfer(d.text()).status, TransferStatus::Transferred);
    EXPECT_TRUE(w.op.messages().empty()) << w.op.messages().front();
    // Each got a new number after the other's; nothing of the first transfer is left under the old ones.
    expectSampleLicences(w, microNumber(3), microNumber(4));
}

TEST(LiOrientadorTransfer, AnImporterAbroadKeepsItsCountry) {
    DiTransferWorld w;
    SampleDocument d(Sample);
    d.set("/PROCESSOS/PROCESSO/IMPORTADOR_PAIS", " 105 ");
    w.transfer(d.text());
    EXPECT_EQ(w.rows(File, Operation).at(0).at("CD_PAIS_IMPORTADOR"), "") << "Brazil is not written";
    d.set("/PROCESSOS/PROCESSO/IMPORTADOR_PAIS", "249");
    w.transfer(d.text());
    const auto heads = w.rows(File, Operation);
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(heads[0].at("CD_PAIS_IMPORTADOR"), "249");
    EXPECT_EQ(heads[1].at("CD_PAIS_IMPORTADOR"), "249");
}

TEST(LiOrientadorTransfer, AnImpededLicenceIsReportedAndTheRunEndsNormally) {
    DiTransferWorld w;
    const TransferOutcome outcome = w.transfer(w.sample("LI_LICENCA_IMPEDIDA.xml"));
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0], "IMPEDIMENTO NO PROCESSO 26/0456790-3\rDescrição: Licença aguardando anuência do "
                                  "MAPA.\rEste processo não será recebido!");
    EXPECT_EQ(w.op.callsOf("message")[0].icon, MessageIcon::Error);
    const auto closing = w.op.callsOf("showMessage");
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].text, "LI(s) 26/0456789-0 transferida(s) com êxito!\rLI(s) NÃO RECEBIDAS por impedimento: "
                               "26/0456790-3");
    EXPECT_NE(w.activityLog().find("Processos não importados por impedimento (LI: 26/0456790-3)"), std::string::npos);
    EXPECT_EQ(columnOf(w.rows(File, Operation), "NR_IDENT_USUARIO"), (std::vector<std::string>{L1}));
    EXPECT_EQ(w.rows(File, Detail).size(), 2u);
    EXPECT_EQ(outcome.status, TransferStatus::Transferred);
    EXPECT_EQ(outcome.impeded, (std::vector<std::string>{L2}));

    // The first licence impeded: the process's other licences wait for it, nothing is transferred.
    w.op.clear();
    SampleDocument d("LI_LICENCA_IMPEDIDA.xml");
    d.set("/PROCESSOS/PROCESSO/DADOS_LI[ID_LI='26/0456789-0']/MENSAGEM", "Bloqueada");
    const TransferOutcome none = w.transfer(d.text());
    EXPECT_EQ(w.op.callsOf("showMessage").at(0).text, "LI(s) NÃO RECEBIDAS por impedimento: 26/0456789-0");
    EXPECT_EQ(none.status, TransferStatus::Failed);
    EXPECT_EQ(w.rows(File, Operation).size(), 1u) << "the earlier transfer of the first licence stays";
}

TEST(LiOrientadorTransfer, AProcessWithoutLicenceDataWritesNothing) {
    DiTransferWorld w;
    const TransferOutcome outcome = w.transfer(w.sample("LI_SEM_DADOS_LI.xml"));
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0], "Este processo não contém dados de LI!");
    EXPECT_EQ(w.op.callsOf("message")[0].icon, MessageIcon::Error);
    EXPECT_TRUE(w.op.callsOf("showMessage").empty());
    EXPECT_TRUE(w.op.callsOf("progressOpen").empty());
    EXPECT_TRUE(w.rows(File, Operation).empty());
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
}

TEST(LiOrientadorTransfer, AFailureKeepsTheLicencesBeforeItAndTheFailedOnesEarlierVersion) {
    DiTransferWorld w;
    w.transfer(w.sample(Sample));
    // The file refuses the second licence's item: its transfer again stops in the goods.
    execSql(w.file(File), "CREATE TRIGGER recusa BEFORE INSERT ON \"DETALHE_MERC_COM_TRATAMENTO\" WHEN "
                          "NEW.NR_SEQ_PRODUTO = 2 BEGIN SELECT RAISE(ABORT, 'linha recusada'); END");
    w.op.clear();
    const TransferOutcome outcome = w.transfer(w.sample(Sample));
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_EQ(w.op.messages()[0].rfind("OCORREU UM ERRO NA TRANSFERÊNCIA\rPor favor entre em contato com o suporte "
                                       "técnico\r\rProcedimento: Transferindo a tabela DETALHE_MERC_COM_TRATAMENTO\r"
                                       "ERRO: ",
                                       0),
              0u)
        << w.op.messages()[0];
    EXPECT_NE(w.errorLog().find("Procedimento: Transferindo a tabela DETALHE_MERC_COM_TRATAMENTO - Erro: "),
              std::string::npos);
    // The closing still reports the licence written before the failure.
    ASSERT_EQ(w.op.callsOf("showMessage").size(), 1u);
    EXPECT_EQ(w.op.callsOf("showMessage")[0].text, "LI(s) 26/0456789-0 transferida(s) com êxito!\r");
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{L1}));
    // The first licence is there anew (number 3); the second is as the first transfer left it (number 2).
    const auto heads = w.rows(File, Operation);
    ASSERT_EQ(heads.size(), 2u);
    expectRow(heads[0], operation(microNumber(2), L2), "the failed licence's earlier version");
    expectRow(heads[1], operation(microNumber(3), L1), "the licence written before the failure");
    EXPECT_EQ(columnOf(w.rows(File, Detail), "NR_TRAT_IMP_MICRO"),
              (std::vector<std::string>{microNumber(2), microNumber(3), microNumber(3)}));
    EXPECT_FALSE(w.op.progressIsOpen());
}

// A file that drops the whole transaction itself (as a full disk makes it) keeps none of the licences
// since the last commit: none is reported as transferred, each is named in ERRO.CSV, and every licence
// is as the earlier transfer left it.
TEST(LiOrientadorTransfer, WhenTheFileDropsTheTransactionNoLicenceSinceTheLastCommitIsReported) {
    DiTransferWorld w;
    w.transfer(w.sample(Sample));
    execSql(w.file(File), "CREATE TRIGGER desfaz BEFORE INSERT ON \"DETALHE_MERC_COM_TRATAMENTO\" WHEN "
                          "NEW.NR_SEQ_PRODUTO = 2 BEGIN SELECT RAISE(ROLLBACK, 'gravação desfeita'); END");
    w.op.clear();
    const TransferOutcome outcome = w.transfer(w.sample(Sample));
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    EXPECT_TRUE(outcome.transferred.empty());
    for (const auto& c : w.op.callsOf("showMessage"))
        EXPECT_EQ(c.text.find("com êxito"), std::string::npos) << c.text;
    EXPECT_NE(w.errorLog().find("LI " + L1 + " não foi gravada"), std::string::npos) << w.errorLog();
    const auto heads = w.rows(File, Operation);
    ASSERT_EQ(heads.size(), 2u);
    expectRow(heads[0], operation(microNumber(1), L1), "the first licence's earlier version");
    expectRow(heads[1], operation(microNumber(2), L2), "the second licence's earlier version");
    EXPECT_EQ(w.rows(File, Detail).size(), 3u);
}
