#pragma once

// Members are grouped by area; each area adds its members and includes in its own block.

// --- process record sets (import)
#include "data/RecordSet.h"
#include "data/XmlDocumentCache.h"
#include "data/XmlTransformProvider.h"
// --- Orientador store
#include "data/OrientadorDatabase.h"
#include "data/OrientadorTable.h"
// --- Integra database
#include "base/TextUtils.h"
#include "data/IntegraDatabase.h"
#include "data/IntegraTable.h"
#include "data/RecordSet.h"
// --- Merlin web clients
#include "data/MerlinClient.h"
// --- NORVIK store
#include "data/NorvikTable.h"

/// The shared data module: the one holder of the connections, tables, record sets, transform
/// providers and web clients that the operations share. Created first, alive until exit.
class TDM {
public:
    TDM() = default;
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // --- process record sets (import)
    // The document last read, shared by both providers (the transfers point them at the same file).
    XmlDocumentCache xmlDocuments;
    XmlTransformProvider XMLTransformProvider{"XMLTransformProvider", xmlDocuments};
    XmlTransformProvider XMLTPAux{"XMLTPAux", xmlDocuments};
    RecordSet cdsXMLPrincipal{"cdsXMLPrincipal"};
    RecordSet cdsXMLAux{"cdsXMLAux"};
    RecordSet cdsXMLAux2{"cdsXMLAux2"};
    RecordSet cdsXMLAdicao{"cdsXMLAdicao"};
    RecordSet cdsXMLTPAux{"cdsXMLTPAux"};
    RecordSet cdsXMLTPAux2{"cdsXMLTPAux2"};
    RecordSet cdsXMLTPAux3{"cdsXMLTPAux3"};
    RecordSet cdsXMLFabrExp{"cdsXMLFabrExp"};
    RecordSet cdsXMLTaxas{"cdsXMLTaxas"};

    // --- Orientador store
    /// The one connection to the Orientador's files; its connection string is replaced to switch files.
    OrientadorDatabase ADOCon_IMPORT;
    /// The one table cursor on it; only one Orientador table is open at any time.
    OrientadorTable ADOTbl_IMPORT{ADOCon_IMPORT};

    // --- Integra database
    IntegraDatabase sqlConIntegra;
    RecordSet cdsFabricante{"cdsFabricante"};
    RecordSet cdsPais{"cdsPais"};
    RecordSet cdsUnidade{"cdsUnidade"};
    RecordSet cdsExportador{"cdsExportador"};
    RecordSet cdsVinculo{"cdsVinculo"};
    RecordSet cdsGerados{"cdsGerados"};
    IntegraTable sqlDsFabricante{sqlConIntegra, "FABRICANTE", cdsFabricante};
    IntegraTable sqlDsPais{sqlConIntegra, "PAIS", cdsPais};
    IntegraTable sqlDsUnidade{sqlConIntegra, "UNIDADE", cdsUnidade};
    IntegraTable sqlDsExportador{sqlConIntegra, "EXPORTADOR", cdsExportador};
    IntegraTable sqlDsVinculo{sqlConIntegra, "VINCULO", cdsVinculo};
    IntegraTable sqlDsGerados{sqlConIntegra, "GERADOS", cdsGerados};
    /// The statement of an Integra table by its name ("UNIDADE" …, any case), or nullptr.
    IntegraTable* integraTable(const std::string& name) {
        for (IntegraTable* t :
             {&sqlDsFabricante, &sqlDsPais, &sqlDsUnidade, &sqlDsExportador, &sqlDsVinculo, &sqlDsGerados})
            if (upperAscii(name) == t->tableName())
                return t;
        return nullptr;
    }

    // --- Merlin web clients
    /// The process request and the return of registration data (GET).
    MerlinClient IdHTTP;
    /// receiveMerlinRequest (SOAP POST).
    MerlinClient HTTPRIO;

    // --- NORVIK store
    // One table object per NORVIK file (vkRIAGEN is a second object on RITRAN.DBF; vkRIADIC is bound
    // to the additions' work file in the program folder).
    NorvikTable vkRIREGI{"vkRIREGI"};
    NorvikTable vkRITAXA{"vkRITAXA"};
    NorvikTable vkRIIMPO{"vkRIIMPO"};
    NorvikTable vkRIARZE{"vkRIARZE"};
    NorvikTable vkRITRAN{"vkRITRAN"};
    NorvikTable vkRIAGEN{"vkRIAGEN"};
    NorvikTable vkRIDESP{"vkRIDESP"};
    NorvikTable vkRICUST{"vkRICUST"};
    NorvikTable vkRIREG2{"vkRIREG2"};
    NorvikTable vkRIREG3{"vkRIREG3"};
    NorvikTable vkRIREG4{"vkRIREG4"};
    NorvikTable vkRIREG5{"vkRIREG5"};
    NorvikTable vkRIREG6{"vkRIREG6"};
    NorvikTable vkRIADIC{"vkRIADIC"};
    NorvikTable vkRIADI2{"vkRIADI2"};
    NorvikTable vkRIADI3{"vkRIADI3"};
    NorvikTable vkRIADI4{"vkRIADI4"};
    NorvikTable vkRIADI5{"vkRIADI5"};
    NorvikTable vkRIADI6{"vkRIADI6"};
    NorvikTable vkRIITDE{"vkRIITDE"};
    NorvikTable vkRICAMB{"vkRICAMB"};
    NorvikTable vkRIPARC{"vkRIPARC"};
    NorvikTable vkRIFABR{"vkRIFABR"};
    NorvikTable vkRIITEM{"vkRIITEM"};
    NorvikTable vkRIUNID{"vkRIUNID"};
    NorvikTable vkRICLAS{"vkRICLAS"};
    NorvikTable vkRIFOBS{"vkRIFOBS"};
};
