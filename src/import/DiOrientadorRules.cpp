#include "import/DiOrientadorRules.h"

#include "import/PartyRules.h"

namespace DiRules {

namespace {
constexpr RuleSource P = Principal;
constexpr RuleSource A = Aux;
constexpr RuleSource L = TPAux2;
} // namespace

// --- DECLARAÇÃO_IMPORTAÇÃO

const std::vector<Rule> DeclarationHead = {
    // The identifier is stored exactly as the next transfer of the process looks it up.
    {"NR_IDENT_USUARIO", P, "ID_PROCESSO", trimmedText},
    {"DT_PROCESSAMENTO", P, "DATA_BASE_CALCULO", date},
    {"CD_TIPO_DECLARACAO", P, "TIPO_DECLARACAO", pad(2)},
};

const std::vector<Rule> Clearance = {
    {"CD_MODALIDADE_DESP", P, "MODALIDADE"},
    {"IN_OPERACAO_FUNDAP", P, "FUNDAP", simNao},
};

const std::vector<Rule> CargoEntryUnit = {{"CD_URF_ENTR_CARGA", P, "URF_ENTRADA"}};

const std::vector<Rule> Dispatch = {
    {"CD_URF_DESPACHO", P, "URF_DESPACHO"},
    {"CD_TIPO_CONSIG", P, "TIPO_OPERACAO"},
};

const std::vector<Rule> Consignee = {{"NR_CONSIGNATARIO", P, "CONSIGNATARIO_CNPJ_CPF"}};

const std::vector<Rule> Carrier = {
    {"CD_PAIS_PROC_CARGA", P, "PROCEDENCIA"},   {"CD_VIA_TRANSP_CARG", P, "VIA_TRANSPORTE", pad(2)},
    {"IN_MULTIMODAL", P, "MULTIMODAL", simNao}, {"NR_VEICULO_TRANSP", P, "VEICULO_PLACA"},
    {"NM_VEICULO_TRANSP", P, "VEICULO_NOME"},   {"NM_TRANSPORTADOR", P, "TRANSPORTADOR_RAZAO_SOCIAL"},
    {"CD_BANDEIRA_TRANSP", P, "BANDEIRA"},      {"CD_TIPO_AG_CARGA", P, "AGENTE_TIPO"},
    {"NR_AGENTE_CARGA", P, "AGENTE_CNPJ_CPF"},  {"CD_TIPO_DCTO_CARGA", P, "CONHECIMENTO_TIPO"},
};

const std::vector<Rule> HouseAndMaster = {
    {CargoDocument, P, "HOUSE"},
    {CargoDocumentMaster, P, "MASTER"},
};

const std::vector<Rule> MasterOnly = {{CargoDocument, P, "MASTER"}};

const std::vector<Rule> Shipment = {
    {"NM_LOCAL_EMBARQUE", P, "LOCAL_EMBARQUE"},
    {"DT_EMBARQUE", P, "DATA_EMBARQUE", date},
    {"DT_CHEGADA_CARGA", P, "DATA_CHEGADA", date},
};

const std::vector<Rule> Arrival = {
    {"CD_UTIL_DCTO_CARGA", P, "UTILIZACAO"},
    {"CD_TIPO_MANIFESTO", P, "DOC_CHEGADA_TIPO"},
    {"NR_MANIFESTO", P, "DOC_CHEGADA_NUMERO"},
};

const std::vector<Rule> Freight = {
    {"VL_TOT_FRT_PREPAID", P, "PREPAID"},         {"VL_TOT_FRT_COLLECT", P, "COLLECT"},
    {"VL_FRETE_TNAC_MNEG", P, "TERRIT_NACIONAL"}, {"CD_MOEDA_FRETE", P, "FRETE_MOEDA"},
    {"VL_TOTAL_FRETE_MN", P, "FRETE_TOTAL_REAL"}, {"VL_TOT_SEGURO_MNEG", P, "SEGURO_TOTAL_MNEG"},
    {"CD_MOEDA_SEGURO", P, "SEGURO_MOEDA"},       {"VL_TOTAL_SEG_MN", P, "SEGURO_TOTAL_REAL"},
};

const std::vector<Rule> GoodsValue = {
    {"CD_MOEDA_MLE", P, "VMLE_MOEDA"},
    {GoodsValueInCurrency, P, "VMLE_TOTAL_MNEG"},
    {"VL_TOTAL_MLE_MN", P, "VMLE_TOTAL_REAL"},
    {"IN_MOEDA_UNICA", Literal, "True"},
};

// Without a currency and an amount in it, only the amount in reais is known (the amount in the
// currency is set to the number 0 by the writer).
const std::vector<Rule> GoodsValueWithoutCurrency = {
    {"VL_TOTAL_MLE_MN", P, "VMLE_TOTAL_REAL"},
    {"IN_MOEDA_UNICA", Literal, "False"},
};

const std::vector<Rule> Cargo = {
    {"PB_CARGA", P, "PESO_BRUTO", fixed(15, 5)},
    {"PL_CARGA", P, "PESO_LIQUIDO", fixed(15, 5)},
    {"CD_RECINTO_ALFAND", P, "RECINTO"},
    {"CD_SETOR_ARMAZENAM", P, "SETOR"},
};

const std::vector<Rule> Complement = {{"TX_INFO_COMPL", P, "COMPLEMENTARES", lineBreaks}};

const std::vector<Rule> TaxPayment = {{"CD_TIPO_PGTO_TRIB", P, "TIPO_PAGAMENTO"}};

const std::vector<Rule> Account = {{"NR_CONTA_PGTO_TRIB", P, "NR_CONTA"}};

const std::vector<Rule> Registration = {
    {"NR_DECLARACAO_IMP", P, "NR_DI"},
    {"DT_REGISTRO_DI", P, "DATA_DI", date},
};

// --- lists of the process

const std::vector<ListTable> ProcessLists = {
    {"PROCESSO_DI",
     "PROC_VINCULADO",
     "NR_SEQ_PROCESSO",
     1,
     {{"CD_TIPO_PROCESSO", A, "TIPO_PROCESSO1"}, {"NR_PROCESSO_INSTR", A, "ID_PROCESSO1"}}},
    {"DOCUMENTO_INSTRUÇÃO",
     "DOCUMENTO",
     "NR_SEQ_DCTO_INSTR",
     1,
     {{"CD_TIPO_DCTO_INSTR", A, "TIPO_DOCTO", pad(2)}, {"NR_DCTO_INSTRUCAO", A, "ID_DOCTO"}}},
    {"EMBALAGEM_CARGA",
     "VOLUMES",
     "NR_SEQ_EMBALAGEM",
     0,
     {{"CD_TIPO_EMBALAGEM", A, "EMBALAGEM"}, {"QT_VOLUME_CARGA", A, "QUANTIDADE", padWithoutDots(5)}}},
    {"CARGA_ARMAZÉM", "NR_ARMAZEM", "NR_SEQ_ARMAZEM", 1, {{"NM_ARMAZEM_CARGA", A, "NUMERO"}}},
    {"PAGAMENTO_TRIBUTOS",
     "PAGAMENTO",
     "NR_SEQ_PGTO_TRIB",
     1,
     {{"CD_RECEITA_PGTO", A, "ID_TRIBUTO"},
      {"CD_BANCO_PGTO_TRIB", P, "NR_BANCO"},
      {"NR_AGENC_PGTO_TRIB", P, "ID_AGENCIA"},
      {"VL_TRIBUTO_PAGO", A, "VALOR"},
      {"DT_PGTO_TRIBUTO", A, "DATA", date}}},
    {"DE_MERCOSUL_DI",
     "DEE",
     "NR_SEQ_DE",
     0,
     {{"NR_DE_MERCOSUL", A, "NUMERO"}, {"NR_RE_INICIAL", A, "ITEM_INICIAL"}, {"NR_RE_FINAL", A, "ITEM_FINAL"}}},
};

// --- OP_ADIÇÃO_DE_IMPORTAÇÃO

const std::vector<Rule> AdditionKey = {{AdditionNumber, A, "ID_ADICAO", pad(3)}};

const std::vector<Rule> EntryPerAddition = {
    {"CD_URF_ENTR_MERC", P, "URF_ENTRADA"},
    {"CD_VIA_TRANSPORTE", P, "VIA_TRANSPORTE"},
    {"IN_MULTIMODAL", P, "MULTIMODAL", simNao},
};

const std::vector<Rule> FreightPerAddition = {
    {"CD_PAIS_PROC_MERC", P, "PROCEDENCIA"},  {"VL_FRETE_MERC_MNEG", A, "FRETE_MNEG"},
    {"CD_MD_FRETE_MERC", P, "FRETE_MOEDA"},   {"VL_SEG_MERC_MNEG", A, "SEGURO_MNEG"},
    {"CD_MOEDA_SEG_MERC", P, "SEGURO_MOEDA"},
};

const std::vector<Rule> AdditionGoods = {
    {"QT_UN_ESTATISTICA", A, "QTDE_MEDIDA_ESTAT", fixed(14, 5)},
    {"CD_APLICACAO_MERC", A, "APLICACAO_MERC"},
};

const std::vector<Rule> SaleTerm = {{"CD_INCOTERMS_VENDA", A, "INCOTERM"}};

const std::vector<Rule> Sale = {
    {"NM_LOC_COND_VENDA", A, "LOCAL_VENDA"},
    {"VL_MERC_COND_VENDA", A, "VMLE_MNEG"},
    {"VL_MERC_VENDA_MN", A, "VMLE_REAL"},
    {"VL_FRETE_MERC_MN", A, "FRETE_REAL"},
    {"VL_SEG_MERC_MN", A, "SEGURO_REAL"},
    {"CD_METOD_VALORACAO", A, "VALORACAO"},
    {"CD_VINC_IMPO_EXPO", A, "VINCULO_IMPEXP"},
    {"CD_TIPO_ACORDO_TAR", A, "TIPO"},
    {"CD_ACORDO_ALADI", A, "CODIGO"},
    {"CD_REGIME_TRIBUTAR", A, "REGIME_TRIB1"},
    {"CD_FUND_LEG_REGIME", A, "FUNDAMENTO_LEGAL1"},
    {"CD_MOTIVO_ADM_TEMP", A, "MOT_ADMISSAO_TEMP"},
    {"CD_COBERT_CAMBIAL", A, "COBERTURA_CAMBIAL"},
};

const std::vector<Rule> PaymentMode = {{"CD_MODALIDADE_PGTO", A, "MODALIDADE_PGTO"}};

const std::vector<Rule> Financing = {
    {"CD_ORGAO_FIN_INTER", A, "INST_FINANC"},
    {"CD_MOTIVO_SEM_COB", A, "MOTIVO_SEMCOB"},
    {"QT_PARC_FINANC_360", A, "NR_PARCELAS"},
};

const std::vector<Rule> FixedInstalments = {
    {"CD_PERIOD_PGTO_360", A, "IND_PERIODICIDADE"},
    {"VL_TOT_FINANC_360", A, "VR_TOTAL"},
};

const std::vector<Rule> FinancingTerms = {
    {"QT_PERIOD_PGTO_360", A, "PERIODICIDADE"},       {"PC_TAXA_JUROS", A, "VR_TAXAJUROS", fixed(15, 7)},
    {"VL_FINANC_SUP_360", A, "VR_ROF", fixed(15, 2)}, {"NR_ROF", A, "NR_ROF"},
    {"IN_PGTO_VARIAV_360", Literal, "False"},         {"IN_JUROS_ATE_360", Literal, "False"},
};

// The importer's agent: a CNPJ has 14 characters, a CPF 11.
const std::vector<Rule> Agent = {
    {"PC_COMISSAO_AG_IMP", A, "PERC_COMISSAO"}, {"CD_TIPO_AGENTE_IMP", A, "ID_AGENTE", personKind("0")},
    {"NR_AGENTE_IMP", A, "ID_AGENTE"},          {"CD_BANC_AGENTE_IMP", A, "BANCO"},
    {"CD_AGENC_AGENT_IMP", A, "AGENCIA"},
};

// Condition of the goods: 3 made to order, 2 used.
const std::vector<Rule> GoodsCondition = {
    {"IN_BEM_ENCOMENDA", A, "CONDICAO_MERC", flagWhen("3")},
    {"IN_MATERIAL_USADO", A, "CONDICAO_MERC", flagWhen("2")},
    {"TX_COMPL_VL_ADUAN", A, "COMPLEMENTO"},
};

const std::vector<Rule> TaxBase = {
    {"VL_MERC_LOC_EMB_MN", A, "VMLE_REAL"},
    {"VL_BASE_CALCULO_MN", A, "BASE_CALCULO"},
    {"NR_OPER_TRAT_PREV", A, "NR_LI"},
    {"IN_REDUC_BASE_CALC", A, "REDUCAO_BASE", flagWhen("SIM")},
    {"VL_ALIQ_ICMS", A, "ALIQ_ICMS"},
    {"CD_REGIME_TRIBUTAR_PISCOFINS", A, "REGIME_TRIB2"},
    {"CD_FUND_LEG_REGIME_PISCOFINS", A, "FUNDAMENTO_LEGAL2"},
    {"CD_FUND_LEG_REDUC", A, "FUND_LEGAL_RED_BASE"},
    {"IN_TIPO_CERTIFICADO", A, "TIPO_CERTIFICADO"},
};

// --- lists of each addition

const std::vector<ListTable> AdditionListsBeforePayments = {
    {"DEDUÇÃO_VALORAÇÃO",
     "DEDUCAO",
     nullptr,
     0,
     {{"CD_MET_DEDUC_VALOR", L, "ID_DESPESA"},
      {"VL_DEDUCAO_MNEG", L, "VALOR_MNEG"},
      {"CD_MD_NEGOC_DEDUC", L, "MOEDA"},
      {"VL_DEDUCAO_MN", L, "VALOR_REAL"}}},
    {"PAGAMENTO_PREVISTO",
     "PARC_VARIAVEIS",
     "NU_SEQ_PAG_PREV",
     1,
     {{"DT_PREV_PGTO_360", L, "MES_ANO"}, {"VL_PREV_PGTO_360", L, "VR_PARCELA"}}},
    {"DESTAQUE_NCM", "DESTAQUE_NCM", "NU_SEQ_DESTAQUE", 1, {{"NR_DESTAQUE_NCM", L, "NUMERO"}}},
    {"ACRÉSCIMO_VALORAÇÃO",
     "ACRESCIMO",
     nullptr,
     0,
     {{"CD_MET_ACRES_VALOR", L, "ID_DESPESA"},
      {"VL_ACRESCIMO_MOEDA", L, "VALOR_MNEG"},
      {"CD_MD_NEGOC_ACRES", L, "MOEDA"},
      {"VL_ACRESCIMO_MN", L, "VALOR_REAL"}}},
    {"VALORAÇÃO_NCM",
     "ITEM_NVE",
     "NR_SEQ_VAL_NCM",
     1,
     {{"CD_ABRANGENCIA_NCM", L, "NIVEL", nveLevel},
      {"CD_ATRIBUTO_NCM", L, "ATRIBUTO"},
      {"CD_ESPECIF_NCM", L, "ESPECIFICACAO"}}},
    {"DE_MERCOSUL_ADIÇÃO",
     "ITEM_DEE",
     "NR_SEQ_DE",
     0,
     {{"NR_DE_AD_MERCOSUL", L, "DE_MERCOSUL"},
      {"NR_RE_AD_INICIAL", L, "RE_INICIAL"},
      {"NR_RE_AD_FINAL", L, "RE_FINAL"},
      {"CD_PAIS_CERTIFICADO", L, "PAIS_CERTIFICADO"},
      {"NR_DI_CERTIFICADO", L, "DI_CERTIFICADO"},
      {"NR_ITEM_CERTIFICADO", L, "ITEM_CERTIFICADO"},
      {"QT_UNIDADE_MERCOSUL", L, "QT_UNIDADE_MERCOSUL"}}},
};

const ListTable LinkedDocuments = {"DOCUMENTO_VINCULADO",
                                   "DOC_VINCULADO",
                                   "NU_SEQ_DOCUMENTO",
                                   0,
                                   {{"CD_TIPO_DCTO_VINC", L, "TIPO"}, {"NR_DCTO_VINCULADO", L, "NUMERO"}}};

// --- PAGAMENTO_VINCULADO

const std::vector<PaymentKind> PaymentKinds = {{"A_VISTA", 0, "2"}, {"ANTECIPADO", 1, "1"}};

const std::vector<Rule> PaymentFields = {
    {"IN_PAGAMENTO_MN", L, "MOEDA_NACIONAL", flagWhen("SIM")},
    {"CD_BANCO_PAGAMENTO", L, "BANCO"},
    {"CD_PRACA_PAGAMENTO", L, "PRACA"},
    {"NR_OP_CAMBIO", L, "NR_CONTRATO"},
    {"VL_VINC_MD_CAMBIO", L, "VR_VINCULADO"},
    {"NR_COMPR_CAMBIO", L, "ID_COMPRADOR"},
    // The buyer of the exchange: a CNPJ has 14 characters, a CPF 11; otherwise nothing is said.
    {"CD_TP_COMPR_CAMBIO", L, "ID_COMPRADOR", personKind(nullptr)},
};

// --- TRIBUTO

const std::vector<Rule> TaxRate = {
    {"CD_RECEITA_IMPOSTO", L, "ID_TRIBUTO"},
    {"CD_TIPO_ALIQ_IPT", L, "TIPO_ALIQUOTA"},
    {"VL_BASE_CALC_ADVAL", L, "BASE_CALCULO"},
    {"PC_ALIQ_NORM_ADVAL", L, "ALIQ_NORMAL"},
};

const std::vector<Rule> TaxReduction = {
    {"PC_ALIQ_REDUZIDA", L, "ALIQ_REDUZIDA"},
    {"PC_REDUCAO_IPT_BLI", L, "PERC_REDUCAO"},
};

const std::vector<Rule> TaxValue = {
    {"VL_CALC_IPT_ADVAL", L, "VR_CALCULADO"},     {"VL_CALC_II_AC_TARI", L, "VR_ACORDO"},
    {"VL_IMPOSTO_DEVIDO", L, "VR_DEVIDO"},        {"VL_IPT_A_RECOLHER", L, "VR_RECOLHER"},
    {"VL_ALIQ_ESPEC_IPT", L, "VR_ESPECIF"},       {"QT_MERC_UN_ALIQ_ES", L, "QTDE_UNID_ESPECIF"},
    {"NM_UN_ALIQ_ESP_IPT", L, "UNIDADE_ESPECIF"}, {"VL_CALC_IPT_ESPEC", L, "VR_ESPECIF"},
    {"CD_TIPO_RECIPIENTE", L, "TIPO_RECIPIENTE"}, {"QT_ML_RECIPIENTE", L, "CAPACIDADE_RECIP"},
};

const std::vector<Rule> IpiAgreement = {
    {"PC_ALIQ_ACOR_TARIF", L, "ALIQ_ACORDO"},
    {"VL_CALC_II_AC_TARI", L, "VR_ACORDO"},
    {IpiRight, Literal, "0"},
    {"NR_NOTA_COMPL_TIPI", L, "NR_NOTA_COMPL_TIPI"},
};

// --- DETALHE_MERCADORIA

const std::vector<Rule> DetailFields = {
    {"TX_DESC_DET_MERC", A, "DESCRICAO", lineBreaks},
    {"QT_MERC_UN_COMERC", A, "QUANTIDADE", fixed(14, 5)},
    {"NM_UN_MEDID_COMERC", A, "UNIDADE"},
    {"CD_PRODUTO", A, "COD_PRODUTO"},
    {"VL_UNID_COND_VENDA", A, "UNITARIO_CVENDA", fixed(20, 7)},
};

// --- ATO_VINCULADO

const std::vector<ActKind> ActKinds = {
    {"ATOLEGAL_ANTIDUMP_NUMERO",
     "6",
     {{"SG_TIPO_ATO_VINCUL", A, "ATOLEGAL_ANTIDUMP_TIPO"},
      {"SG_ORG_ATO_VINCUL", A, "ATOLEGAL_ANTIDUMP_ORGAO"},
      {"DT_ANO_ATO_VINCUL", A, "ATOLEGAL_ANTIDUMP_ANO"},
      {"NR_ATO_VINCULADO", A, "ATOLEGAL_ANTIDUMP_NUMERO"},
      {"NR_EX_ATO_VINCUL", A, "ATOLEGAL_ANTIDUMP_EX"}}},
    {"ATOLEGAL_REGTRIB_NUMERO",
     "4",
     {{"SG_TIPO_ATO_VINCUL", A, "ATOLEGAL_REGTRIB_TIPO"},
      {"SG_ORG_ATO_VINCUL", A, "ATOLEGAL_REGTRIB_ORGAO"},
      {"DT_ANO_ATO_VINCUL", A, "ATOLEGAL_REGTRIB_ANO"},
      {"NR_ATO_VINCULADO", A, "ATOLEGAL_REGTRIB_NUMERO"},
      {"NR_EX_ATO_VINCUL", A, "ATOLEGAL_REGTRIB_EX"}}},
    {"ATOLEGAL_ACORDO_NUMERO",
     "3",
     {{"SG_TIPO_ATO_VINCUL", A, "ATOLEGAL_ACORDO_TIPO"},
      {"SG_ORG_ATO_VINCUL", A, "ATOLEGAL_ACORDO_ORGAO"},
      {"DT_ANO_ATO_VINCUL", A, "ATOLEGAL_ACORDO_ANO"},
      {"NR_ATO_VINCULADO", A, "ATOLEGAL_ACORDO_NUMERO"},
      {"NR_EX_ATO_VINCUL", A, "ATOLEGAL_ACORDO_EX"}}},
    {"ATOLEGAL_NBM_NUMERO",
     "2",
     {{"SG_TIPO_ATO_VINCUL", A, "ATOLEGAL_NBM_TIPO"},
      {"SG_ORG_ATO_VINCUL", A, "ATOLEGAL_NBM_ORGAO"},
      {"DT_ANO_ATO_VINCUL", A, "ATOLEGAL_NBM_ANO"},
      {"NR_ATO_VINCULADO", A, "ATOLEGAL_NBM_NUMERO"},
      {"NR_EX_ATO_VINCUL", A, "ATOLEGAL_NBM_EX"}}},
    {"ATOLEGAL_NCM_NUMERO",
     "1",
     {{"SG_TIPO_ATO_VINCUL", A, "ATOLEGAL_NCM_TIPO"},
      {"SG_ORG_ATO_VINCUL", A, "ATOLEGAL_NCM_ORGAO"},
      {"DT_ANO_ATO_VINCUL", A, "ATOLEGAL_NCM_ANO"},
      {"NR_ATO_VINCULADO", A, "ATOLEGAL_NCM_NUMERO"},
      {"NR_EX_ATO_VINCUL", A, "ATOLEGAL_NCM_EX"}}},
};

// --- the catalogue

std::vector<TableTargets> tableTargets() {
    using namespace PartyRules;
    std::vector<TableTargets> all;
    all.push_back({File, Declaration,
                   targetsOf({&DeclarationHead,
                              &ImporterIdentity,
                              &ImporterCountry,
                              &ImporterAddress,
                              &ImporterState,
                              &Clearance,
                              &CargoEntryUnit,
                              &Dispatch,
                              &Consignee,
                              &Carrier,
                              &HouseAndMaster,
                              &MasterOnly,
                              &Shipment,
                              &Arrival,
                              &Freight,
                              &GoodsValue,
                              &GoodsValueWithoutCurrency,
                              &Cargo,
                              &Complement,
                              &TaxPayment,
                              &Account,
                              &Registration},
                             {Micro})});
    for (const ListTable& t : ProcessLists)
        all.push_back({File, t.table, targetsOf({&t.fields}, {Micro, t.sequence})});
    std::vector<std::string> addition =
        targetsOf({&AdditionKey, &EntryPerAddition, &FreightPerAddition, &AdditionGoods, &SaleTerm, &Sale, &PaymentMode,
                   &Financing, &FixedInstalments, &FinancingTerms, &Agent, &GoodsCondition, &TaxBase},
                  {Micro, Ncm, NbmSh, Origin, NaladiNcca, NaladiSh, NetWeight, Currency, IpiNotTaxed});
    for (const std::string& party : partyTargets())
        addition.push_back(party);
    all.push_back({File, Addition, addition});
    std::vector<const ListTable*> additionLists;
    for (const ListTable& t : AdditionListsBeforePayments)
        additionLists.push_back(&t);
    additionLists.push_back(&LinkedDocuments);
    for (const ListTable* t : additionLists) {
        std::vector<std::string> fields = targetsOf({&t->fields}, {Micro, AdditionNumber});
        if (t->sequence)
            fields.emplace_back(t->sequence);
        all.push_back({File, t->table, fields});
    }
    all.push_back({File, Payment, targetsOf({&PaymentFields}, {Micro, AdditionNumber, PaymentSequence, PaymentForm})});
    all.push_back(
        {File, Tax,
         targetsOf({&TaxRate, &TaxReduction, &TaxValue, &IpiAgreement}, {Micro, AdditionNumber, IpiBenefit})});
    all.push_back({File, Detail, targetsOf({&DetailFields}, {Micro, AdditionNumber, DetailSequence})});
    std::vector<std::string> acts{Micro, AdditionNumber, ActSubject};
    for (const ActKind& kind : ActKinds)
        for (const std::string& f : targetsOf({&kind.fields}))
            acts.push_back(f);
    all.push_back({File, Act, acts});
    return all;
}

} // namespace DiRules
