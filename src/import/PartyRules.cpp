#include "import/PartyRules.h"

namespace PartyRules {

namespace {
constexpr RuleSource P = Principal;
} // namespace

const std::vector<Rule> ImporterIdentity = {
    {"CD_TIPO_IMPORTADOR", P, "IMPORTADOR_TIPO"},
    {"NR_IMPORTADOR", P, "IMPORTADOR_CNPJ_CPF"},
};

const std::vector<Rule> ImporterCountry = {
    {"CD_PAIS_IMPORTADOR", P, "IMPORTADOR_PAIS"},
};

const std::vector<Rule> ImporterAddress = {
    {"NM_IMPORTADOR", P, "IMPORTADOR_RAZAO_SOCIAL"},    {"NR_TEL_IMPORTADOR", P, "IMPORTADOR_TELEFONE"},
    {"ED_LOGR_IMPORTADOR", P, "IMPORTADOR_LOGRADOURO"}, {"ED_NR_IMPORTADOR", P, "IMPORTADOR_NUMERO"},
    {"ED_COMPL_IMPO", P, "IMPORTADOR_COMPLEMENTO"},     {"ED_BA_IMPORTADOR", P, "IMPORTADOR_BAIRRO"},
    {"ED_MUN_IMPORTADOR", P, "IMPORTADOR_MUNICIPIO"},   {"ED_CEP_IMPORTADOR", P, "IMPORTADOR_CEP"},
};

const std::vector<Rule> ImporterState = {
    {"ED_UF_IMPORTADOR", P, "IMPORTADOR_UF"},
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

std::vector<std::string> partyTargets() {
    std::vector<std::string> targets{ManufacturerAbsence};
    for (const auto* list : {&SupplierFields, &ManufacturerFields})
        for (const PartyField& f : *list)
            targets.emplace_back(f.target);
    return targets;
}

} // namespace PartyRules
