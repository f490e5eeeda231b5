#pragma once

#include "import/OrientadorRowWriter.h"
#include "import/ProcessTransfer.h"

#include <string>

struct AppContext;
struct TransferProgress;

/// Writes the declaration of the current record of cdsXMLPrincipal into IMPORT.MDB: the nineteen tables
/// from DECLARAÇÃO_IMPORTAÇÃO to ATO_VINCULADO, under the micro number the table preparation handed out.
/// Expects ADOCon_IMPORT connected to IMPORT.MDB and the progress window open. Field failures are
/// reported and skipped; anything else (a missing table or nested set, a number that does not convert,
/// a row the file refuses) is raised as it is, for the transfer's own handler.
class DiOrientadorWriter {
public:
    /// The tables of one declaration, in the order they are written.
    static constexpr int TableCount = 19;
    static constexpr const char* ComplementaryWarningStart =
        "ATENÇÃO!!!\rO texto contido no campo de informações complementares\rultrapassa 7800 caracteres "
        "(tamanho atual: ";
    static constexpr const char* DescriptionWarningStart = "ATENÇÃO!!!\rO texto contido no campo de descrição do item ";
    static constexpr const char* WarningEnd = "O TEXTO SERÁ TRANSFERIDO INCOMPLETO!!!";
    static constexpr std::size_t ComplementaryLimit = 7800;
    static constexpr std::size_t DescriptionLimit = 3900;

    DiOrientadorWriter(AppContext& ctx, TransferProgress& progress, const LoadedProcessDocument& document,
                       std::string micro);

    void write();

private:
    void declaration();
    void transportBlock();
    void processLists();
    void additions();
    void addition();
    void itemSummary();
    void supplier();
    void manufacturer();
    void additionLists();
    void payments();
    void taxes();
    void goodsDetails();
    void legalActs();

    std::string principal(const std::string& field) const;
    long long declarationType() const;
    /// Opens cdsXMLFabrExp on the manufacturers and exporters of the document and goes to the row of id.
    bool fabrExp(const std::string& id);

    AppContext& m_ctx;
    const LoadedProcessDocument& m_document;
    std::string m_micro;
    OrientadorRowWriter m_w;

    // The item summary of the addition being written (each value followed by one blank, as kept).
    struct ItemSummary {
        std::string manufacturer, exporter, ncm, naladiNcca, naladiSh, currency, origin;
        double netWeight = 0;
    } m_items;
};
