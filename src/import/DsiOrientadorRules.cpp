#include "import/DsiOrientadorRules.h"

#include "import/PartyRules.h"

namespace DsiRules {

namespace {
constexpr RuleSource P = Principal;
constexpr RuleSource A = Aux;
constexpr RuleSource L = TPAux2;
} // namespace

const std::vector<Rule> GeneralHead = {
    {"DT_CRIACAO", P, "DATA_BASE_CALCULO", slashDate},
    {"CD_TIPO_NATUREZA", P, "TIPO_DECLARACAO"},
};

const std::vector<Rule> GeneralCargo = {
    {"CD_URF_DESPACHO", P, "URF_DESPACHO"},
    {"CD_PAIS_PROC_CARGA", P, "PROCEDENCIA"},
    {"CD_VIA_TRANSP_CARGA", P, "VIA_TRANSPORTE"},
    {"NR_TERMO_ENTRADA", P, "DOC_CHEGADA_NUMERO"},
    {"CD_TIPO_DCTO_CARGA", P, "CONHECIMENTO_TIPO"},
    {"NR_DCTO_CARGA_HOUSE", P, "HOUSE"},
    {"NR_DCTO_CARGA_MAST", P, "MASTER"},
    {"DT_EMBARQUE", P, "DATA_EMBARQUE", slashDate},
    {"PB_CARGA", P, "PESO_BRUTO"},
    {"PL_CARGA", P, "PESO_LIQUIDO"},
    {"CD_RECINTO_ALFAND", P, "RECINTO"},
    {"CD_SETOR_ARMAZENAM", P, "SETOR"},
    {"CD_MOEDA_FRETE", P, "FRETE_MOEDA"},
    {"VL_TOT_FRETE_MNEG", P, "FRETE_TOTAL_MNEG"},
    {"VL_TOTAL_FRETE_MN", P, "FRETE_TOTAL_REAL"},
    {"CD_MOEDA_SEGURO", P, "SEGURO_MOEDA"},
    {"VL_TOT_SEGURO_MNEG", P, "SEGURO_TOTAL_MNEG"},
    {"VL_TOTAL_SEG_MN", P, "SEGURO_TOTAL_REAL"},
    {"VL_TOTAL_MLE_MN", P, "VMLE_TOTAL_REAL"},
    {"VL_TOTAL_II_CALC", P, "II_CALCULADO"},
    {"VL_TOTAL_IPI_CALC", P, "IPI_CALCULADO"},
    {"VL_TOTAL_II_A_REC", P, "II_RECOLHIDO"},
    {"VL_TOTAL_IPI_A_REC", P, "IPI_RECOLHIDO"},
    {"CD_TIPO_PGTO_TRIB", P, "TIPO_PAGAMENTO"},
    {"NR_CONTA_PGTO_TRIB", P, "NR_CONTA"},
    {"TX_INFO_COMPL", P, "COMPLEMENTARES", lineBreaks},
    {"VL_TOTAL_PIS_CALC", P, "PIS_CALCULADO"},
    {"VL_TOTAL_COFINS_CALC", P, "COFINS_CALCULADO"},
    {"VL_TOTAL_PIS_A_REC", P, "PIS_RECOLHIDO"},
    {"VL_TOTAL_COFINS_A_REC", P, "COFINS_RECOLHIDO"},
    {"NR_DECL_SIMPL_IMP", P, "NR_DI"},
    {"DT_REGISTRO_DSI", P, "DATA_DI", slashDate},
};

const std::vector<Rule> GoodsFields = {
    {GoodsNumber, A, "ID_ITEM"},
    {"NR_OPER_TRAT_PREV", A, "NR_LI"},
    {"CD_REGIME_TRIBUTAR", L, "REGIME_TRIB1"},
    {"CD_FUND_LEG_REGIME", L, "FUNDAMENTO_LEGAL1"},
    {"CD_MOTIVO_FUND_LEG", L, "MOT_ADMISSAO_TEMP"},
    {"IN_CLASSIFICACAO", Literal, "0"},
    {"CD_MERCADORIA", A, "NCM"},
    {"CD_PAIS_ORIG_MERC", A, "PAIS_ORIGEM"},
    {"IN_MATERIAL_USADO", L, "CONDICAO_MERC", flagWhen("2")},
    {"QT_UN_ESTATISTICA", L, "QTDE_MEDIDA_ESTAT"},
    {"NM_UN_MEDID_COMERC", A, "UNIDADE"},
    {"QT_MERC_UN_COMERC", A, "QUANTIDADE"},
    {"PL_BEM", A, "PESO_LIQUIDO"},
    {"VL_UNID_LOC_EMB", A, "UNITARIO_CVENDA"},
    {"VL_MERC_LOC_EMB", A, "TOTAL_CVENDA"},
    {"CD_MOEDA_NEGOCIADA", A, "MOEDA_NEGOCIADA"},
    {"VL_ADUANEIRO", L, "BASE_CALCULO"},
    {"VL_FRETE_MERC_MNEG", L, "FRETE_MNEG"},
    {"CD_MD_FRETE_MERC", P, "FRETE_MOEDA"},
    {"VL_FRETE_MERC_MN", L, "FRETE_REAL"},
    {"VL_SEG_MERC_MN", L, "SEGURO_REAL"},
    {"VL_MERC_EMB_MN", L, "VMLE_REAL"},
    {"TX_DESC_DET_MERC", A, "DESCRICAO", lineBreaks},
    {"VL_ALIQ_ICMS", L, "ALIQ_ICMS"},
    {"CD_REGIME_TRIBUTAR_PISCOFINS", L, "REGIME_TRIB2"},
    {"CD_FUND_LEG_REGIME_PISCOFINS", L, "FUNDAMENTO_LEGAL2"},
};

const ListTable Payments = {"DSI_PGTO_TRIBUTOS",
                            "PAGAMENTO",
                            "NR_SEQUENCIAL",
                            1,
                            {{"CD_RECEITA_PGTO", A, "ID_TRIBUTO"},
                             {"CD_BANCO_PGTO_TRIB", P, "NR_BANCO"},
                             {"NR_AGENC_PGTO_TRIB", P, "ID_AGENCIA"},
                             {"VL_TRIBUTO_PAGO", A, "VALOR"},
                             {"DT_PGTO_TRIBUTO", A, "DATA", slashDate}}};

const ListTable Volumes = {"DSI_VOLUMES",
                           "VOLUMES",
                           "NR_SEQUENCIAL",
                           1,
                           {{"CD_TIPO_EMBALAGEM", A, "EMBALAGEM"}, {"QT_VOLUME_CARGA", A, "QUANTIDADE"}}};

const std::map<std::string, std::vector<Rule>> TaxFields = {
    {"0001", // II
     {{"PC_ALIQ_NORM_ADVAL_II", L, "ALIQ_NORMAL"},
      {"VL_IMPOSTO_DEVIDO_II", L, "VR_DEVIDO"},
      {"VL_IPT_A_RECOLHER_II", L, "VR_RECOLHER"},
      {"VL_BASE_CALC_ADVAL_II", L, "BASE_CALCULO"}}},
    {"0002", // IPI
     {{"PC_ALIQ_NORM_ADVAL_IPI", L, "ALIQ_NORMAL"},
      {"VL_IMPOSTO_DEVIDO_IPI", L, "VR_DEVIDO"},
      {"VL_IPT_A_RECOLHER_IPI", L, "VR_RECOLHER"},
      {"VL_BASE_CALC_ADVAL_IPI", L, "BASE_CALCULO"}}},
    {"0005", // PIS
     {{"VL_BASE_CALC_ADVAL_PISCOF", L, "BASE_CALCULO"},
      {"PC_ALIQ_NORM_ADVAL_PIS", L, "ALIQ_NORMAL"},
      {"VL_ALIQ_ESPEC_PIS", L, "VR_ESPECIF"},
      {"NM_UN_ALIQ_ESPEC_PIS", L, "UNIDADE_ESPECIF"},
      {"QT_MERC_UN_ALIQ_ESPEC_PIS", L, "QTDE_UNID_ESPECIF"},
      {"VL_IMPOSTO_CALCULADO_PIS", L, "VR_CALCULADO"},
      {"VL_IMPOSTO_DEVIDO_PIS", L, "VR_DEVIDO"},
      {"VL_IPT_A_RECOLHER_PIS", L, "VR_RECOLHER"}}},
    {"0006", // COFINS
     {{"PC_ALIQ_NORM_ADVAL_COF", L, "ALIQ_NORMAL"},
      {"VL_ALIQ_ESPEC_COF", L, "VR_ESPECIF"},
      {"NM_UN_ALIQ_ESPEC_COF", L, "UNIDADE_ESPECIF"},
      {"QT_MERC_UN_ALIQ_ESPEC_COF", L, "QTDE_UNID_ESPECIF"},
      {"VL_IMPOSTO_CALCULADO_COF", L, "VR_CALCULADO"},
      {"VL_IMPOSTO_DEVIDO_COF", L, "VR_DEVIDO"},
      {"VL_IPT_A_RECOLHER_COF", L, "VR_RECOLHER"}}},
};

std::vector<TableTargets> tableTargets() {
    using namespace PartyRules;
    std::vector<std::string> taxes{Key, GoodsNumber};
    for (const auto& [tax, rules] : TaxFields)
        for (const std::string& target : targetsOf({&rules}))
            taxes.push_back(target);
    return {
        {File, General,
         targetsOf({&GeneralHead, &ImporterIdentity, &ImporterAddress, &ImporterState, &ImporterCountry, &GeneralCargo},
                   {Key})},
        {File, Goods, targetsOf({&GoodsFields}, {Key, GoodsHighlight})},
        {File, Payments.table, targetsOf({&Payments.fields}, {Key, Payments.sequence})},
        {File, GoodsTaxes, taxes},
        {File, Volumes.table, targetsOf({&Volumes.fields}, {Key, Volumes.sequence})},
    };
}

} // namespace DsiRules
