// What the DI transfer must leave in IMPORT.MDB for share/samples/DI_VARIAS_ADICOES.xml (process
// 2026001534: three additions, five items), worked out by hand from the document. Numbers read back with
// "," as decimal separator, Yes/No fields as True/False, and every field not listed stays empty.
#include "import/DiTransferWorld.h"

namespace {

const std::string F = "False";
const std::string T = "True";

void expectHead(const OrientadorWorld& w, const std::string& micro) {
    const auto head = readTable(w, "DECLARAÇÃO_IMPORTAÇÃO");
    ASSERT_EQ(head.size(), 1u);
    expectRow(head[0],
              {{"NR_DECL_IMP_MICRO", micro},
               {"NR_IDENT_USUARIO", "2026001534"},
               {"DT_PROCESSAMENTO", "12032026"},
               {"CD_TIPO_DECLARACAO", "01"},
               {"CD_TIPO_IMPORTADOR", "1"},
               {"NR_IMPORTADOR", "45721893000100"},
               {"CD_PAIS_IMPORTADOR", "105"},
               {"NM_IMPORTADOR", "Metalúrgica Vale do Paraíba Indústria e Comércio Ltda"},
               {"NR_TEL_IMPORTADOR", "1239214500"},
               {"ED_LOGR_IMPORTADOR", "Avenida Doutor Sebastião Henrique da Cunha Pontes"},
               {"ED_NR_IMPORTADOR", "8000"},
               {"ED_COMPL_IMPO", "Galpão 3"},
               {"ED_BA_IMPORTADOR", "Chácaras Reunidas"},
               {"ED_MUN_IMPORTADOR", "São José dos Campos"},
               {"ED_UF_IMPORTADOR", "SP"},
               {"ED_CEP_IMPORTADOR", "12238365"},
               {"CD_MODALIDADE_DESP", "1"},
               {"IN_OPERACAO_FUNDAP", F},
               {"CD_URF_ENTR_CARGA", "0817600"},
               {"CD_URF_DESPACHO", "0817600"},
               {"CD_TIPO_CONSIG", "1"},
               // transport block (way 1: the NIC split in two halves of 18)
               {"CD_PAIS_PROC_CARGA", "023"},
               {"CD_VIA_TRANSP_CARG", "01"},
               {"IN_MULTIMODAL", F},
               {"NR_VEICULO_TRANSP", "9784297"},
               {"NM_VEICULO_TRANSP", "MAERSK ESSEN"},
               {"NM_TRANSPORTADOR", "Maersk Brasil Brasmar Ltda"},
               {"CD_BANDEIRA_TRANSP", "232"},
               {"CD_TIPO_AG_CARGA", "1"},
               {"NR_AGENTE_CARGA", "07182654000122"},
               {"CD_TIPO_DCTO_CARGA", "12"},
               {"NR_DCTO_CARGA", "152605000412345000"},
               {"NR_DCTO_CARGA_MAST", "152605000398761000"},
               {"NM_LOCAL_EMBARQUE", "HAMBURGO"},
               {"DT_EMBARQUE", "05022026"},
               {"DT_CHEGADA_CARGA", "09032026"},
               {"CD_UTIL_DCTO_CARGA", "1"},
               {"CD_TIPO_MANIFESTO", "1"},
               {"NR_MANIFESTO", "1326500123456"},
               // freight, insurance, goods value
               {"VL_TOT_FRT_PREPAID", "4230"},
               {"VL_TOT_FRT_COLLECT", "2400"},
               {"VL_FRETE_TNAC_MNEG", "0"},
               {"CD_MOEDA_FRETE", "220"},
               {"VL_TOTAL_FRETE_MN", "38077,42"},
               {"VL_TOT_SEGURO_MNEG", "923,5"},
               {"CD_MOEDA_SEGURO", "790"},
               {"VL_TOTAL_SEG_MN", "923,5"},
               {"CD_MOEDA_MLE", "978"},
               {"VL_TOT_MLE_MNEG", "92350,4"},
               {"VL_TOTAL_MLE_MN", "575523,96"},
               {"IN_MOEDA_UNICA", T},
               {"PB_CARGA", "000000673480000"},
               {"PL_CARGA", "000000643045000"},
               {"CD_RECINTO_ALFAND", "8931356"},
               {"CD_SETOR_ARMAZENAM", "2"},
               {"TX_INFO_COMPL", "REF. IMPORTADOR: PO 4500187761\r\nFATURAS: DE-2026-0142, BL-LC-2026-0088, "
                                 "NB-EC-26-1180\r\nDESPACHANTE: JOAO CARLOS PEREIRA - CPF 282.195.430-19"},
               {"CD_TIPO_PGTO_TRIB", "1"},
               {"NR_CONTA_PGTO_TRIB", "0045821"}},
              "head row");
}

void expectProcessLists(const OrientadorWorld& w, const std::string& m) {
    expectTable(w, "PROCESSO_DI", {"NR_DECL_IMP_MICRO", "NR_SEQ_PROCESSO", "CD_TIPO_PROCESSO", "NR_PROCESSO_INSTR"},
                {{m, "1", "1", "26/0412345-6"}});
    expectTable(w, "DOCUMENTO_INSTRUÇÃO",
                {"NR_DECL_IMP_MICRO", "NR_SEQ_DCTO_INSTR", "CD_TIPO_DCTO_INSTR", "NR_DCTO_INSTRUCAO"},
                {{m, "1", "01", "DE-2026-0142"}, {m, "2", "28", "HBLHAM2602154"}, {m, "3", "29", "PL-2026-0142"}});
    expectTable(w, "EMBALAGEM_CARGA", {"NR_DECL_IMP_MICRO", "NR_SEQ_EMBALAGEM", "CD_TIPO_EMBALAGEM", "QT_VOLUME_CARGA"},
                {{m, "0", "19", "00024"}, {m, "1", "60", "01250"}});
    expectTable(w, "CARGA_ARMAZÉM", {"NR_DECL_IMP_MICRO", "NR_SEQ_ARMAZEM", "NM_ARMAZEM_CARGA"},
                {{m, "1", "A-12"}, {m, "2", "B-07"}});
    expectTable(w, "PAGAMENTO_TRIBUTOS",
                {"NR_DECL_IMP_MICRO", "NR_SEQ_PGTO_TRIB", "CD_RECEITA_PGTO", "CD_BANCO_PGTO_TRIB", "NR_AGENC_PGTO_TRIB",
                 "VL_TRIBUTO_PAGO", "DT_PGTO_TRIBUTO"},
                {{m, "1", "0086", "001", "3396", "94548,08", "12032026"},
                 {m, "2", "1038", "001", "3396", "18578,23", "12032026"},
                 {m, "3", "5602", "001", "3396", "12905,03", "12032026"},
                 {m, "4", "5629", "001", "3396", "59301,66", "12032026"},
                 {m, "5", "7811", "001", "3396", "154,23", "12032026"}});
    expectTable(w, "COMPENSAÇÃO_CRÉDITO", {}, {});
    expectTable(w, "DE_MERCOSUL_DI",
                {"NR_DECL_IMP_MICRO", "NR_SEQ_DE", "NR_DE_MERCOSUL", "NR_RE_INICIAL", "NR_RE_FINAL"},
                {{m, "0", "2600012345", "001", "004"}});
}

void expectAdditions(const OrientadorWorld& w, const std::string& m) {
    const auto rows = readTable(w, "OP_ADIÇÃO_DE_IMPORTAÇÃO");
    ASSERT_EQ(rows.size(), 3u);
    // Exporter and manufacturer 2045; items 1 and 2 weigh 412.300 + 298.150.
    expectRow(rows[0],
              {{"NR_DECL_IMP_MICRO", m},
               {"NR_OP_IMP_MICRO", "001"},
               {"NM_FORN_ESTR", "Armaturenwerk Hötensleben GmbH "},
               {"ED_LOGR_FORN_ESTR", "Schulstraße "},
               {"ED_NR_FORN_ESTR", "5 "},
               {"ED_COMPL_FORN_ESTR", "Werk 2 "},
               {"ED_CIDAD_FORN_ESTR", "Hötensleben "},
               {"ED_ESTAD_FORN_ESTR", "Sachsen-Anhalt "},
               {"CD_PAIS_AQUIS_MERC", "023"},
               {"CD_MERCADORIA_NCM", "84818099"},
               {"CD_AUSENCIA_FABRIC", "1"},
               {"CD_PAIS_ORIG_MERC", "023"},
               {"CD_MERC_NBM_SH", "84818099"},
               {"CD_MERC_NALADI_SH", "848180"},
               {"PL_MERCADORIA", "000000071045000"},
               {"QT_UN_ESTATISTICA", "00000186050000"},
               {"CD_APLICACAO_MERC", "1"},
               {"CD_MOEDA_NEGOCIADA", "978"},
               {"CD_INCOTERMS_VENDA", "FOB"},
               {"NM_LOC_COND_VENDA", "HAMBURGO"},
               {"VL_MERC_COND_VENDA", "48230"},
               {"VL_MERC_VENDA_MN", "300567,71"},
               {"VL_FRETE_MERC_MN", "12347,88"},
               {"VL_SEG_MERC_MN", "482,3"},
               {"CD_METOD_VALORACAO", "1"},
               {"CD_VINC_IMPO_EXPO", "1"},
               {"CD_TIPO_ACORDO_TAR", "1"},
               {"CD_REGIME_TRIBUTAR", "1"},
               {"CD_COBERT_CAMBIAL", "1"},
               {"PC_TAXA_JUROS", "000000000000000"},
               {"VL_FINANC_SUP_360", "000000000000000"},
               {"IN_PGTO_VARIAV_360", F},
               {"IN_JUROS_ATE_360", F},
               {"PC_COMISSAO_AG_IMP", "2,5"},
               {"CD_TIPO_AGENTE_IMP", "1"},
               {"NR_AGENTE_IMP", "55630124000142"},
               {"CD_BANC_AGENTE_IMP", "237"},
               {"CD_AGENC_AGENT_IMP", "0133"},
               {"IN_BEM_ENCOMENDA", F},
               {"IN_MATERIAL_USADO", F},
               {"TX_COMPL_VL_ADUAN", "Válvulas de esfera em aço inox AISI 316, conforme fatura DE-2026-0142,"},
               {"IN_IPI_NAO_TRIBUT", F},
               {"VL_MERC_LOC_EMB_MN", "300567,71"},
               {"VL_BASE_CALCULO_MN", "313397,89"},
               {"IN_REDUC_BASE_CALC", F},
               {"VL_ALIQ_ICMS", "18"},
               {"CD_REGIME_TRIBUTAR_PISCOFINS", "1"}},
              "addition 001");
    // Exporter 3311, manufacturer 3310; financed in three instalments; IPI benefit 3.
    expectRow(rows[1],
              {{"NR_DECL_IMP_MICRO", m},
               {"NR_OP_IMP_MICRO", "002"},
               {"NM_FORN_ESTR", "Eurofix Trading GmbH "},
               {"ED_LOGR_FORN_ESTR", "Hafenstraße "},
               {"ED_NR_FORN_ESTR", "112 "},
               {"ED_COMPL_FORN_ESTR", "Halle B "},
               {"ED_CIDAD_FORN_ESTR", "Hamburg "},
               {"ED_ESTAD_FORN_ESTR", "Hamburg "},
               {"CD_PAIS_AQUIS_MERC", "023"},
               {"CD_MERCADORIA_NCM", "73181500"},
               {"CD_AUSENCIA_FABRIC", "2"},
               {"NM_FABRICANTE_MERC", "Bulloneria Lombarda S.p.A. "},
               {"ED_LOGR_FABRIC", "Via Enrico Fermi "},
               {"ED_NR_FABRIC", "14 "},
               {"ED_COMPL_FABRIC", " "}, // no complement: the blank that follows every value is all there is
               {"ED_CIDAD_FABRIC", "Lecco "},
               {"ED_ESTADO_FABRIC", "Lombardia "},
               {"CD_PAIS_ORIG_MERC", "386"},
               {"CD_MERC_NBM_SH", "73181500"},
               {"CD_MERC_NALADI_SH", "731815"},
               {"PL_MERCADORIA", "000000532000000"},
               {"QT_UN_ESTATISTICA", "00000532000000"},
               {"CD_APLICACAO_MERC", "1"},
               {"CD_MOEDA_NEGOCIADA", "978"},
               {"CD_INCOTERMS_VENDA", "FCA"},
               {"NM_LOC_COND_VENDA", "LECCO"},
               {"VL_MERC_COND_VENDA", "12870,4"},
               {"VL_MERC_VENDA_MN", "80207,5"},
               {"VL_FRETE_MERC_MN", "7925,62"},
               {"VL_SEG_MERC_MN", "128,7"},
               {"CD_METOD_VALORACAO", "1"},
               {"CD_VINC_IMPO_EXPO", "1"},
               {"CD_TIPO_ACORDO_TAR", "2"},
               {"CD_ACORDO_ALADI", "126"},
               {"CD_REGIME_TRIBUTAR", "1"},
               {"CD_COBERT_CAMBIAL", "2"},
               {"CD_MODALIDADE_PGTO", "01"},
               {"CD_ORGAO_FIN_INTER", "99"},
               {"QT_PARC_FINANC_360", "3"},
               {"CD_PERIOD_PGTO_360", "1"},
               {"VL_TOT_FINANC_360", "12870,4"},
               {"QT_PERIOD_PGTO_360", "30"},
               {"PC_TAXA_JUROS", "000000000425000"},
               {"VL_FINANC_SUP_360", "000000001287040"},
               {"NR_ROF", "TA123456"},
               {"IN_PGTO_VARIAV_360", F},
               {"IN_JUROS_ATE_360", F},
               {"CD_TIPO_AGENTE_IMP", "0"},
               {"IN_BEM_ENCOMENDA", T},
               {"IN_MATERIAL_USADO", F},
               {"TX_COMPL_VL_ADUAN", "Parafusos sextavados M12 classe 8,8 galvanizados,"},
               {"IN_IPI_NAO_TRIBUT", T},
               {"VL_MERC_LOC_EMB_MN", "80207,5"},
               {"VL_BASE_CALCULO_MN", "88261,82"},
               {"IN_REDUC_BASE_CALC", F},
               {"VL_ALIQ_ICMS", "18"},
               {"CD_REGIME_TRIBUTAR_PISCOFINS", "4"},
               {"CD_FUND_LEG_REGIME_PISCOFINS", "04"}},
              "addition 002");
    // Exporter 4120 and no manufacturer; no exchange cover (4), so no payment mode; used goods.
    expectRow(rows[2],
              {{"NR_DECL_IMP_MICRO", m},
               {"NR_OP_IMP_MICRO", "003"},
               {"NM_FORN_ESTR", "Ningbo Huaxia Electric Control Co., Ltd. "},
               {"ED_LOGR_FORN_ESTR", "Jiangnan Road "},
               {"ED_NR_FORN_ESTR", "1688 "},
               {"ED_COMPL_FORN_ESTR", "Building 7 "},
               {"ED_CIDAD_FORN_ESTR", "Ningbo "},
               {"ED_ESTAD_FORN_ESTR", "Zhejiang "},
               {"CD_PAIS_AQUIS_MERC", "160"},
               {"CD_MERCADORIA_NCM", "85371090"},
               {"CD_AUSENCIA_FABRIC", "3"},
               {"CD_PAIS_ORIG_MERC", "160"},
               {"CD_MERC_NBM_SH", "85371090"},
               {"CD_MERC_NALADI_SH", "853710"},
               {"PL_MERCADORIA", "000000042000000"},
               {"QT_UN_ESTATISTICA", "00000042000000"},
               {"CD_APLICACAO_MERC", "1"},
               {"CD_MOEDA_NEGOCIADA", "220"},
               {"CD_INCOTERMS_VENDA", "FOB"},
               {"NM_LOC_COND_VENDA", "NINGBO"},
               {"VL_MERC_COND_VENDA", "31250"},
               {"VL_MERC_VENDA_MN", "194748,75"},
               {"VL_FRETE_MERC_MN", "17803,92"},
               {"VL_SEG_MERC_MN", "312,5"},
               {"CD_METOD_VALORACAO", "1"},
               {"CD_VINC_IMPO_EXPO", "1"},
               {"CD_TIPO_ACORDO_TAR", "1"},
               {"CD_REGIME_TRIBUTAR", "5"},
               {"CD_FUND_LEG_REGIME", "79"},
               {"CD_COBERT_CAMBIAL", "4"},
               {"CD_MOTIVO_SEM_COB", "61"},
               {"PC_TAXA_JUROS", "000000000000000"},
               {"VL_FINANC_SUP_360", "000000000000000"},
               {"IN_PGTO_VARIAV_360", F},
               {"IN_JUROS_ATE_360", F},
               {"CD_TIPO_AGENTE_IMP", "0"},
               {"IN_BEM_ENCOMENDA", F},
               {"IN_MATERIAL_USADO", T},
               {"TX_COMPL_VL_ADUAN", "Painéis elétricos de comando usados, recondicionados pelo fabricante,"},
               {"IN_IPI_NAO_TRIBUT", F},
               {"VL_MERC_LOC_EMB_MN", "194748,75"},
               {"VL_BASE_CALCULO_MN", "212865,17"},
               {"IN_REDUC_BASE_CALC", T},
               {"VL_ALIQ_ICMS", "18"},
               {"CD_REGIME_TRIBUTAR_PISCOFINS", "1"},
               {"CD_FUND_LEG_REDUC", "11"},
               {"IN_TIPO_CERTIFICADO", "1"}},
              "addition 003");
}

void expectAdditionLists(const OrientadorWorld& w, const std::string& m) {
    const std::vector<std::string> key = {"NR_DECL_IMP_MICRO", "NR_OP_IMP_MICRO"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> columns = key;
        columns.insert(columns.end(), more.begin(), more.end());
        return columns;
    };
    expectTable(w, "DEDUÇÃO_VALORAÇÃO",
                with({"CD_MET_DEDUC_VALOR", "VL_DEDUCAO_MNEG", "CD_MD_NEGOC_DEDUC", "VL_DEDUCAO_MN"}),
                {{m, "001", "4", "350", "978", "2181,13"},
                 {m, "003", "4", "120", "220", "689,18"},
                 {m, "003", "5", "80", "220", "459,46"}});
    expectTable(w, "PAGAMENTO_PREVISTO", with({"NU_SEQ_PAG_PREV", "DT_PREV_PGTO_360", "VL_PREV_PGTO_360"}),
                {{m, "002", "1", "2026-04", "4290,14"},
                 {m, "002", "2", "2026-05", "4290,13"},
                 {m, "002", "3", "2026-06", "4290,13"}});
    expectTable(w, "DESTAQUE_NCM", with({"NU_SEQ_DESTAQUE", "NR_DESTAQUE_NCM"}),
                {{m, "001", "1", "001"}, {m, "001", "2", "999"}, {m, "002", "1", "002"}, {m, "003", "1", "999"}});
    expectTable(w, "ACRÉSCIMO_VALORAÇÃO",
                with({"CD_MET_ACRES_VALOR", "VL_ACRESCIMO_MOEDA", "CD_MD_NEGOC_ACRES", "VL_ACRESCIMO_MN"}),
                {{m, "001", "16", "210", "978", "1308,68"},
                 {m, "002", "16", "95", "978", "592,02"},
                 {m, "002", "17", "40", "220", "229,73"}});
    // NVE levels 1 and 2 stay; 6 → 3, 3 → 4, 4 → 5, 5 → 6.
    expectTable(w, "VALORAÇÃO_NCM", with({"NR_SEQ_VAL_NCM", "CD_ABRANGENCIA_NCM", "CD_ATRIBUTO_NCM", "CD_ESPECIF_NCM"}),
                {{m, "001", "1", "1", "AA", "0001"},
                 {m, "001", "2", "3", "AC", "0003"},
                 {m, "002", "1", "2", "AB", "0002"},
                 {m, "003", "1", "4", "AA", "0001"},
                 {m, "003", "2", "5", "AD", "0001"},
                 {m, "003", "3", "6", "AE", "0002"}});
    expectTable(w, "DE_MERCOSUL_ADIÇÃO",
                with({"NR_SEQ_DE", "NR_DE_AD_MERCOSUL", "NR_RE_AD_INICIAL", "NR_RE_AD_FINAL", "CD_PAIS_CERTIFICADO",
                      "NR_DI_CERTIFICADO", "NR_ITEM_CERTIFICADO", "QT_UNIDADE_MERCOSUL"}),
                {{m, "002", "0", "2600012345", "001", "004", "063", "2601234567", "002", "5320"}});
    // Cash payments count from 0 (form 2), advance payments from 1 (form 1); a CPF buyer is of type 2.
    expectTable(
        w, "PAGAMENTO_VINCULADO",
        with({"NR_SEQ_PAGAMENTO", "CD_FORMA_PAGAMENTO", "IN_PAGAMENTO_MN", "CD_BANCO_PAGAMENTO", "CD_PRACA_PAGAMENTO",
              "NR_OP_CAMBIO", "VL_VINC_MD_CAMBIO", "NR_COMPR_CAMBIO", "CD_TP_COMPR_CAMBIO"}),
        {{m, "001", "0", "2", F, "237", "6521", "260312001", "24115", "45721893000100", "1"},
         {m, "001", "1", "2", F, "001", "6521", "260312002", "24115", "28219543019", "2"},
         {m, "002", "1", "1", T, "341", "7107", "260228117", "6435,2", "45721893000100", "1"},
         {m, "002", "2", "1", F, "341", "7107", "260305009", "6435,2", "45721893000100", "1"}});
    // Every tax row; the IPI (0002) also takes the benefit, the agreement rate, the right type and the
    // TIPI note, and keeps no reduced rate when the benefit is 5 (addition 003).
    expectTable(
        w, "TRIBUTO",
        with({"CD_RECEITA_IMPOSTO", "CD_TIPO_ALIQ_IPT", "VL_BASE_CALC_ADVAL", "PC_ALIQ_NORM_ADVAL", "PC_ALIQ_REDUZIDA",
              "PC_REDUCAO_IPT_BLI", "VL_CALC_IPT_ADVAL", "VL_CALC_II_AC_TARI", "VL_IMPOSTO_DEVIDO", "VL_IPT_A_RECOLHER",
              "VL_ALIQ_ESPEC_IPT", "QT_MERC_UN_ALIQ_ES", "NM_UN_ALIQ_ESP_IPT", "VL_CALC_IPT_ESPEC", "CD_TIPO_BENEF_IPI",
              "PC_ALIQ_ACOR_TARIF", "CD_TIPO_DIREITO", "NR_NOTA_COMPL_TIPI"}),
        {
            {m,         "001",     "0001", "1", "313397,89", "14", "0", "0", "43875,7", "0",
             "43875,7", "43875,7", "0",    "0", "",          "0",  "",  "",  "",        ""},
            {m,          "001",      "0002", "1", "357273,59", "5,2", "0", "0", "18578,23", "0",
             "18578,23", "18578,23", "0",    "0", "",          "0",   "4", "0", "0",        "01"},
            {m,         "001",     "0005", "1", "313397,89", "2,1", "0", "0", "6581,36", "0",
             "6581,36", "6581,36", "0",    "0", "",          "0",   "",  "",  "",        ""},
            {m,         "001",     "0006", "1", "313397,89", "9,65", "0", "0", "30242,9", "0",
             "30242,9", "30242,9", "0",    "0", "",          "0",    "",  "",  "",        ""},
            {m,          "002",      "0001", "1", "88261,82", "16", "14", "12,5", "14121,89", "12356,65",
             "14121,89", "14121,89", "0",    "0", "",         "0",  "",   "",     "",         ""},
            {m,   "002", "0002", "1", "100618,47", "0", "0", "0", "0", "0",
             "0", "0",   "0",    "0", "",          "0", "3", "0", "0", "01"},
            {m,        "002",    "0005", "1", "88261,82", "2,1", "0", "0", "1853,5", "0",
             "1853,5", "1853,5", "0",    "0", "",         "0",   "",  "",  "",       ""},
            {m,         "002",     "0006", "1", "88261,82", "9,65", "0", "0", "8517,27", "0",
             "8517,27", "8517,27", "0",    "0", "",         "0",    "",  "",  "",        ""},
            {m,        "002",    "0003", "2",      "0",
             "0",      "0",      "0",    "7820,4", "0",
             "7820,4", "7820,4", "1,47", "5320",   "QUILOGRAMA LIQUIDO",
             "1,47",   "",       "",     "",       ""},
            {m,          "003",      "0001", "1", "212865,17", "18", "0", "0", "38315,73", "0",
             "38315,73", "38315,73", "0",    "0", "",          "0",  "",  "",  "",         ""},
            {m,   "003", "0002", "1", "251180,9", "0", "",  "",  "0", "0",
             "0", "0",   "0",    "0", "",         "0", "5", "0", "0", "01"},
            {m,         "003",     "0005", "1", "212865,17", "2,1", "0", "0", "4470,17", "0",
             "4470,17", "4470,17", "0",    "0", "",          "0",   "",  "",  "",        ""},
            {m,          "003",      "0006", "1", "212865,17", "9,65", "0", "0", "20541,49", "0",
             "20541,49", "20541,49", "0",    "0", "",          "0",    "",  "",  "",         ""},
        });
    expectTable(w, "DOCUMENTO_VINCULADO", with({"NU_SEQ_DOCUMENTO", "CD_TIPO_DCTO_VINC", "NR_DCTO_VINCULADO"}),
                {{m, "001", "0", "1", "DE-2026-0142"},
                 {m, "002", "0", "1", "BL-LC-2026-0088"},
                 {m, "002", "1", "2", "PL-2026-0088"},
                 {m, "003", "0", "1", "NB-EC-26-1180"}});
}

void expectItemsAndActs(const OrientadorWorld& w, const std::string& m) {
    expectTable(
        w, "DETALHE_MERCADORIA",
        {"NR_DECL_IMP_MICRO", "NR_OP_IMP_MICRO", "NU_SEQ_DETALHE", "TX_DESC_DET_MERC", "QT_MERC_UN_COMERC",
         "NM_UN_MEDID_COMERC", "CD_PRODUTO", "VL_UNID_COND_VENDA"},
        {{m, "001", "1",
          "Válvula de esfera tripartida 2\" em aço inox AISI 316, classe 1000 WOG\r\nExtremidades roscadas NPT",
          "00000032000000", "PECA", "MVP-8481-001", "00000000000955000000"},
         {m, "001", "2", "Válvula de esfera tripartida 3\" em aço inox AISI 316, classe 800 WOG", "00000015000000",
          "PECA", "MVP-8481-002", "00000000001178000000"},
         {m, "002", "1", "Parafuso sextavado M12 x 60 mm, classe 8.8, galvanizado a fogo", "00000532000000",
          "QUILOGRAMA LIQUIDO", "MVP-7318-003", "00000000000024192000"},
         {m, "003", "1", "Painel elétrico de comando para prensa hidráulica, 380 V, usado e recondicionado",
          "00000001200000", "UNIDADE", "MVP-8537-004", "00000000018500000000"},
         {m, "003", "2", "Painel elétrico de comando para esteira transportadora, 220 V, usado e recondicionado",
          "00000000500000", "UNIDADE", "MVP-8537-005", "00000000018100000000"}});
    expectTable(w, "ATO_VINCULADO",
                {"NR_DECL_IMP_MICRO", "NR_OP_IMP_MICRO", "CD_ASSUNTO_VINCUL", "SG_TIPO_ATO_VINCUL", "SG_ORG_ATO_VINCUL",
                 "DT_ANO_ATO_VINCUL", "NR_ATO_VINCULADO", "NR_EX_ATO_VINCUL"},
                {{m, "001", "4", "RESOLUCAO", "GECEX", "2024", "000512", ""},
                 {m, "001", "1", "PORTARIA", "SECEX", "2025", "000123", "001"},
                 {m, "002", "6", "RESOLUCAO", "GECEX", "2023", "000421", ""},
                 {m, "002", "3", "DECRETO", "PR", "1994", "001562", ""},
                 {m, "003", "2", "PORTARIA", "MF", "1996", "000044", "002"},
                 {m, "003", "1", "RESOLUCAO", "CAMEX", "2022", "000272", "003"}});
}

} // namespace

void expectSampleDeclaration(const OrientadorWorld& w, const std::string& micro) {
    expectHead(w, micro);
    expectProcessLists(w, micro);
    expectAdditions(w, micro);
    expectAdditionLists(w, micro);
    expectItemsAndActs(w, micro);
}
