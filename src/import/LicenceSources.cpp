#include "import/LicenceSources.h"

#include "base/AppContext.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "import/DocumentView.h"
#include "import/ProcessTransfer.h"
#include "import/TransferConversions.h"

namespace {
const char* const LicenceTransform = "DADOS_LI.xtr";
} // namespace

LicenceSources::LicenceSources(AppContext& ctx, const LoadedProcessDocument& document)
    : m_ctx(ctx), m_document(document) {}

void LicenceSources::bindItems() {
    TDM& dm = m_ctx.dm;
    RecordSet& items = dm.cdsXMLAux;
    items.setCommandText(std::string());
    items.bindToNested(dm.cdsXMLPrincipal, "ITEM");
}

const std::vector<std::size_t>& LicenceSources::itemsOf(const std::string& licenceId) {
    bindItems();
    // Each licence would otherwise walk every item of the process: hundreds of licences, each with
    // its few items, made the walks grow with the square of the document.
    if (!m_itemsRead) {
        RecordSet& items = m_ctx.dm.cdsXMLAux;
        for (; !items.eof(); items.next())
            m_itemsByLicence[trim(items.text("ID_LI"))].push_back(items.position());
        items.first();
        m_itemsRead = true;
    }
    static const std::vector<std::size_t> none;
    const auto found = m_itemsByLicence.find(trim(licenceId));
    return found == m_itemsByLicence.end() ? none : found->second;
}

void LicenceSources::moveToItem(std::size_t place) {
    RecordSet& items = m_ctx.dm.cdsXMLAux;
    if (place == 0)
        items.first();
    else
        items.moveTo(place);
}

void LicenceSources::firstItemOf(const std::string& licenceId) {
    const std::vector<std::size_t>& places = itemsOf(licenceId);
    moveToItem(places.empty() ? 0 : places.front());
}

void LicenceSources::openLicenceView() {
    TDM& dm = m_ctx.dm;
    RecordSet& view = dm.cdsXMLTPAux;
    openDocumentView(m_ctx, m_document, view, LicenceTransform,
                     "SELECT * FROM DADOS_LI WHERE ID_PROCESSO=" +
                         quotedLiteral(trim(dm.cdsXMLPrincipal.text("ID_PROCESSO"))));
    RecordSet& licences = dm.cdsXMLTPAux2;
    licences.setCommandText("SELECT * FROM DADOS_LI");
    licences.bindToNested(view, "DADOS_LI");
}

void LicenceSources::forEachList(const std::string& licenceId, const std::string& nested,
                                 const std::function<void(RecordSet& list)>& each) {
    TDM& dm = m_ctx.dm;
    // The view's rows of the licence: the command text compares the trimmed ID_LI with the identifier.
    RecordSet& licences = dm.cdsXMLTPAux2;
    licences.setCommandText("SELECT * FROM DADOS_LI WHERE ID_LI=" + quotedLiteral(trim(licenceId)));
    licences.bindToNested(dm.cdsXMLTPAux, "DADOS_LI");
    for (; !licences.eof(); licences.next()) {
        RecordSet& list = dm.cdsXMLTPAux3;
        list.setCommandText("SELECT * FROM " + nested);
        list.bindToNested(licences, nested);
        each(list);
    }
}
