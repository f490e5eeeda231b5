#include "import/DiOrientadorWriter.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/OrientadorValues.h"
#include "data/TDM.h"
#include "import/TransferConversions.h"

#include <vector>

namespace {

// Source record sets by their field-writer index.
constexpr int P = 0; // cdsXMLPrincipal: the process
constexpr int A = 1; // cdsXMLAux: the list of the process being walked
constexpr int L = 2; // cdsXMLTPAux2: the list of the addition being walked

// How a source value becomes the value written.
struct Conversion {
    enum Kind {
        AsIs,           // GRAVACAMPO of the source field itself
        Date,           // yyyy-mm-dd → ddmmyyyy
        Pad,            // left-padded with "0" to size
        PadWithoutDots, // every "." removed, then left-padded with "0" to size
        Fixed,          // size digits with `decimals` implied decimals
        SimNao,         // Yes/No: "SIM" true, "NAO" false, anything else leaves it
        SimOrFalse,     // Yes/No: "SIM" true, anything else false
        NveLevel,       // the coverage code of an NVE level
    } kind = AsIs;
    int size = 0;
    int decimals = 0;
};

constexpr Conversion asIs{};
constexpr Conversion date{Conversion::Date};
constexpr Conversion simNao{Conversion::SimNao};
constexpr Conversion simOrFalse{Conversion::SimOrFalse};
constexpr Conversion nveLevel{Conversion::NveLevel};
constexpr Conversion pad(int size) {
    return {Conversion::Pad, size};
}
constexpr Conversion padWithoutDots(int size) {
    return {Conversion::PadWithoutDots, size};
}
constexpr Conversion fixed(int size, int decimals) {
    return {Conversion::Fixed, size, decimals};
}

// One target field, its source (record set index and field) and the conversion.
struct Rule {
    const char* target;
    int index;
    const char* source;
    Conversion conversion = asIs;
};

// A table with one row per row of a nested set: the sequence field (none when null) counts the rows
// from start, then the rules follow.
struct ListTable {
    const char* table;
    const char* nested;
    const char* sequence;
    int start;
    std::vector<Rule> fields;
};

const char* const Declaration = "DECLARAÇÃO_IMPORTAÇÃO";
const char* const AdditionTable = "OP_ADIÇÃO_DE_IMPORTAÇÃO";
const char* const PaymentTable = "PAGAMENTO_VINCULADO";
const char* const TaxTable = "TRIBUTO";
const char* const DetailTable = "DETALHE_MERCADORIA";
const char* const ActTable = "ATO_VINCULADO";
const char* const Micro = "NR_DECL_IMP_MICRO";
const char* const AdditionNumber = "NR_OP_IMP_MICRO";
const char* const AdditionTransform = "ADICAO.xtr";
const char* const FabrExpTransform = "FABR_EXP.xtr";
const char* const WarningCaption = "Pelomira";
const char* const IpiTax = "0002";

// --- DECLARAÇÃO_IMPORTAÇÃO

const std::vector<Rule> ImporterFields = {
    {"NR_IDENT_USUARIO", P, "ID_PROCESSO"},
    {"DT_PROCESSAMENTO", P, "DATA_BASE_CALCULO", date},
    {"CD_TIPO_DECLARACAO", P, "TIPO_DECLARACAO", pad(2)},
    {"CD_TIPO_IMPORTADOR", P, "IMPORTADOR_TIPO"},
    {"NR_IMPORTADOR", P, "IMPORTADOR_CNPJ_CPF"},
    {"CD_PAIS_IMPORTADOR", P, "IMPORTADOR_PAIS"},
    {"NM_IMPORTADOR", P, "IMPORTADOR_RAZAO_SOCIAL"},
    {"NR_TEL_IMPORTADOR", P, "IMPORTADOR_TELEFONE"},
    {"ED_LOGR_IMPORTADOR", P, "IMPORTADOR_LOGRADOURO"},
    {"ED_NR_IMPORTADOR", P, "IMPORTADOR_NUMERO"},
    {"ED_COMPL_IMPO", P, "IMPORTADOR_COMPLEMENTO"},
    {"ED_BA_IMPORTADOR", P, "IMPORTADOR_BAIRRO"},
    {"ED_MUN_IMPORTADOR", P, "IMPORTADOR_MUNICIPIO"},
    {"ED_UF_IMPORTADOR", P, "IMPORTADOR_UF"},
    {"ED_CEP_IMPORTADOR", P, "IMPORTADOR_CEP"},
    {"CD_MODALIDADE_DESP", P, "MODALIDADE"},
    {"IN_OPERACAO_FUNDAP", P, "FUNDAP", simNao},
};

const std::vector<Rule> CarrierFields = {
    {"CD_PAIS_PROC_CARGA", P, "PROCEDENCIA"},   {"CD_VIA_TRANSP_CARG", P, "VIA_TRANSPORTE", pad(2)},
    {"IN_MULTIMODAL", P, "MULTIMODAL", simNao}, {"NR_VEICULO_TRANSP", P, "VEICULO_PLACA"},
    {"NM_VEICULO_TRANSP", P, "VEICULO_NOME"},   {"NM_TRANSPORTADOR", P, "TRANSPORTADOR_RAZAO_SOCIAL"},
    {"CD_BANDEIRA_TRANSP", P, "BANDEIRA"},      {"CD_TIPO_AG_CARGA", P, "AGENTE_TIPO"},
    {"NR_AGENTE_CARGA", P, "AGENTE_CNPJ_CPF"},  {"CD_TIPO_DCTO_CARGA", P, "CONHECIMENTO_TIPO"},
};

// Written in the transport block only for declaration types below 13.
const std::vector<Rule> ShipmentFields = {
    {"NM_LOCAL_EMBARQUE", P, "LOCAL_EMBARQUE"},
    {"DT_EMBARQUE", P, "DATA_EMBARQUE", date},
    {"DT_CHEGADA_CARGA", P, "DATA_CHEGADA", date},
};

const std::vector<Rule> ArrivalFields = {
    {"CD_UTIL_DCTO_CARGA", P, "UTILIZACAO"},
    {"CD_TIPO_MANIFESTO", P, "DOC_CHEGADA_TIPO"},
    {"NR_MANIFESTO", P, "DOC_CHEGADA_NUMERO"},
};

const std::vector<Rule> FreightFields = {
    {"VL_TOT_FRT_PREPAID", P, "PREPAID"},         {"VL_TOT_FRT_COLLECT", P, "COLLECT"},
    {"VL_FRETE_TNAC_MNEG", P, "TERRIT_NACIONAL"}, {"CD_MOEDA_FRETE", P, "FRETE_MOEDA"},
    {"VL_TOTAL_FRETE_MN", P, "FRETE_TOTAL_REAL"}, {"VL_TOT_SEGURO_MNEG", P, "SEGURO_TOTAL_MNEG"},
    {"CD_MOEDA_SEGURO", P, "SEGURO_MOEDA"},       {"VL_TOTAL_SEG_MN", P, "SEGURO_TOTAL_REAL"},
};

const std::vector<Rule> CargoFields = {
    {"PB_CARGA", P, "PESO_BRUTO", fixed(15, 5)},
    {"PL_CARGA", P, "PESO_LIQUIDO", fixed(15, 5)},
    {"CD_RECINTO_ALFAND", P, "RECINTO"},
    {"CD_SETOR_ARMAZENAM", P, "SETOR"},
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

const std::vector<Rule> SaleFields = {
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

const std::vector<Rule> TaxBaseFields = {
    {"VL_MERC_LOC_EMB_MN", A, "VMLE_REAL"},
    {"VL_BASE_CALCULO_MN", A, "BASE_CALCULO"},
    {"NR_OPER_TRAT_PREV", A, "NR_LI"},
    {"IN_REDUC_BASE_CALC", A, "REDUCAO_BASE", simOrFalse},
    {"VL_ALIQ_ICMS", A, "ALIQ_ICMS"},
    {"CD_REGIME_TRIBUTAR_PISCOFINS", A, "REGIME_TRIB2"},
    {"CD_FUND_LEG_REGIME_PISCOFINS", A, "FUNDAMENTO_LEGAL2"},
    {"CD_FUND_LEG_REDUC", A, "FUND_LEGAL_RED_BASE"},
    {"IN_TIPO_CERTIFICADO", A, "TIPO_CERTIFICADO"},
};

// Supplier and manufacturer fields of the FABR_EXP rows.
struct PartyField {
    const char* target;
    const char* source;
};

const std::vector<PartyField> SupplierFields = {
    {"NM_FORN_ESTR", "RAZAO_SOCIAL"},      {"ED_LOGR_FORN_ESTR", "LOGRADOURO"}, {"ED_NR_FORN_ESTR", "NUMERO"},
    {"ED_COMPL_FORN_ESTR", "COMPLEMENTO"}, {"ED_CIDAD_FORN_ESTR", "CIDADE"},    {"ED_ESTAD_FORN_ESTR", "ESTADO"},
    {"CD_PAIS_AQUIS_MERC", "PAIS"},
};

const std::vector<PartyField> ManufacturerFields = {
    {"NM_FABRICANTE_MERC", "RAZAO_SOCIAL"}, {"ED_LOGR_FABRIC", "LOGRADOURO"}, {"ED_NR_FABRIC", "NUMERO"},
    {"ED_COMPL_FABRIC", "COMPLEMENTO"},     {"ED_CIDAD_FABRIC", "CIDADE"},    {"ED_ESTADO_FABRIC", "ESTADO"},
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

// PAGAMENTO_VINCULADO: cash payments first (sequence from 0, form "2"), then advance payments (from 1, "1").
struct PaymentKind {
    const char* nested;
    int start;
    const char* form;
};
const PaymentKind PaymentKinds[] = {{"A_VISTA", 0, "2"}, {"ANTECIPADO", 1, "1"}};

const std::vector<Rule> PaymentFields = {
    {"IN_PAGAMENTO_MN", L, "MOEDA_NACIONAL", simOrFalse},
    {"CD_BANCO_PAGAMENTO", L, "BANCO"},
    {"CD_PRACA_PAGAMENTO", L, "PRACA"},
    {"NR_OP_CAMBIO", L, "NR_CONTRATO"},
    {"VL_VINC_MD_CAMBIO", L, "VR_VINCULADO"},
    {"NR_COMPR_CAMBIO", L, "ID_COMPRADOR"},
};

// TRIBUTO
const std::vector<Rule> TaxRateFields = {
    {"CD_RECEITA_IMPOSTO", L, "ID_TRIBUTO"},
    {"CD_TIPO_ALIQ_IPT", L, "TIPO_ALIQUOTA"},
    {"VL_BASE_CALC_ADVAL", L, "BASE_CALCULO"},
    {"PC_ALIQ_NORM_ADVAL", L, "ALIQ_NORMAL"},
};
// Left out for the IPI of an addition whose IPI benefit is 5.
const std::vector<Rule> TaxReductionFields = {
    {"PC_ALIQ_REDUZIDA", L, "ALIQ_REDUZIDA"},
    {"PC_REDUCAO_IPT_BLI", L, "PERC_REDUCAO"},
};
const std::vector<Rule> TaxValueFields = {
    {"VL_CALC_IPT_ADVAL", L, "VR_CALCULADO"},     {"VL_CALC_II_AC_TARI", L, "VR_ACORDO"},
    {"VL_IMPOSTO_DEVIDO", L, "VR_DEVIDO"},        {"VL_IPT_A_RECOLHER", L, "VR_RECOLHER"},
    {"VL_ALIQ_ESPEC_IPT", L, "VR_ESPECIF"},       {"QT_MERC_UN_ALIQ_ES", L, "QTDE_UNID_ESPECIF"},
    {"NM_UN_ALIQ_ESP_IPT", L, "UNIDADE_ESPECIF"}, {"VL_CALC_IPT_ESPEC", L, "VR_ESPECIF"},
    {"CD_TIPO_RECIPIENTE", L, "TIPO_RECIPIENTE"}, {"QT_ML_RECIPIENTE", L, "CAPACIDADE_RECIP"},
};
const std::vector<Rule> IpiAgreementFields = {
    {"PC_ALIQ_ACOR_TARIF", L, "ALIQ_ACORDO"},
    {"VL_CALC_II_AC_TARI", L, "VR_ACORDO"},
};

// --- DETALHE_MERCADORIA

const std::vector<Rule> DetailFields = {
    {"QT_MERC_UN_COMERC", A, "QUANTIDADE", fixed(14, 5)},
    {"NM_UN_MEDID_COMERC", A, "UNIDADE"},
    {"CD_PRODUTO", A, "COD_PRODUTO"},
    {"VL_UNID_COND_VENDA", A, "UNITARIO_CVENDA", fixed(20, 7)},
};

// --- ATO_VINCULADO: the legal acts of an addition, by kind, in this order.
struct ActKind {
    const char* kind;
    const char* subject;
};
const ActKind ActKinds[] = {{"ANTIDUMP", "6"}, {"REGTRIB", "4"}, {"ACORDO", "3"}, {"NBM", "2"}, {"NCM", "1"}};

// The coverage code of an NVE level: 1 and 2 stay, 3 → 4, 4 → 5, 5 → 6, 6 → 3; other levels give none.
std::string coverageOfLevel(const std::string& level) {
    if (level == "1" || level == "2")
        return level;
    if (level == "3")
        return "4";
    if (level == "4")
        return "5";
    if (level == "5")
        return "6";
    if (level == "6")
        return "3";
    return std::string();
}

// A whole number read from a record set field, or an AppError naming the field and the process.
long long wholeNumber(const RecordSet& set, const std::string& field, const std::string& process) {
    const std::string text = trim(set.text(field));
    try {
        return toInteger(text);
    } catch (const AppError&) {
        throw AppError(field + " do processo " + process + " inválido: '" + text + "' não é um número inteiro");
    }
}

// Removes the order of a record set when the section that set it ends, however it ends, so the next
// binding of the set does not look for the order field in another list.
class OrderGuard {
public:
    OrderGuard(RecordSet& set, const std::string& field) : m_set(set) { m_set.setIndexFieldNames(field); }
    ~OrderGuard() {
        try {
            m_set.setIndexFieldNames("");
        } catch (...) {
            // the set closed meanwhile: nothing left to undo
        }
    }
    OrderGuard(const OrderGuard&) = delete;
    OrderGuard& operator=(const OrderGuard&) = delete;

private:
    RecordSet& m_set;
};

} // namespace

DiOrientadorWriter::DiOrientadorWriter(AppContext& ctx, TransferProgress& progress,
                                       const LoadedProcessDocument& document, std::string micro)
    : m_ctx(ctx), m_document(document), m_micro(std::move(micro)),
      m_w(ctx, progress, FieldSources::fromDataModule(ctx.dm), TableCount) {}

std::string DiOrientadorWriter::principal(const std::string& field) const {
    return m_ctx.dm.cdsXMLPrincipal.text(field);
}

long long DiOrientadorWriter::declarationType() const {
    return wholeNumber(m_ctx.dm.cdsXMLPrincipal, "TIPO_DECLARACAO", trim(principal("ID_PROCESSO")));
}

namespace {

void apply(OrientadorRowWriter& w, const Rule& rule) {
    if (rule.conversion.kind == Conversion::AsIs) {
        w.copy(rule.target, rule.index, rule.source);
        return;
    }
    const std::string value = w.source(rule.index).text(rule.source);
    const Conversion& c = rule.conversion;
    switch (c.kind) {
    case Conversion::Date:
        w.literal(rule.target, dateToDayMonthYear(value));
        break;
    case Conversion::Pad:
        w.literal(rule.target, zeroPadLeft(value, static_cast<std::size_t>(c.size)));
        break;
    case Conversion::PadWithoutDots:
        w.literal(rule.target, zeroPadLeft(replaceAll(value, ".", ""), static_cast<std::size_t>(c.size)));
        break;
    case Conversion::Fixed:
        w.literal(rule.target,
                  fixedPointDigits(value, static_cast<std::size_t>(c.size), static_cast<std::size_t>(c.decimals)));
        break;
    case Conversion::SimNao:
        if (const auto on = simNaoFlag(value))
            w.flag(rule.target, *on);
        break;
    case Conversion::SimOrFalse:
        w.flag(rule.target, value == "SIM");
        break;
    case Conversion::NveLevel:
        w.literal(rule.target, coverageOfLevel(value));
        break;
    case Conversion::AsIs:
        break;
    }
}

void applyAll(OrientadorRowWriter& w, const std::vector<Rule>& rules) {
    for (const Rule& rule : rules)
        apply(w, rule);
}

} // namespace

void DiOrientadorWriter::write() {
    declaration();
    processLists();
    additions();
    additionLists();
    goodsDetails();
    legalActs();
    m_w.finish();
}

// --------------------------------------------------------------- 1: DECLARAÇÃO_IMPORTAÇÃO

void DiOrientadorWriter::declaration() {
    m_w.table(Declaration);
    m_w.newRow();
    m_w.literal(Micro, m_micro);
    applyAll(m_w, ImporterFields);

    const std::string type = principal("TIPO_DECLARACAO");
    if (type != "16" && type != "17")
        m_w.copy("CD_URF_ENTR_CARGA", P, "URF_ENTRADA");
    m_w.copy("CD_URF_DESPACHO", P, "URF_DESPACHO");
    m_w.copy("CD_TIPO_CONSIG", P, "TIPO_OPERACAO");
    const std::string operation = principal("TIPO_OPERACAO");
    if (operation == "2" || operation == "02")
        m_w.copy("NR_CONSIGNATARIO", P, "CONSIGNATARIO_CNPJ_CPF");

    const std::string way = principal("VIA_TRANSPORTE");
    if (way != "16" && way != "17")
        transportBlock();

    applyAll(m_w, FreightFields);

    // Goods value: without a currency and an amount in it, only the amount in reais is known.
    if (trim(principal("VMLE_MOEDA")).empty() && trim(principal("VMLE_TOTAL_MNEG")).empty()) {
        m_w.number("VL_TOT_MLE_MNEG", 0);
        m_w.copy("VL_TOTAL_MLE_MN", P, "VMLE_TOTAL_REAL");
        m_w.flag("IN_MOEDA_UNICA", false);
    } else {
        m_w.copy("CD_MOEDA_MLE", P, "VMLE_MOEDA");
        m_w.copy("VL_TOT_MLE_MNEG", P, "VMLE_TOTAL_MNEG");
        m_w.copy("VL_TOTAL_MLE_MN", P, "VMLE_TOTAL_REAL");
        m_w.flag("IN_MOEDA_UNICA", true);
    }

    applyAll(m_w, CargoFields);

    // Merlin sends the line breaks of the complementary information as "|".
    // The warning counts the text as Merlin sent it; the text is stored whole either way.
    const std::string complement = restoreLineBreaks(principal("COMPLEMENTARES"));
    const std::size_t length = charCount(principal("COMPLEMENTARES"));
    if (length > ComplementaryLimit)
        m_ctx.op.message(std::string(ComplementaryWarningStart) + std::to_string(length) + " caracteres)." + "\r" +
                             WarningEnd,
                         WarningCaption, MessageIcon::Warning);
    m_w.text("TX_INFO_COMPL", complement);

    m_w.copy("CD_TIPO_PGTO_TRIB", P, "TIPO_PAGAMENTO");
    if (!trim(principal("NR_CONTA")).empty() && occursIn(principal("TIPO_PAGAMENTO"), "1;3;4"))
        m_w.copy("NR_CONTA_PGTO_TRIB", P, "NR_CONTA");
    m_w.copy("NR_DECLARACAO_IMP", P, "NR_DI");
    apply(m_w, {"DT_REGISTRO_DI", P, "DATA_DI", date});
}

void DiOrientadorWriter::transportBlock() {
    applyAll(m_w, CarrierFields);

    // The cargo document: the NIC (two halves of 18) for sea, river and lake ways and, when there is
    // one, the postal way; otherwise the house and master bills, or the master bill alone.
    const long long way = wholeNumber(m_ctx.dm.cdsXMLPrincipal, "VIA_TRANSPORTE", trim(principal("ID_PROCESSO")));
    const std::string nic = principal("NIC");
    if (way == 1 || way == 2 || way == 6 || (way == 7 && !trim(nic).empty())) {
        m_w.literal("NR_DCTO_CARGA", charSub(nic, 0, 18));
        m_w.literal("NR_DCTO_CARGA_MAST", charSub(nic, 18, 18));
    } else if (!trim(principal("HOUSE")).empty()) {
        m_w.copy("NR_DCTO_CARGA", P, "HOUSE");
        m_w.copy("NR_DCTO_CARGA_MAST", P, "MASTER");
    } else {
        m_w.copy("NR_DCTO_CARGA", P, "MASTER");
    }

    if (declarationType() < 13)
        applyAll(m_w, ShipmentFields);
    applyAll(m_w, ArrivalFields);
}

// --------------------------------------------------------------- 2 to 7: lists of the process

void DiOrientadorWriter::processLists() {
    RecordSet& list = m_ctx.dm.cdsXMLAux;
    for (const ListTable& t : ProcessLists) {
        m_w.table(t.table);
        list.setCommandText(std::string());
        list.bindToNested(m_ctx.dm.cdsXMLPrincipal, t.nested);
        int sequence = t.start;
        while (!list.eof()) {
            m_w.newRow();
            m_w.literal(Micro, m_micro);
            m_w.literal(t.sequence, std::to_string(sequence++));
            applyAll(m_w, t.fields);
            list.next();
        }
    }
}

// --------------------------------------------------------------- 8: OP_ADIÇÃO_DE_IMPORTAÇÃO

void DiOrientadorWriter::additions() {
    m_w.table(AdditionTable);
    RecordSet& list = m_ctx.dm.cdsXMLAux;
    list.setCommandText(std::string());
    list.bindToNested(m_ctx.dm.cdsXMLPrincipal, "ADICAO");
    while (!list.eof()) {
        m_w.newRow();
        addition();
        list.next();
    }
}

void DiOrientadorWriter::addition() {
    const RecordSet& a = m_ctx.dm.cdsXMLAux;
    m_w.literal(Micro, m_micro);
    m_w.literal(AdditionNumber, zeroPadLeft(a.text("ID_ADICAO"), 3));

    // Declarations of types 16 and 17 carry the entry, the way and the freight per addition.
    const long long type = declarationType();
    const bool perAddition = type == 16 || type == 17;
    if (perAddition) {
        m_w.copy("CD_URF_ENTR_MERC", P, "URF_ENTRADA");
        m_w.copy("CD_VIA_TRANSPORTE", P, "VIA_TRANSPORTE");
        apply(m_w, {"IN_MULTIMODAL", P, "MULTIMODAL", simNao});
    }

    itemSummary();
    supplier();
    m_w.literal("CD_MERCADORIA_NCM", trim(m_items.ncm));
    manufacturer();

    if (perAddition) {
        m_w.copy("CD_PAIS_PROC_MERC", P, "PROCEDENCIA");
        m_w.copy("VL_FRETE_MERC_MNEG", A, "FRETE_MNEG");
        m_w.copy("CD_MD_FRETE_MERC", P, "FRETE_MOEDA");
        m_w.copy("VL_SEG_MERC_MNEG", A, "SEGURO_MNEG");
        m_w.copy("CD_MOEDA_SEG_MERC", P, "SEGURO_MOEDA");
    }

    m_w.literal("CD_PAIS_ORIG_MERC", m_items.origin);
    m_w.literal("CD_MERC_NBM_SH", trim(m_items.ncm));
    m_w.literal("CD_MERC_NALADI_NCC", m_items.naladiNcca);
    m_w.literal("CD_MERC_NALADI_SH", m_items.naladiSh);
    m_w.literal("PL_MERCADORIA", fixedPointDigits(orientadorDecimalText(m_items.netWeight), 15, 5));
    apply(m_w, {"QT_UN_ESTATISTICA", A, "QTDE_MEDIDA_ESTAT", fixed(14, 5)});
    m_w.copy("CD_APLICACAO_MERC", A, "APLICACAO_MERC");
    m_w.literal("CD_MOEDA_NEGOCIADA", m_items.currency);

    // The sale term goes with the first valuation methods only.
    if (!trim(a.text("VALORACAO")).empty() && wholeNumber(a, "VALORACAO", trim(principal("ID_PROCESSO"))) < 2)
        m_w.copy("CD_INCOTERMS_VENDA", A, "INCOTERM");

    applyAll(m_w, SaleFields);

    if (principal("TIPO_DECLARACAO") != "16" && a.text("COBERTURA_CAMBIAL") != "4")
        m_w.copy("CD_MODALIDADE_PGTO", A, "MODALIDADE_PGTO");

    // Financing.
    m_w.copy("CD_ORGAO_FIN_INTER", A, "INST_FINANC");
    m_w.copy("CD_MOTIVO_SEM_COB", A, "MOTIVO_SEMCOB");
    m_w.copy("QT_PARC_FINANC_360", A, "NR_PARCELAS");
    if (!a.hasField("PARC_VARIAVEIS")) {
        m_w.copy("CD_PERIOD_PGTO_360", A, "IND_PERIODICIDADE");
        m_w.copy("VL_TOT_FINANC_360", A, "VR_TOTAL");
    }
    m_w.copy("QT_PERIOD_PGTO_360", A, "PERIODICIDADE");
    apply(m_w, {"PC_TAXA_JUROS", A, "VR_TAXAJUROS", fixed(15, 7)});
    apply(m_w, {"VL_FINANC_SUP_360", A, "VR_ROF", fixed(15, 2)});
    m_w.copy("NR_ROF", A, "NR_ROF");
    m_w.flag("IN_PGTO_VARIAV_360", false);
    m_w.flag("IN_JUROS_ATE_360", false);

    // Importer's agent: a CNPJ has 14 characters, a CPF 11.
    m_w.copy("PC_COMISSAO_AG_IMP", A, "PERC_COMISSAO");
    const std::size_t agent = charCount(a.text("ID_AGENTE"));
    m_w.literal("CD_TIPO_AGENTE_IMP", agent == 14 ? "1" : agent == 11 ? "2" : "0");
    m_w.copy("NR_AGENTE_IMP", A, "ID_AGENTE");
    m_w.copy("CD_BANC_AGENTE_IMP", A, "BANCO");
    m_w.copy("CD_AGENC_AGENT_IMP", A, "AGENCIA");

    // Condition of the goods: 3 made to order, 2 used.
    const std::string condition = a.text("CONDICAO_MERC");
    m_w.flag("IN_BEM_ENCOMENDA", condition == "3");
    m_w.flag("IN_MATERIAL_USADO", condition == "2");

    m_w.copy("TX_COMPL_VL_ADUAN", A, "COMPLEMENTO");
    m_w.flag("IN_IPI_NAO_TRIBUT", a.text("BENEFICIO_IPI") == "3" && !occursIn(a.text("REGIME_TRIB1"), "6;2"));
    applyAll(m_w, TaxBaseFields);
}

void DiOrientadorWriter::itemSummary() {
    TDM& dm = m_ctx.dm;
    RecordSet& items = dm.cdsXMLTPAux;
    const std::string additionId = trim(dm.cdsXMLAux.text("ID_ADICAO"));
    items.setCommandText("SELECT * FROM ITEM WHERE ID_ADICAO = " + quotedLiteral(additionId));
    items.bindToNested(dm.cdsXMLPrincipal, "ITEM");
    if (items.isEmpty()) {
        // No item belongs to the addition: its values come from the first item of the document.
        items.setCommandText("SELECT * FROM ITEM");
        items.open();
    }
    auto take = [&] {
        m_items.manufacturer = items.text("ID_FABRIC") + " ";
        m_items.exporter = items.text("ID_EXPORT") + " ";
        m_items.ncm = items.text("NCM") + " ";
        m_items.naladiNcca = items.text("NALADI_NCCA") + " ";
        m_items.naladiSh = items.text("NALADI_SH") + " ";
        m_items.currency = items.text("MOEDA_NEGOCIADA") + " ";
        m_items.origin = items.text("PAIS_ORIGEM") + " ";
    };
    take();
    m_items.netWeight = 0;
    while (!items.eof()) {
        if (trim(items.text("ID_ADICAO")) == additionId) {
            take();
            const std::string weight = trim(items.text("PESO_LIQUIDO"));
            if (!weight.empty()) {
                try {
                    m_items.netWeight += toDecimal(weight);
                } catch (const AppError&) {
                    throw AppError("PESO_LIQUIDO do item " + trim(items.text("ID_ITEM")) + " da adição " + additionId +
                                   " inválido: '" + weight + "' não é um número");
                }
            }
        }
        items.next();
    }
}

bool DiOrientadorWriter::fabrExp(const std::string& id) {
    TDM& dm = m_ctx.dm;
    dm.XMLTPAux.setXMLDataFile(m_document.file);
    dm.XMLTPAux.setTransformation(m_ctx.platform, m_document.transformFolder, FabrExpTransform);
    RecordSet& parties = dm.cdsXMLFabrExp;
    parties.unbindNested();
    parties.setProvider(&dm.XMLTPAux);
    parties.setCommandText("SELECT * FROM FABR_EXP WHERE ID_FABREXP=" + quotedLiteral(id));
    parties.open();
    while (!parties.eof()) {
        if (trim(parties.text("ID_FABREXP")) == id)
            return true;
        parties.next();
    }
    return false;
}

void DiOrientadorWriter::supplier() {
    if (!fabrExp(trim(m_items.exporter)))
        return;
    const RecordSet& party = m_ctx.dm.cdsXMLFabrExp;
    for (const PartyField& f : SupplierFields)
        m_w.text(f.target, party.text(f.source) + " ");
}

void DiOrientadorWriter::manufacturer() {
    if (m_items.manufacturer == m_items.exporter) {
        m_w.literal("CD_AUSENCIA_FABRIC", "1"); // the exporter made the goods
        return;
    }
    const std::string id = trim(m_items.manufacturer);
    if (id.empty()) {
        m_w.literal("CD_AUSENCIA_FABRIC", "3"); // manufacturer unknown
        return;
    }
    m_w.literal("CD_AUSENCIA_FABRIC", "2");
    if (!fabrExp(id))
        return;
    const RecordSet& party = m_ctx.dm.cdsXMLFabrExp;
    for (const PartyField& f : ManufacturerFields)
        m_w.text(f.target, party.text(f.source) + " ");
}

// --------------------------------------------------------------- 9 to 17: lists of each addition

namespace {

// Every row of an addition's list carries the declaration and the addition.
void additionRowKey(OrientadorRowWriter& w, const std::string& micro, const RecordSet& addition) {
    w.literal(Micro, micro);
    w.text(AdditionNumber, zeroPadLeft(addition.text("ID_ADICAO"), 3));
}

// Binds cdsXMLTPAux2 to a list of the current addition.
RecordSet& bindAdditionList(TDM& dm, const std::string& nested) {
    RecordSet& list = dm.cdsXMLTPAux2;
    list.setCommandText("SELECT * FROM " + nested);
    list.bindToNested(dm.cdsXMLTPAux, nested);
    return list;
}

} // namespace

void DiOrientadorWriter::additionLists() {
    TDM& dm = m_ctx.dm;
    dm.XMLTPAux.setXMLDataFile(m_document.file);
    dm.XMLTPAux.setTransformation(m_ctx.platform, m_document.transformFolder, AdditionTransform);
    RecordSet& additionSets = dm.cdsXMLAdicao;
    additionSets.unbindNested();
    additionSets.setProvider(&dm.XMLTPAux);
    additionSets.setCommandText("SELECT * FROM ADICAO WHERE ID_PROCESSO=" +
                                quotedLiteral(trim(principal("ID_PROCESSO"))));
    additionSets.open();
    RecordSet& addition = dm.cdsXMLTPAux;
    addition.setCommandText("SELECT * FROM ADICAO");
    addition.bindToNested(additionSets, "ADICAO");

    auto walk = [&](const ListTable& t) {
        m_w.table(t.table);
        for (addition.first(); !addition.eof(); addition.next()) {
            RecordSet& list = bindAdditionList(dm, t.nested);
            int sequence = t.start;
            for (; !list.eof(); list.next()) {
                m_w.newRow();
                additionRowKey(m_w, m_micro, addition);
                if (t.sequence)
                    m_w.literal(t.sequence, std::to_string(sequence++));
                applyAll(m_w, t.fields);
            }
        }
    };
    for (const ListTable& t : AdditionListsBeforePayments)
        walk(t);
    payments();
    taxes();
    walk(LinkedDocuments);
}

void DiOrientadorWriter::payments() {
    TDM& dm = m_ctx.dm;
    RecordSet& addition = dm.cdsXMLTPAux;
    m_w.table(PaymentTable);
    for (addition.first(); !addition.eof(); addition.next()) {
        for (const PaymentKind& kind : PaymentKinds) {
            RecordSet& list = bindAdditionList(dm, kind.nested);
            int sequence = kind.start;
            for (; !list.eof(); list.next()) {
                m_w.newRow();
                additionRowKey(m_w, m_micro, addition);
                m_w.literal("NR_SEQ_PAGAMENTO", std::to_string(sequence++));
                m_w.literal("CD_FORMA_PAGAMENTO", kind.form);
                applyAll(m_w, PaymentFields);
                // The buyer of the exchange: a CNPJ has 14 characters, a CPF 11.
                const std::size_t buyer = charCount(list.text("ID_COMPRADOR"));
                if (buyer == 14)
                    m_w.literal("CD_TP_COMPR_CAMBIO", "1");
                else if (buyer == 11)
                    m_w.literal("CD_TP_COMPR_CAMBIO", "2");
            }
        }
    }
}

void DiOrientadorWriter::taxes() {
    TDM& dm = m_ctx.dm;
    RecordSet& addition = dm.cdsXMLTPAux;
    RecordSet& additionValues = dm.cdsXMLAux; // still on the additions of the process
    m_w.table(TaxTable);
    for (addition.first(); !addition.eof(); addition.next()) {
        // The IPI benefit is a value of the addition in the main document. An addition missing there has
        // none (rather than the benefit of whichever addition the set happened to stand on).
        std::string benefit;
        if (additionValues.locate("ID_ADICAO", addition.text("ID_ADICAO")))
            benefit = additionValues.text("BENEFICIO_IPI");
        RecordSet& list = bindAdditionList(dm, "TRIBUTO");
        for (; !list.eof(); list.next()) {
            const bool ipi = list.text("ID_TRIBUTO") == IpiTax;
            m_w.newRow();
            additionRowKey(m_w, m_micro, addition);
            applyAll(m_w, TaxRateFields);
            // An IPI with benefit 5 keeps no reduced rate.
            if (!(ipi && trim(benefit) == "5"))
                applyAll(m_w, TaxReductionFields);
            applyAll(m_w, TaxValueFields);
            if (ipi) {
                m_w.literal("CD_TIPO_BENEF_IPI", benefit);
                applyAll(m_w, IpiAgreementFields);
                m_w.literal("CD_TIPO_DIREITO", "0");
                m_w.copy("NR_NOTA_COMPL_TIPI", L, "NR_NOTA_COMPL_TIPI");
            }
        }
    }
}

// --------------------------------------------------------------- 18: DETALHE_MERCADORIA

void DiOrientadorWriter::goodsDetails() {
    TDM& dm = m_ctx.dm;
    m_w.table(DetailTable);
    RecordSet& items = dm.cdsXMLAux;
    items.setCommandText(std::string());
    items.bindToNested(dm.cdsXMLPrincipal, "ITEM");
    OrderGuard order(items, "ID_ADICAO");
    std::string previous;
    int sequence = 0;
    for (items.first(); !items.eof(); items.next()) {
        const std::string additionId = trim(items.text("ID_ADICAO"));
        sequence = additionId == previous ? sequence + 1 : 1;
        previous = additionId;

        m_w.newRow();
        m_w.literal(Micro, m_micro);
        m_w.literal(AdditionNumber, zeroPadLeft(items.text("ID_ADICAO"), 3));
        m_w.literal("NU_SEQ_DETALHE", std::to_string(sequence));
        const std::string description = restoreLineBreaks(items.text("DESCRICAO"));
        const std::size_t length = charCount(items.text("DESCRICAO"));
        if (length > DescriptionLimit)
            m_ctx.op.message(std::string(DescriptionWarningStart) + items.text("ID_ITEM") + "\r" + "da DI " +
                                 principal("ID_PROCESSO") + "ultrapassa 3900 caracteres (tamanho atual: " +
                                 std::to_string(length) + " caracteres)." + "\r" + WarningEnd,
                             WarningCaption, MessageIcon::Warning);
        m_w.text("TX_DESC_DET_MERC", description);
        applyAll(m_w, DetailFields);
    }
}

// --------------------------------------------------------------- 19: ATO_VINCULADO

void DiOrientadorWriter::legalActs() {
    TDM& dm = m_ctx.dm;
    m_w.table(ActTable);
    RecordSet& additionValues = dm.cdsXMLAux;
    additionValues.setCommandText(std::string());
    additionValues.bindToNested(dm.cdsXMLPrincipal, "ADICAO");
    for (; !additionValues.eof(); additionValues.next()) {
        for (const ActKind& act : ActKinds) {
            const std::string prefix = std::string("ATOLEGAL_") + act.kind + "_";
            if (trim(additionValues.text(prefix + "NUMERO")).empty())
                continue;
            m_w.newRow();
            m_w.literal(Micro, m_micro);
            m_w.literal(AdditionNumber, zeroPadLeft(additionValues.text("ID_ADICAO"), 3));
            m_w.literal("CD_ASSUNTO_VINCUL", act.subject);
            m_w.copy("SG_TIPO_ATO_VINCUL", A, prefix + "TIPO");
            m_w.copy("SG_ORG_ATO_VINCUL", A, prefix + "ORGAO");
            m_w.copy("DT_ANO_ATO_VINCUL", A, prefix + "ANO");
            m_w.copy("NR_ATO_VINCULADO", A, prefix + "NUMERO");
            m_w.copy("NR_EX_ATO_VINCUL", A, prefix + "EX");
        }
    }
}
