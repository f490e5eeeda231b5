#pragma once

#include "import/TransferRules.h"

#include <vector>

// The people of a process every Orientador transfer writes alike: the importer (fields of the main
// record) and the supplier and manufacturer (rows of FABR_EXP, found by the item's exporter and
// manufacturer).

namespace PartyRules {

/// CD_TIPO_IMPORTADOR, NR_IMPORTADOR.
extern const std::vector<Rule> ImporterIdentity;
/// CD_PAIS_IMPORTADOR.
extern const std::vector<Rule> ImporterCountry;
/// Name, telephone and address but the state: NM_IMPORTADOR … ED_MUN_IMPORTADOR, ED_CEP_IMPORTADOR.
extern const std::vector<Rule> ImporterAddress;
/// ED_UF_IMPORTADOR.
extern const std::vector<Rule> ImporterState;

/// A field of a FABR_EXP row set directly as text, followed by one blank as the transfers keep it.
struct PartyField {
    const char* target;
    const char* source;
};
/// The supplier (exporter) of the goods.
extern const std::vector<PartyField> SupplierFields;
/// The manufacturer, when it is not the exporter.
extern const std::vector<PartyField> ManufacturerFields;
/// Whether the manufacturer is the exporter ("1"), another party ("2") or unknown ("3").
inline constexpr const char* ManufacturerAbsence = "CD_AUSENCIA_FABRIC";

/// The targets of the supplier and manufacturer fields, for the schema check of the tables they go to.
std::vector<std::string> partyTargets();

} // namespace PartyRules
