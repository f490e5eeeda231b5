#pragma once

#include "import/OrientadorRowWriter.h"

#include <string>

struct AppContext;
struct ListTable;
struct LoadedProcessDocument;
struct TransferProgress;

/// Writes the DSI of the current record of cdsXMLPrincipal into DSI.MDB, every row keyed by the process
/// identifier, by the rules of DsiOrientadorRules: general data, goods, tax payments, taxes per good and
/// volumes. Expects ADOCon_IMPORT connected to DSI.MDB and the progress window open. Field failures are
/// reported and skipped; anything else is raised for the transfer's handler.
class DsiOrientadorWriter {
public:
    static constexpr int TableCount = 5;

    DsiOrientadorWriter(AppContext& ctx, TransferProgress& progress, const LoadedProcessDocument& document,
                        const std::string& key);

    void write();

private:
    void general();
    void goods();
    void list(const ListTable& table);
    void goodsTaxes();
    /// Binds cdsXMLTPAux to the addition of the current item (through ADICAO.xtr).
    void additionOfItem();

    AppContext& m_ctx;
    const LoadedProcessDocument& m_document;
    OrientadorRowWriter m_w;
    bool m_additionsRead = false;
};
