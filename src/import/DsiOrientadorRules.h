#pragma once

#include "import/TransferRules.h"

#include <map>
#include <string>
#include <vector>

// The rules of the DSI transfer into DSI.MDB. Sources: P the process (cdsXMLPrincipal), A the item or
// the row of a list of the process (cdsXMLAux), L the item's addition in the main document or a tax row
// of the addition (cdsXMLTPAux2). Every row is keyed by the process identifier (CD_DSI_MICRO).

namespace DsiRules {

inline constexpr const char* File = "DSI.MDB";
inline constexpr const char* Key = "CD_DSI_MICRO";

// --- DSI_DADOS_GERAIS: one row
inline constexpr const char* General = "DSI_DADOS_GERAIS";
extern const std::vector<Rule> GeneralHead;
extern const std::vector<Rule> GeneralCargo;

// --- DSI_BENS: one row per item
inline constexpr const char* Goods = "DSI_BENS";
extern const std::vector<Rule> GoodsFields;
/// NUMERO of the first NCM highlight of the item's addition (through ADICAO.xtr).
inline constexpr const char* GoodsHighlight = "CD_DESTAQUE_NCM";

// --- DSI_PGTO_TRIBUTOS and DSI_VOLUMES: lists of the process
extern const ListTable Payments;
extern const ListTable Volumes;

// --- DSI_TRIBUTOS_BEM: one row per item, its addition's taxes side by side
inline constexpr const char* GoodsTaxes = "DSI_TRIBUTOS_BEM";
inline constexpr const char* GoodsNumber = "NR_BEM";
/// The fields a tax row fills, by tax (ID_TRIBUTO); other taxes (antidumping 0003 …) fill none.
extern const std::map<std::string, std::vector<Rule>> TaxFields;

/// Every table of a DSI with every field the transfer writes into it.
std::vector<TableTargets> tableTargets();

} // namespace DsiRules
