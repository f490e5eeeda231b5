#include "import/LsiOrientadorRules.h"

#include "import/LiOrientadorRules.h"
#include "import/PartyRules.h"

namespace LsiRules {

namespace {
constexpr RuleSource P = Principal;
constexpr RuleSource X = Aux2;
constexpr RuleSource A = Aux;
constexpr RuleSource Y = TPAux3;
} // namespace

const std::vector<Rule> OperationOrigin = {{"CD_ORIGEM_LI", Literal, "1"}};

const std::vector<Rule> Dispatch = {
    {"CD_PAIS_PROC_CARGA", P, "PROCEDENCIA"},
    {"CD_UL_DESPACHO", P, "URF_DESPACHO"},
    {"NR_EMP_DECLARANTE", P, "CONSIGNATARIO_CNPJ_CPF"},
    {"TX_INFO_COMPL", P, "COMPLEMENTARES", lineBreaks},
};

// The whole goods description sits in the operation row: that of the licence's first item.
const std::vector<Rule> Goods = {
    {"CD_MERCADORIA_NCM", A, "NCM"},
    {"CD_PAIS_ORIG_MERC", A, "PAIS_ORIGEM"},
    {"PL_MERCADORIA", P, "PESO_LIQUIDO", fixed(15, 5)},
    {"CD_MOEDA_NEGOCIADA", A, "MOEDA_NEGOCIADA"},
    {"QT_MERC_UN_COMERC", A, "QUANTIDADE", fixed(14, 5)},
    {"NM_UN_MEDID_COMERC", A, "UNIDADE"},
    {"VL_UNID_LOC_EMB", A, "UNITARIO_CVENDA", fixed(13, 2)},
    {"TX_DESC_DET_MERC", A, "DESCRICAO", lineBreaks},
};

const std::vector<Rule> Licence = {
    {"QT_UN_ESTATISTICA", X, "ESTATISTICA_QTDE", fixed(14, 5)},
    {"CD_REGIME_TRIBUTAR", X, "REGIME_TRIB"},
    {"CD_FUND_LEG_REGIME", X, "FUND_LEGAL"},
    {"IN_MATERIAL_USADO", X, "CONDICAO_MERC", flagWhen("2")},
};

const std::vector<Rule> Highlight = {{"NR_DESTAQUE_NCM", Y, "NUMERO"}};

const std::vector<Rule> Classification = {
    {"CD_NATUREZA_OP", Literal, "03"},
    {"CD_TIPO_CLASS", Literal, "1"},
};

// The same list as an LI's.
const ListTable& AgencyProcesses = LiRules::AgencyProcesses;

std::vector<TableTargets> tableTargets() {
    using namespace PartyRules;
    return {
        {File, Operation,
         targetsOf({&OperationOrigin, &ImporterIdentity, &ImporterAddress, &ImporterState, &ImporterCountry, &Dispatch,
                    &Goods, &Licence, &Highlight, &Classification},
                   {Key})},
        {File, AgencyProcesses.table, targetsOf({&AgencyProcesses.fields}, {Key})},
    };
}

} // namespace LsiRules
