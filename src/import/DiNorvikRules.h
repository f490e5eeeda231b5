#pragma once

#include <string>
#include <vector>

/// One value the DI transfer into NORVIK copies as it is: target field ← source field of the record
/// set with that index (0 main, 1 process list, 2 addition list, 3 items, 4 addition).
struct NorvikRule {
    const char* target;
    int source;
    const char* field;
};

/// A tribute of an addition (ID_TRIBUTO) and the addition fields it fills.
struct NorvikTributeRules {
    const char* id;
    std::vector<NorvikRule> fields;
};

/// A list of an addition written into a file of its own, one record per entry.
struct NorvikListRules {
    const char* base;   // "RIADI2"
    const char* nested; // "DOC_VINCULADO"
    std::vector<NorvikRule> fields;
};

/// The rule tables of the DI transfer into NORVIK: what goes where, without the conversions the
/// transfer computes.
namespace DiNorvikRules {

/// Sources by index.
constexpr int Main = 0;
constexpr int ProcessList = 1;
constexpr int AdditionList = 2;
constexpr int Items = 3;
constexpr int Addition = 4;

/// RIREGI: constant fields in the order written (ACRESC and ICMS twice: the last value stands).
extern const std::vector<std::pair<const char*, const char*>> HeaderConstants;
extern const std::vector<NorvikRule> HeaderCopies;
/// RIREGI fields in dollars, from an amount in reais of the main record.
extern const std::vector<NorvikRule> HeaderDollars;

extern const std::vector<NorvikRule> ExpenseCopies;  // RICUST ← LANCAMENTO
extern const std::vector<NorvikRule> LinkedCopies;   // RIREG5 ← PROC_VINCULADO
extern const std::vector<NorvikRule> DocumentCopies; // RIREG3 ← DOCUMENTO (TIPO computed)
extern const std::vector<NorvikRule> PackageCopies;  // RIREG4 ← VOLUMES
extern const std::vector<NorvikRule> PaymentCopies;  // RIREG2 ← PAGAMENTO and the main record

extern const std::vector<NorvikRule> AdditionCopies;     // RIADIC ← the addition
extern const std::vector<NorvikRule> AdditionItemCopies; // RIADIC ← its last item
extern const std::vector<NorvikRule> AdditionDollars;
extern const std::vector<NorvikTributeRules> Tributes;

extern const std::vector<NorvikRule> ExchangeCopies; // RICAMB ← A_VISTA / ANTECIPADO
extern const NorvikListRules LinkedDocuments;        // RIADI2
extern const NorvikListRules NveAttributes;          // RIADI6 (ESPECIF computed)
extern const NorvikListRules MercosurDeclarations;   // RIITDE
extern const std::vector<NorvikRule> ItemCopies;     // RIITEM ← the item

/// The five legal acts of an addition (RIADI3): subject and the prefix of their fields.
extern const std::vector<std::pair<const char*, const char*>> LegalActs;

} // namespace DiNorvikRules
