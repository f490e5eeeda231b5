#include "import/DiNorvikRules.h"

namespace DiNorvikRules {

const std::vector<std::pair<const char*, const char*>> HeaderConstants = {
    {"MODALIDADE", "1"}, {"ICMS", "2"},      {"FUNDAP", "2"}, {"UTILIZ", "1"},   {"ACRESC", "3"},    {"DEDUC", "3"},
    {"MULTIMODAL", "2"}, {"TIPO_CAD", "0"},  {"FOBDVS", "N"}, {"MULTA", "1"},    {"SINDICATO", "1"}, {"TIPORAT", "1"},
    {"RATFRETE", "2"},   {"ATUAL_WEB", "1"}, {"ACRESC", "3"}, {"PROCESSO", "1"}, {"ICMS", "3"},
};

const std::vector<NorvikRule> HeaderCopies = {
    {"REFERENCIA", Main, "REF_IMPORTADOR"},
    {"NR_DI", Main, "NR_DI"},
    {"FUNDAP", Main, "FUNDAP"},
    {"URF_ENTR", Main, "URF_ENTRADA"},
    {"URF_DESP", Main, "URF_DESPACHO"},
    {"PAIS_PROC", Main, "PROCEDENCIA"},
    {"VEICULO", Main, "VEICULO_NOME"},
    {"PLACA", Main, "VEICULO_PLACA"},
    {"BANDEIRA", Main, "BANDEIRA"},
    {"LOCAL_EMB", Main, "LOCAL_EMBARQUE"},
    {"UTILIZ", Main, "UTILIZACAO"},
    {"PESO_BRUTO", Main, "PESO_BRUTO"},
    {"PESO_LIQ", Main, "PESO_LIQUIDO"},
    {"TIPO_MANIF", Main, "DOC_CHEGADA_TIPO"},
    {"IDENTIF", Main, "DOC_CHEGADA_NUMERO"},
    {"SETOR", Main, "SETOR"},
    {"MOEDA_FRT", Main, "FRETE_MOEDA"},
    {"PREPAID", Main, "PREPAID"},
    {"COLLECT", Main, "COLLECT"},
    {"TERRIT", Main, "TERRIT_NACIONAL"},
    {"FRETE", Main, "FRETE_TOTAL_MNEG"},
    {"FRT_REAL", Main, "FRETE_TOTAL_REAL"},
    {"MOEDA_SEG", Main, "SEGURO_MOEDA"},
    {"SEGURO", Main, "SEGURO_TOTAL_MNEG"},
    {"SEG_REAL", Main, "SEGURO_TOTAL_REAL"},
    {"MOEDA_FOB", Main, "VMLE_MOEDA"},
    {"FOB", Main, "VMLE_TOTAL_MNEG"},
    {"FOB_REAL", Main, "VMLE_TOTAL_REAL"},
    {"TII_DEV", Main, "II_CALCULADO"},
    {"TII_REC", Main, "II_RECOLHIDO"},
    {"TIPI_DEV", Main, "IPI_CALCULADO"},
    {"TIPI_REC", Main, "IPI_RECOLHIDO"},
    {"VR_PIS", Main, "PIS_RECOLHIDO"},
    {"VR_COFINS", Main, "COFINS_RECOLHIDO"},
};

const std::vector<NorvikRule> HeaderDollars = {
    {"FRT_US", Main, "FRETE_TOTAL_REAL"},
    {"SEG_US", Main, "SEGURO_TOTAL_REAL"},
    {"FOB_US", Main, "VMLE_TOTAL_REAL"},
};

const std::vector<NorvikRule> ExpenseCopies = {
    {"VALOR", ProcessList, "LANCAMENTO_VALOR"},         {"EFETIVO", ProcessList, "LANCAMENTO_EFETIVO"},
    {"DATA_PGTO", ProcessList, "LANCAMENTO_DATA_PGTO"}, {"ADIANTADO", ProcessList, "LANCAMENTO_ADIANTADO"},
    {"PAGO_POR", ProcessList, "LANCAMENTO_PAGO_POR"},   {"VENCTO", ProcessList, "LANCAMENTO_VENCIMENTO"},
};

const std::vector<NorvikRule> LinkedCopies = {
    {"TIPO", ProcessList, "TIPO_PROCESSO1"},
    {"NUMERO", ProcessList, "ID_PROCESSO1"},
};

const std::vector<NorvikRule> DocumentCopies = {{"NUMERO", ProcessList, "ID_DOCTO"}};

const std::vector<NorvikRule> PackageCopies = {
    {"TIPO", ProcessList, "EMBALAGEM"},
    {"QTDE", ProcessList, "QUANTIDADE"},
};

const std::vector<NorvikRule> PaymentCopies = {
    {"RECEITA", ProcessList, "ID_TRIBUTO"}, {"BANCO", Main, "NR_BANCO"}, {"AGENCIA", Main, "ID_AGENCIA"},
    {"PGTO", Main, "TIPO_PAGAMENTO"},       {"CONTA", Main, "NR_CONTA"}, {"VALOR", ProcessList, "VALOR"},
};

const std::vector<NorvikRule> AdditionCopies = {
    {"NR_LI", Addition, "NR_LI"},
    {"IEVINC", Addition, "VINCULO_IMPEXP"},
    {"QTDE", Addition, "QTDE_MEDIDA_ESTAT"},
    {"APLMERC", Addition, "APLICACAO_MERC"},
    {"FOB", Addition, "VMLE_MNEG"},
    {"FOB_REAL", Addition, "VMLE_REAL"},
    {"INCOTERM", Addition, "INCOTERM"},
    {"LOCVENDA", Addition, "LOCAL_VENDA"},
    {"CIF_US", Addition, "VMLE_MNEG"},
    {"CIF_REAL", Addition, "VMLE_REAL"},
    {"FRETE", Addition, "FRETE_MNEG"},
    {"FRT_REAL", Addition, "FRETE_REAL"},
    {"SEGURO", Addition, "SEGURO_MNEG"},
    {"SEG_REAL", Addition, "SEGURO_REAL"},
    {"VALORACAO", Addition, "VALORACAO"},
    {"ALADI", Addition, "CODIGO"},
    {"REGTRIB", Addition, "REGIME_TRIB1"},
    {"DISPLEG", Addition, "FUNDAMENTO_LEGAL1"},
    {"MOR_ADMTMP", Addition, "MOT_ADMISSAO_TEMP"},
    {"IIPREDUZ", Addition, "PERC_REDUCAO"},
    {"CAMBIO", Addition, "COBERTURA_CAMBIAL"},
    {"MODALIDADE", Addition, "MODALIDADE_PGTO"},
    {"INSTFINANC", Addition, "INST_FINANC"},
    {"MOT_SCOB", Addition, "MOTIVO_SEMCOB"},
    {"PARCELAS", Addition, "NR_PARCELAS"},
    {"INDPERIOD", Addition, "IND_PERIODICIDADE"},
    {"PERIODIC", Addition, "PERIODICIDADE"},
    {"VTPAGTO", Addition, "VR_TOTAL"},
    {"TAXAJUROS", Addition, "VR_TAXAJUROS"},
    {"CODTXJUROS", Addition, "ID_TAXAJUROS"},
    {"VRROF", Addition, "VR_ROF"},
    {"ROF", Addition, "NR_ROF"},
    {"PERCAGEN", Addition, "PERC_COMISSAO"},
    {"BANCO", Addition, "BANCO"},
    {"AGENCIA", Addition, "AGENCIA"},
    {"ICMS", Addition, "TIPO_CALC_ICMS"},
    {"ICMS_PE", Addition, "ALIQ_ICMS_ADIC"},
    {"ICMS_RED", Addition, "PERC_RED_ICMS"},
    {"FREDPISCOF", Addition, "FUND_LEGAL_RED_BASE"},
    {"FUNDPISCOF", Addition, "FUNDAMENTO_LEGAL2"},
};

const std::vector<NorvikRule> AdditionItemCopies = {
    {"NALADISH", Items, "NALADI_SH"},
    {"NALADINC", Items, "NALADI_NCCA"},
    {"PAIS_ORIG", Items, "PAIS_ORIGEM"},
    {"MOEDA_FOB", Items, "MOEDA_NEGOCIADA"},
};

const std::vector<NorvikRule> AdditionDollars = {
    {"FOB_US", Addition, "VMLE_REAL"},
    {"FRT_US", Addition, "FRETE_REAL"},
    {"SEG_US", Addition, "SEGURO_REAL"},
};

namespace {

// PIS and COFINS take the same source fields.
std::vector<NorvikRule> contribution(const char* rate, const char* reduced, const char* calc, const char* agreed,
                                     const char* due, const char* paid, const char* specific, const char* quantity,
                                     const char* unit) {
    return {{rate, AdditionList, "ALIQ_NORMAL"},    {reduced, AdditionList, "PERC_REDUCAO"},
            {calc, AdditionList, "VR_CALCULADO"},   {agreed, AdditionList, "VR_ACORDO"},
            {due, AdditionList, "VR_DEVIDO"},       {paid, AdditionList, "VR_RECOLHER"},
            {specific, AdditionList, "VR_ESPECIF"}, {quantity, AdditionList, "QTDE_UNID_ESPECIF"},
            {unit, AdditionList, "UNIDADE_ESPECIF"}};
}

} // namespace

const std::vector<NorvikTributeRules> Tributes = {
    {"0001",
     {{"IIADVAL", AdditionList, "ALIQ_NORMAL"},
      {"IICALC", AdditionList, "VR_CALCULADO"},
      {"IIREDUZ", AdditionList, "ALIQ_REDUZIDA"},
      {"IIPREDUZ", AdditionList, "PERC_REDUCAO"},
      {"IIACORDO", AdditionList, "ALIQ_ACORDO"},
      {"IIRED", AdditionList, "VR_ACORDO"},
      {"IIDEV", AdditionList, "VR_DEVIDO"},
      {"IIREC", AdditionList, "VR_RECOLHER"},
      {"IPI_COMPL", AdditionList, "NR_NOTA_COMPL_TIPI"}}},
    {"0002",
     {{"IPIADVAL", AdditionList, "ALIQ_NORMAL"},
      {"IPIESP_UN", AdditionList, "UNIDADE_ESPECIF"},
      {"IPIESP_CP", AdditionList, "CAPACIDADE_RECIP"},
      {"IPIESP_TP", AdditionList, "TIPO_RECIPIENTE"},
      {"IPIESP_QT", AdditionList, "QTDE_UNID_ESPECIF"},
      {"IPIESP_TOT", AdditionList, "VR_ESPECIF"},
      {"IPIDEV", AdditionList, "VR_DEVIDO"},
      {"IPIREC", AdditionList, "VR_RECOLHER"},
      {"BENEFIPI", Addition, "BENEFICIO_IPI"}}},
    {"0003",
     {{"ATDESP_AL", AdditionList, "ALIQ_NORMAL"},
      {"ATDESP_UN", AdditionList, "UNIDADE_ESPECIF"},
      {"ATDESP_VR", AdditionList, "VR_ESPECIF"},
      {"ATDESP_TOT", AdditionList, "VR_ESPECIF"}}},
    {"0005", contribution("PE_PIS", "PISALIQRED", "PIS_CALC", "PIS_REDUZ", "PIS_DEVIDO", "VR_PIS", "PISESP_VR",
                          "PISESP_QT", "PISESP_UN")},
    {"0006", contribution("PE_COFINS", "COFALIQRED", "COF_CALC", "COF_REDUZ", "COF_DEVIDO", "VR_COFINS", "COFESP_VR",
                          "COFESP_QT", "COFESP_UN")},
};

const std::vector<NorvikRule> ExchangeCopies = {
    {"BANCO", AdditionList, "BANCO"},
    {"PRACA", AdditionList, "PRACA"},
    {"CONTRATO", AdditionList, "NR_CONTRATO"},
    {"VALOR", AdditionList, "VR_VINCULADO"},
    {"COMPRADOR", AdditionList, "ID_COMPRADOR"},
};

const NorvikListRules LinkedDocuments = {
    "RIADI2", "DOC_VINCULADO", {{"TIPO", AdditionList, "TIPO"}, {"NUMERO", AdditionList, "NUMERO"}}};

const NorvikListRules NveAttributes = {
    "RIADI6", "ITEM_NVE", {{"NIVEL", AdditionList, "NIVEL"}, {"ATRIBUTO", AdditionList, "ATRIBUTO"}}};

const NorvikListRules MercosurDeclarations = {"RIITDE",
                                              "ITEM_DEE",
                                              {{"DEE_NUMERO", AdditionList, "DE_MERCOSUL"},
                                               {"DEE_DE", AdditionList, "RE_INICIAL"},
                                               {"DEE_ATE", AdditionList, "RE_FINAL"},
                                               {"CO_PAIS", AdditionList, "PAIS_CERTIFICADO"},
                                               {"CO_NUMERO", AdditionList, "DI_CERTIFICADO"},
                                               {"CO_ITEM", AdditionList, "ITEM_CERTIFICADO"},
                                               {"CO_QTDE_ME", AdditionList, "QT_UNIDADE_MERCOSUL"}}};

const std::vector<NorvikRule> ItemCopies = {
    {"QTDE", Items, "QUANTIDADE"},
    {"PRODUTO", Items, "COD_PRODUTO"},
    {"NR_LI", Items, "NR_LI"},
    {"PAIS_ORIG", Items, "PAIS_ORIGEM"},
    {"NBM", Items, "NBM"},
    {"NCM", Items, "NCM"},
    {"MOEDA", Items, "MOEDA_NEGOCIADA"},
    {"PESOTOT", Items, "PESO_LIQUIDO"},
    {"FOBUNIT", Items, "UNITARIO_CVENDA"},
    {"FOBTOT", Items, "TOTAL_CVENDA"},
    {"PEDIDO", Items, "NR_PO"},
    {"AUXILIAR2", Items, "ITEM_PO"},
    {"AUXILIAR3", Items, "NR_INVOICE"},
    {"AUXILIAR5", Items, "ITEM_INVOICE"},
    {"CONTAINER", Items, "CONTAINER"},
    {"AUXILIAR4", Items, "PLANTA"},
    {"NAT_OPER", Items, "CFOP"},
};

const std::vector<std::pair<const char*, const char*>> LegalActs = {
    {"6", "ATOLEGAL_ANTIDUMP"}, {"4", "ATOLEGAL_REGTRIB"}, {"3", "ATOLEGAL_ACORDO"},
    {"2", "ATOLEGAL_NBM"},      {"1", "ATOLEGAL_NCM"},
};

} // namespace DiNorvikRules
