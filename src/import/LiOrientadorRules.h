#pragma once

#include "import/TransferRules.h"

#include <vector>

// The rules of the LI transfer into REGIMP.MDB. Sources: P the process (cdsXMLPrincipal), X the licence
// (cdsXMLAux2, on P.DADOS_LI), A the licence's first item (cdsXMLAux, on P.ITEM), Y an entry of a list
// below the licence in the DADOS_LI.xtr view (cdsXMLTPAux3), Z a drawback row of the INFO_DRAW.xtr view
// (cdsXMLTPAux2).

namespace LiRules {

inline constexpr const char* File = "REGIMP.MDB";
inline constexpr const char* Micro = "NR_TRAT_IMP_MICRO";

// --- OPERAÇÃO_COM_TRATAMENTO: the head row of a licence
inline constexpr const char* Operation = "OPERAÇÃO_COM_TRATAMENTO";
extern const std::vector<Rule> OperationHead;
extern const std::vector<Rule> Activity;
extern const std::vector<Rule> ItemGoods;
extern const std::vector<Rule> ItemOrigin;
extern const std::vector<Rule> Licence;
inline constexpr const char* UpdateDate = "DT_ATU_OPER_MICRO";
extern const std::vector<Rule> Complement;
/// Importers of Brazil (country 105) leave the importer's country unset.
inline constexpr const char* HomeCountry = "105";

// --- DESTAQUE_NCM and PROCESSO_ANUENTE: lists below the licence, one row per entry
extern const ListTable Highlights;
extern const ListTable AgencyProcesses;

// --- DETALHE_MERC_COM_TRATAMENTO: the licence's items, numbered by their place among all items
inline constexpr const char* Detail = "DETALHE_MERC_COM_TRATAMENTO";
inline constexpr const char* DetailSequence = "NR_SEQ_PRODUTO";
extern const std::vector<Rule> DetailFields;
extern const std::vector<Rule> Drawback;

/// Every table of a licence with every field the transfer writes into it.
std::vector<TableTargets> tableTargets();

} // namespace LiRules
