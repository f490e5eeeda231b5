#include "import/LiOrientadorRules.h"

#include "import/PartyRules.h"

namespace LiRules {

namespace {
constexpr RuleSource P = Principal;
constexpr RuleSource X = Aux2;
constexpr RuleSource A = Aux;
constexpr RuleSource Y = TPAux3;
constexpr RuleSource Z = TPAux2;
} // namespace

const std::vector<Rule> OperationHead = {
    // The licence is found again by this identifier: stored exactly as it is looked up.
    {"NR_IDENT_USUARIO", X, "ID_LI", trimmedText},
    {"CD_ORIGEM_LI", Literal, "1"},
};

const std::vector<Rule> Activity = {
    {"CD_ATIV_ECON_IMPO", P, "IMPORTADOR_ATIV_FEDERAL"},
    {"CD_URF_ENTR_MERC", P, "URF_ENTRADA"},
};

const std::vector<Rule> ItemGoods = {
    {"CD_MERCADORIA_NCM", A, "NCM"},
    {"CD_MOEDA_NEGOCIADA", A, "MOEDA_NEGOCIADA"},
    {"CD_PAIS_PROC_MERC", P, "PROCEDENCIA"},
};

const std::vector<Rule> ItemOrigin = {
    {"CD_PAIS_ORIG_MERC", A, "PAIS_ORIGEM"},
    {"CD_MERC_NALADI_SH", A, "NALADI_SH"},
    {"PL_MERCADORIA", A, "PESO_LIQUIDO", fixed(15, 5)},
};

const std::vector<Rule> Licence = {
    {"QT_UN_ESTATISTICA", X, "ESTATISTICA_QTDE", fixed(14, 5)},
    {"QT_DIA_LIMITE_PGTO", X, "LIMITE_DIAS"},
    {"CD_INCOTERMS_VENDA", X, "INCOTERM"},
    {"VL_MERC_MNEG_EMB", X, "VMLE", fixed(15, 2)},
    {"CD_TIPO_ACORDO_TAR", X, "ACORDO_LI_TIPO"},
    {"CD_ACORDO_ALADI", X, "ACORDO_LI_CODIGO"},
    {"CD_REGIME_TRIBUTAR", X, "REGIME_TRIB"},
    {"CD_FUND_LEG_REGIME", X, "FUND_LEGAL"},
    {"CD_COBERT_CAMBIAL", X, "COBERTURA"},
    {"CD_MODALIDADE_PGTO", X, "MODALIDADE"},
    {"CD_ORGAO_FIN_INTER", X, "INST_FINANC"},
    {"CD_MOTIVO_SEM_COB", X, "MOTIVO_SEMCOB"},
    {"CD_AGENCIA_SECEX", X, "AGENCIA_SECEX"},
    {"CD_URF_DESPACHO", P, "URF_DESPACHO"},
    {"IN_MATERIAL_USADO", X, "CONDICAO_MERC", flagWhen("2")},
    {"IN_BEM_ENCOMENDA", X, "CONDICAO_MERC", flagWhen("3")},
    {"IN_REG_DRAWBACK", X, "AUTO_DRAWBACK"},
    {"NR_REG_DRAWBACK", X, "REG_DRAWBACK"},
    {"NR_ATO_DRAWBACK", X, "ATO_DRAWBACK"},
    {"NR_COMUNIC_COMPRA", X, "COMUNIC_COMPRA"},
};

const std::vector<Rule> Complement = {{"TX_INFO_COMPL", X, "COMPLEMENTARES", lineBreaks}};

const ListTable Highlights = {"DESTAQUE_NCM", "DESTAQUE_NCM", nullptr, 0, {{"NR_DESTAQUE_NCM", Y, "NUMERO"}}};

const ListTable AgencyProcesses = {"PROCESSO_ANUENTE",
                                   "PROC_ANUENTE",
                                   nullptr,
                                   0,
                                   {{"NR_PROC_ANUENTE", Y, "ID_PROCESSO"}, {"SG_ORG_PROC_ANUENT", Y, "TIPO"}}};

const std::vector<Rule> DetailFields = {
    {"CD_PRODUTO", A, "COD_PRODUTO"},
    {"QT_MERC_UN_COMERC", A, "QUANTIDADE", fixed(14, 5)},
    {"NM_UN_MEDID_COMER", A, "UNIDADE"},
    {"VL_UNID_COND_VENDA", A, "UNITARIO_CVENDA", fixed(20, 7)},
    {"TX_DESC_DET_MERC", A, "DESCRICAO", lineBreaks},
};

const std::vector<Rule> Drawback = {
    {"NR_ITEM_DRAWBACK", Z, "NR_ITEM"},
    {"QT_PROD_DRAWBACK", Z, "QTDE_PRODUTO"},
    {"VL_PROD_DRAWBACK", Z, "VMLE_PRODUTO"},
};

std::vector<TableTargets> tableTargets() {
    using namespace PartyRules;
    std::vector<std::string> operation =
        targetsOf({&OperationHead, &ImporterIdentity, &ImporterCountry, &ImporterAddress, &ImporterState, &Activity,
                   &ItemGoods, &ItemOrigin, &Licence, &Complement},
                  {Micro, UpdateDate});
    for (const std::string& party : partyTargets())
        operation.push_back(party);
    return {
        {File, Operation, operation},
        {File, Highlights.table, targetsOf({&Highlights.fields}, {Micro})},
        {File, AgencyProcesses.table, targetsOf({&AgencyProcesses.fields}, {Micro})},
        {File, Detail, targetsOf({&DetailFields, &Drawback}, {Micro, DetailSequence})},
    };
}

} // namespace LiRules
