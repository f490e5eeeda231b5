// The DSI transfer into DSI.MDB through the Orientador entry, with a scripted operator, real SQLite
// Orientador files and the repository's transformation files and samples.
#include "base/TextUtils.h"
#include "import/DiTransferWorld.h"

namespace {

const char* const File = "DSI.MDB";
const std::string Sample = "DSI.xml";
const std::string Two = "DSI_DUAS_DECLARACOES.xml";
const std::vector<std::string> Tables = {"DSI_DADOS_GERAIS", "DSI_BENS", "DSI_PGTO_TRIBUTOS", "DSI_TRIBUTOS_BEM",
                                         "DSI_VOLUMES"};

// Every table of DSI.MDB after the sample DSI (id), in table order from row `from` of each table.
void expectSampleDsi(const DiTransferWorld& w, const std::string& id) {
    const std::string complement =
        replaceAll(SampleDocument(Sample).node("/PROCESSOS/PROCESSO/COMPLEMENTARES").text().get(), "|", "\r\n");
    expectFileTable(w, File, "DSI_DADOS_GERAIS", {"CD_DSI_MICRO",
                                                  "DT_CRIACAO",
                                                  "CD_TIPO_NATUREZA",
                                                  "CD_TIPO_IMPORTADOR",
                                                  "NR_IMPORTADOR",
                                                  "NM_IMPORTADOR",
                                                  "NR_TEL_IMPORTADOR",
                                                  "ED_LOGR_IMPORTADOR",
                                                  "ED_NR_IMPORTADOR",
                                                  "ED_COMPL_IMPO",
                                                  "ED_BA_IMPORTADOR",
                                                  "ED_MUN_IMPORTADOR",
                                                  "ED_UF_IMPORTADOR",
                                                  "ED_CEP_IMPORTADOR",
                                                  "CD_PAIS_IMPORTADOR",
                                                  "CD_URF_DESPACHO",
                                                  "CD_PAIS_PROC_CARGA",
                                                  "CD_VIA_TRANSP_CARGA",
                                                  "NR_TERMO_ENTRADA",
                                                  "CD_TIPO_DCTO_CARGA",
                                                  "NR_DCTO_CARGA_HOUSE",
                                                  "NR_DCTO_CARGA_MAST",
                                                  "DT_EMBARQUE",
                                                  "PB_CARGA",
                                                  "PL_CARGA",
                                                  "CD_RECINTO_ALFAND",
                                                  "CD_SETOR_ARMAZENAM",
                                                  "CD_MOEDA_FRETE",
                                                  "VL_TOT_FRETE_MNEG",
                                                  "VL_TOTAL_FRETE_MN",
                                                  "CD_MOEDA_SEGURO",
                                                  "VL_TOT_SEGURO_MNEG",
                                                  "VL_TOTAL_SEG_MN",
                                                  "VL_TOTAL_MLE_MN",
                                                  "VL_TOTAL_II_CALC",
                                                  "VL_TOTAL_IPI_CALC",
                                                  "VL_TOTAL_II_A_REC",
                                                  "VL_TOTAL_IPI_A_REC",
                                                  "CD_TIPO_PGTO_TRIB",
                                                  "NR_CONTA_PGTO_TRIB",
                                                  "TX_INFO_COMPL",
                                                  "VL_TOTAL_PIS_CALC",
                                                  "VL_TOTAL_COFINS_CALC",
                                                  "VL_TOTAL_PIS_A_REC",
                                                  "VL_TOTAL_COFINS_A_REC",
                                                  "NR_DECL_SIMPL_IMP",
                                                  "DT_REGISTRO_DSI"},
                    {{id,
                      "12/03/2026",
                      "07",
                      "1",
                      "45721893000100",
                      "Metalúrgica Vale do Paraíba Indústria e Comércio Ltda",
                      "1239214500",
                      "Avenida Doutor Sebastião Henrique da Cunha Pontes",
                      "8000",
                      "Galpão 3",
                      "Chácaras Reunidas",
                      "São José dos Campos",
                      "SP",
                      "12238365",
                      "105",
                      "0817700",
                      "386",
                      "4",
                      "1326500123456",
                      "1",
                      "HAWB7781203",
                      "05591234567",
                      "05/02/2026",
                      "48,3",
                      "41,75",
                      "8931356",
                      "2",
                      "220",
                      "6630",
                      "38077,42",
                      "790",
                      "923,5",
                      "923,5",
                      "17885,27",
                      "96313,32",
                      "18578,23",
                      "94548,08",
                      "18578,23",
                      "1",
                      "0045821",
                      complement,
                      "12905,03",
                      "59301,66",
                      "12905,03",
                      "59301,66",
                      "2612000345",
                      "15/03/2026"}});
    // Both goods belong to addition 001 (used goods, first NCM highlight 002).
    const std::vector<std::string> goodsColumns = {"CD_DSI_MICRO",       "NR_BEM",
                                                   "CD_REGIME_TRIBUTAR", "IN_CLASSIFICACAO",
                                                   "CD_MERCADORIA",      "CD_DESTAQUE_NCM",
                                                   "CD_PAIS_ORIG_MERC",  "IN_MATERIAL_USADO",
                                                   "QT_UN_ESTATISTICA",  "NM_UN_MEDID_COMERC",
                                                   "QT_MERC_UN_COMERC",  "PL_BEM",
                                                   "VL_UNID_LOC_EMB",    "VL_MERC_LOC_EMB",
                                                   "CD_MOEDA_NEGOCIADA", "VL_ADUANEIRO",
                                                   "VL_FRETE_MERC_MNEG", "CD_MD_FRETE_MERC",
                                                   "VL_FRETE_MERC_MN",   "VL_SEG_MERC_MN",
                                                   "VL_MERC_EMB_MN",     "TX_DESC_DET_MERC",
                                                   "VL_ALIQ_ICMS",       "CD_REGIME_TRIBUTAR_PISCOFINS"};
    auto good = [&](const char* number, const char* quantity, const char* unit, const char* total,
                    const char* description) {
        return std::vector<std::string>{id,         number,      "1",    "0",       "73181500",
                                        "002",      "386",       "True", "41,75",   "QUILOGRAMA LIQUIDO",
                                        quantity,   quantity,    unit,   total,     "978",
                                        "19694,36", "310",       "220",  "1780,39", "28,7",
                                        "17885,27", description, "18",   "1"};
    };
    expectFileTable(w, File, "DSI_BENS", goodsColumns,
                    {good("1", "30", "55", "1650", "Amostras de parafusos especiais em titânio para feira industrial"),
                     good("2", "11,75", "103,83", "1220", "Amostras de porcas autotravantes em titânio")});
    expectFileTable(w, File, "DSI_PGTO_TRIBUTOS",
                    {"CD_DSI_MICRO", "NR_SEQUENCIAL", "CD_RECEITA_PGTO", "CD_BANCO_PGTO_TRIB", "NR_AGENC_PGTO_TRIB",
                     "VL_TRIBUTO_PAGO", "DT_PGTO_TRIBUTO"},
                    {{id, "1", "0086", "001", "3396", "3212,47", "15/03/2026"},
                     {id, "2", "1038", "001", "3396", "1142,27", "15/03/2026"}});
    // One row per good with its addition's II, IPI, PIS and COFINS; the antidumping (0003) and the
    // compensatory right (0004) write nothing.
    const std::vector<std::string> taxColumns = {"CD_DSI_MICRO",
                                                 "NR_BEM",
                                                 "PC_ALIQ_NORM_ADVAL_II",
                                                 "VL_IMPOSTO_DEVIDO_II",
                                                 "VL_IPT_A_RECOLHER_II",
                                                 "VL_BASE_CALC_ADVAL_II",
                                                 "PC_ALIQ_NORM_ADVAL_IPI",
                                                 "VL_IMPOSTO_DEVIDO_IPI",
                                                 "VL_IPT_A_RECOLHER_IPI",
                                                 "VL_BASE_CALC_ADVAL_IPI",
                                                 "VL_BASE_CALC_ADVAL_PISCOF",
                                                 "PC_ALIQ_NORM_ADVAL_PIS",
                                                 "VL_ALIQ_ESPEC_PIS",
                                                 "QT_MERC_UN_ALIQ_ESPEC_PIS",
                                                 "VL_IMPOSTO_CALCULADO_PIS",
                                                 "VL_IMPOSTO_DEVIDO_PIS",
                                                 "VL_IPT_A_RECOLHER_PIS",
                                                 "PC_ALIQ_NORM_ADVAL_COF",
                                                 "VL_ALIQ_ESPEC_COF",
                                                 "QT_MERC_UN_ALIQ_ESPEC_COF",
                                                 "VL_IMPOSTO_CALCULADO_COF",
                                                 "VL_IMPOSTO_DEVIDO_COF",
                                                 "VL_IPT_A_RECOLHER_COF"};
    const std::vector<std::string> taxes = {
        id,  "001", "16",     "3151,1", "3151,1", "19694,36", "5", "1142,27", "1142,27", "22845,46", "19694,36", "2,1",
        "0", "0",   "413,58", "413,58", "413,58", "9,65",     "0", "0",       "1900,51", "1900,51",  "1900,51"};
    expectFileTable(w, File, "DSI_TRIBUTOS_BEM", taxColumns, {taxes, taxes});
    expectFileTable(w, File, "DSI_VOLUMES", {"CD_DSI_MICRO", "NR_SEQUENCIAL", "CD_TIPO_EMBALAGEM", "QT_VOLUME_CARGA"},
                    {{id, "1", "19", "2"}, {id, "2", "60", "1"}});
}

std::map<std::string, std::size_t> rowCounts(const DiTransferWorld& w) {
    std::map<std::string, std::size_t> counts;
    for (const auto& t : Tables)
        counts[t] = w.rows(File, t).size();
    return counts;
}

} // namespace

