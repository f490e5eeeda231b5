#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct AppContext;
struct LoadedProcessDocument;
class RecordSet;

/// Where the LI and LSI transfers read a licence besides its own row (cdsXMLAux2): its items on
/// cdsXMLAux, and the DADOS_LI.xtr view of the process (cdsXMLTPAux, its licences on cdsXMLTPAux2, a
/// list below a licence on cdsXMLTPAux3). One object serves the licences of one process: which items
/// belong to which licence is read once for them all.
class LicenceSources {
public:
    LicenceSources(AppContext& ctx, const LoadedProcessDocument& document);

    /// Binds cdsXMLAux to the items of the process and puts it on the licence's first item; on the
    /// process's first item when none belongs to the licence (the head row then still has goods).
    void firstItemOf(const std::string& licenceId);
    /// Binds cdsXMLAux to the items of the process; the places (from 0) of the items whose trimmed ID_LI
    /// is licenceId among all items of the process, in order.
    const std::vector<std::size_t>& itemsOf(const std::string& licenceId);
    /// Puts cdsXMLAux on the item at place, as walking there from the first item would.
    void moveToItem(std::size_t place);
    /// Opens the DADOS_LI.xtr view of the current process (command text "SELECT * FROM DADOS_LI WHERE
    /// ID_PROCESSO=" + quoted identifier) with cdsXMLTPAux2 on its licences.
    void openLicenceView();
    /// For every licence row of the view whose trimmed ID_LI is licenceId, in order: binds cdsXMLTPAux3 to
    /// its nested list and calls each with it.
    void forEachList(const std::string& licenceId, const std::string& nested,
                     const std::function<void(RecordSet& list)>& each);

private:
    void bindItems();

    AppContext& m_ctx;
    const LoadedProcessDocument& m_document;
    bool m_itemsRead = false;
    std::map<std::string, std::vector<std::size_t>> m_itemsByLicence;
};
