#pragma once

#include "import/OrientadorRowWriter.h"
#include "import/PartyWriter.h"
#include "import/ProcessTransfer.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct AppContext;
struct TransferProgress;

/// Writes the declaration of the current record of cdsXMLPrincipal into IMPORT.MDB: the nineteen tables
/// from DECLARAÇÃO_IMPORTAÇÃO to ATO_VINCULADO, under the micro number the table preparation handed out,
/// by the rules of DiOrientadorRules. Expects ADOCon_IMPORT connected to IMPORT.MDB and the progress
/// window open. Field failures are reported and skipped; anything else (a missing table or nested set, a
/// number that does not convert, a row the file refuses) is raised as it is, for the transfer's handler.
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
    void readItems();
    void additionLists();
    void payments();
    void taxes();
    void goodsDetails();
    void legalActs();

    std::string principal(const std::string& field) const;
    long long declarationType() const;

    AppContext& m_ctx;
    const LoadedProcessDocument& m_document;
    std::string m_micro;
    OrientadorRowWriter m_w;
    PartyWriter m_parties;

    // The item summary of the addition being written (each value followed by one blank, as kept).
    struct ItemSummary {
        std::string manufacturer, exporter, ncm, naladiNcca, naladiSh, currency, origin;
        double netWeight = 0;
    } m_items;
    // The items of the declaration, read once: the first of the document, and by addition the last one
    // with the weights of all (item id, weight).
    struct AdditionItems {
        ItemSummary last;
        std::vector<std::pair<std::string, std::string>> weights;
    };
    bool m_itemsRead = false;
    ItemSummary m_firstItem;
    std::map<std::string, AdditionItems> m_itemsByAddition;
};