TEST(DsiOrientadorTransfer, WritesTheFiveTablesKeyedByTheProcess) {
    DiTransferWorld w;
    const TransferOutcome outcome = w.transfer(w.sample(Sample));
    EXPECT_TRUE(w.op.unexpected().empty());
    EXPECT_TRUE(w.op.messages().empty()) << w.op.messages().front();
    expectSampleDsi(w, "2026003107");
    EXPECT_EQ(outcome.status, TransferStatus::Transferred);

    EXPECT_EQ(w.op.callsOf("ask").at(0).caption, "Pelomira - DSI");
    std::vector<std::string> steps;
    for (const auto& c : w.op.callsOf("progressStep"))
        steps.push_back(c.text + " " + c.extra.at(0) + "/" + c.extra.at(1));
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "Verificando dados da tabela DSI_BENS 1/5", "Verificando dados da tabela DSI_DADOS_GERAIS 2/5",
                         "Verificando dados da tabela DSI_PGTO_TRIBUTOS 3/5",
                         "Verificando dados da tabela DSI_TRIBUTOS_BEM 4/5",
                         "Verificando dados da tabela DSI_VOLUMES 5/5", "Transferindo a tabela DSI_DADOS_GERAIS 1/5",
                         "Transferindo a tabela DSI_BENS 2/5", "Transferindo a tabela DSI_PGTO_TRIBUTOS 3/5",
                         "Transferindo a tabela DSI_TRIBUTOS_BEM 4/5", "Transferindo a tabela DSI_VOLUMES 5/5"}));
    const auto closing = w.op.callsOf("showMessage");
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].text, "DSI(s) 2026003107 recebida(s) com êxito no Orientador - SISCOMEX!");
    EXPECT_EQ(closing[0].extra, (std::vector<std::string>{"", "", "&Abrir o Orientador\rSISCOMEX", "&OK"}));
    EXPECT_NE(w.activityLog().find("Finalizando Importação de Processos para o SISCOMEX (DSI: 2026003107)"),
              std::string::npos);

    // The Orientador's DSI program from the closing window.
    w.op.clear();
    w.transfer(w.sample(Sample), 1);
    ASSERT_EQ(w.op.callsOf("openWithSystem").size(), 1u);
    EXPECT_EQ(w.op.callsOf("openWithSystem")[0].text, w.folder + "/DSI.EXE");
}

