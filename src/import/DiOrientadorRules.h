#pragma once

#include "import/TransferRules.h"

#include <vector>

// The rules of the DI transfer into IMPORT.MDB, table by table. Sources: P the process
// (cdsXMLPrincipal), A the list being walked (cdsXMLAux), L a list of an addition (cdsXMLTPAux2).
// Rules that apply only under a condition are lists of their own; DiOrientadorWriter decides when.

namespace DiRules {

inline constexpr const char* File = "IMPORT.MDB";
inline constexpr const char* Micro = "NR_DECL_IMP_MICRO";
inline constexpr const char* AdditionNumber = "NR_OP_IMP_MICRO";

// --- DECLARAÇÃO_IMPORTAÇÃO
inline constexpr const char* Declaration = "DECLARAÇÃO_IMPORTAÇÃO";
extern const std::vector<Rule> DeclarationHead;
extern const std::vector<Rule> Clearance;
extern const std::vector<Rule> CargoEntryUnit; // not for declaration types 16 and 17
extern const std::vector<Rule> Dispatch;
extern const std::vector<Rule> Consignee; // operation type 2
extern const std::vector<Rule> Carrier;   // transport block: ways other than 16 and 17
extern const std::vector<Rule> HouseAndMaster;
extern const std::vector<Rule> MasterOnly;
extern const std::vector<Rule> Shipment; // transport block, declaration types below 13
extern const std::vector<Rule> Arrival;  // transport block
extern const std::vector<Rule> Freight;
extern const std::vector<Rule> GoodsValue;
extern const std::vector<Rule> GoodsValueWithoutCurrency;
extern const std::vector<Rule> Cargo;
extern const std::vector<Rule> Complement;
extern const std::vector<Rule> TaxPayment;
extern const std::vector<Rule> Account; // payment types 1, 3 and 4
extern const std::vector<Rule> Registration;
inline constexpr const char* CargoDocument = "NR_DCTO_CARGA";
inline constexpr const char* CargoDocumentMaster = "NR_DCTO_CARGA_MAST";
inline constexpr const char* GoodsValueInCurrency = "VL_TOT_MLE_MNEG";

// --- PROCESSO_DI … DE_MERCOSUL_DI: lists of the process
extern const std::vector<ListTable> ProcessLists;

// --- OP_ADIÇÃO_DE_IMPORTAÇÃO
inline constexpr const char* Addition = "OP_ADIÇÃO_DE_IMPORTAÇÃO";
extern const std::vector<Rule> AdditionKey;
extern const std::vector<Rule> EntryPerAddition;   // declaration types 16 and 17
extern const std::vector<Rule> FreightPerAddition; // declaration types 16 and 17
extern const std::vector<Rule> AdditionGoods;
extern const std::vector<Rule> SaleTerm; // valuation methods below 2
extern const std::vector<Rule> Sale;
extern const std::vector<Rule> PaymentMode; // not type 16, exchange cover other than 4
extern const std::vector<Rule> Financing;
extern const std::vector<Rule> FixedInstalments; // additions without the list PARC_VARIAVEIS
extern const std::vector<Rule> FinancingTerms;
extern const std::vector<Rule> Agent;
extern const std::vector<Rule> GoodsCondition;
extern const std::vector<Rule> TaxBase;
// Set from the item summary of the addition.
inline constexpr const char* Ncm = "CD_MERCADORIA_NCM";
inline constexpr const char* NbmSh = "CD_MERC_NBM_SH";
inline constexpr const char* Origin = "CD_PAIS_ORIG_MERC";
inline constexpr const char* NaladiNcca = "CD_MERC_NALADI_NCC";
inline constexpr const char* NaladiSh = "CD_MERC_NALADI_SH";
inline constexpr const char* NetWeight = "PL_MERCADORIA";
inline constexpr const char* Currency = "CD_MOEDA_NEGOCIADA";
inline constexpr const char* IpiNotTaxed = "IN_IPI_NAO_TRIBUT";

// --- lists of each addition (through ADICAO.xtr)
extern const std::vector<ListTable> AdditionListsBeforePayments;
extern const ListTable LinkedDocuments;

// --- PAGAMENTO_VINCULADO: cash payments first (sequence from 0, form "2"), then advance ones (from 1, "1").
inline constexpr const char* Payment = "PAGAMENTO_VINCULADO";
struct PaymentKind {
    const char* nested;
    int start;
    const char* form;
};
extern const std::vector<PaymentKind> PaymentKinds;
inline constexpr const char* PaymentSequence = "NR_SEQ_PAGAMENTO";
inline constexpr const char* PaymentForm = "CD_FORMA_PAGAMENTO";
extern const std::vector<Rule> PaymentFields;

// --- TRIBUTO
inline constexpr const char* Tax = "TRIBUTO";
extern const std::vector<Rule> TaxRate;
extern const std::vector<Rule> TaxReduction; // left out for the IPI of an addition with IPI benefit 5
extern const std::vector<Rule> TaxValue;
extern const std::vector<Rule> IpiAgreement; // IPI only
inline constexpr const char* IpiBenefit = "CD_TIPO_BENEF_IPI";
inline constexpr const char* IpiRight = "CD_TIPO_DIREITO";

// --- DETALHE_MERCADORIA
inline constexpr const char* Detail = "DETALHE_MERCADORIA";
inline constexpr const char* DetailSequence = "NU_SEQ_DETALHE";
extern const std::vector<Rule> DetailFields;

// --- ATO_VINCULADO: the legal acts of an addition, by kind, in this order.
inline constexpr const char* Act = "ATO_VINCULADO";
// A row is written when the act's number is there.
struct ActKind {
    const char* number; // A.ATOLEGAL_<kind>_NUMERO
    const char* subject;
    std::vector<Rule> fields;
};
extern const std::vector<ActKind> ActKinds;
inline constexpr const char* ActSubject = "CD_ASSUNTO_VINCUL";

/// Every table of a declaration with every field the transfer writes into it.
std::vector<TableTargets> tableTargets();

} // namespace DiRules
