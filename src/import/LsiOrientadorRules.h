#pragma once

#include "import/TransferRules.h"

#include <vector>

// The rules of the LSI transfer into LIDSI.MDB. Sources: P the process (cdsXMLPrincipal), X the licence
// (cdsXMLAux2, on P.DADOS_LI), A the licence's first item (cdsXMLAux, on P.ITEM), Y an entry of a list
// below the licence in the DADOS_LI.xtr view (cdsXMLTPAux3).

namespace LsiRules {

inline constexpr const char* File = "LIDSI.MDB";
/// The operation's number is the process identifier itself: every licence of a process shares it.
inline constexpr const char* Key = "NR_TRAT_IMP_MICRO";

// --- OPERAÇÃO_COM_TRATAMENTO: one row per licence
inline constexpr const char* Operation = "OPERAÇÃO_COM_TRATAMENTO";
extern const std::vector<Rule> OperationOrigin;
extern const std::vector<Rule> Dispatch;
extern const std::vector<Rule> Goods;
extern const std::vector<Rule> Licence;
/// NUMERO of the first NCM highlight of the licence in the DADOS_LI.xtr view.
extern const std::vector<Rule> Highlight;
extern const std::vector<Rule> Classification;

// --- PROCESSO_ANUENTE: the licence's consenting-agency processes
extern const ListTable& AgencyProcesses;

/// Both tables with every field the transfer writes into them.
std::vector<TableTargets> tableTargets();

} // namespace LsiRules