TEST(DsiOrientadorTransfer, ADsiTransferredAgainReplacesEveryRow) {
    DiTransferWorld w;
    w.transfer(w.sample(Two));
    const auto counts = rowCounts(w);
    EXPECT_EQ(counts.at("DSI_BENS"), 3u);
    w.op.clear();
    EXPECT_EQ(w.transfer(w.sample(Two)).status, TransferStatus::Transferred);
    EXPECT_TRUE(w.op.messages().empty());
    EXPECT_EQ(rowCounts(w), counts);
    EXPECT_EQ(w.op.callsOf("showMessage").at(0).text,
              "DSI(s) 2026003107, 2026003108 recebida(s) com êxito no Orientador - SISCOMEX!");
    // The first DSI alone again: the other stays as it was.
    w.transfer(w.sample(Sample));
    EXPECT_EQ(rowCounts(w), counts);
    EXPECT_EQ(columnOf(w.rows(File, "DSI_DADOS_GERAIS"), "CD_DSI_MICRO"),
              (std::vector<std::string>{"2026003108", "2026003107"}));
}

TEST(DsiOrientadorTransfer, AnImpededDsiIsSkippedAndTheOthersGoOn) {
    DiTransferWorld w;
    SampleDocument d(Two);
    d.set("/PROCESSOS/PROCESSO[ID_PROCESSO='2026003108']/MENSAGEM", "Aguardando documentos do importador.");
    const TransferOutcome outcome = w.transfer(d.text());
    const auto shown = w.op.callsOf("message");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "IMPEDIMENTO NO PROCESSO 2026003108\rDescrição: Aguardando documentos do importador.\r"
                             "Este processo não será recebido!");
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(shown[1].text, "DSI(s) NÃO RECEBIDAS por impedimento: 2026003108");
    EXPECT_EQ(shown[1].icon, MessageIcon::Information);
    EXPECT_EQ(w.op.callsOf("showMessage").at(0).text,
              "DSI(s) 2026003107 recebida(s) com êxito no Orientador - SISCOMEX!");
    EXPECT_NE(w.activityLog().find("Processos não importados por impedimento (DSI: 2026003108)"), std::string::npos);
    EXPECT_EQ(columnOf(w.rows(File, "DSI_DADOS_GERAIS"), "CD_DSI_MICRO"), (std::vector<std::string>{"2026003107"}));
    EXPECT_EQ(outcome.status, TransferStatus::Transferred);
    EXPECT_EQ(outcome.impeded, (std::vector<std::string>{"2026003108"}));
}

TEST(DsiOrientadorTransfer, AFailureKeepsTheDsisBeforeItAndTheFailedOnesEarlierVersion) {
    DiTransferWorld w;
    w.transfer(w.sample(Two));
    const auto counts = rowCounts(w);
    // The file refuses the second DSI's volumes: its transfer again stops in its last table.
    execSql(w.file(File), "CREATE TRIGGER recusa BEFORE INSERT ON \"DSI_VOLUMES\" WHEN NEW.CD_DSI_MICRO = "
                          "'2026003108' BEGIN SELECT RAISE(ABORT, 'linha recusada'); END");
    w.op.clear();
    SampleDocument d(Two);
    d.set("/PROCESSOS/PROCESSO[ID_PROCESSO='2026003108']/NR_DI", "2612000999");
    const TransferOutcome outcome = w.transfer(d.text());
    ASSERT_EQ(w.op.messages().size(), 1u);
    EXPECT_NE(w.op.messages()[0].find("Procedimento: Transferindo a tabela DSI_VOLUMES\rERRO: "), std::string::npos)
        << w.op.messages()[0];
    EXPECT_EQ(w.op.callsOf("showMessage").at(0).text,
              "DSI(s) 2026003107 recebida(s) com êxito no Orientador - SISCOMEX!");
    EXPECT_EQ(outcome.status, TransferStatus::Failed);
    EXPECT_EQ(outcome.transferred, (std::vector<std::string>{"2026003107"}));
    // The second DSI as the first transfer left it, every table of it.
    EXPECT_EQ(rowCounts(w), counts);
    const auto general = w.rows(File, "DSI_DADOS_GERAIS");
    ASSERT_EQ(general.size(), 2u);
    EXPECT_EQ(general[0].at("CD_DSI_MICRO"), "2026003108");
    EXPECT_EQ(general[0].at("NR_DECL_SIMPL_IMP"), "") << "the new version was not kept";
    EXPECT_EQ(general[1].at("CD_DSI_MICRO"), "2026003107");
}
