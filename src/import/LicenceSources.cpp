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

void LicenceSources::firstItemOf(const std::string& licenceId) {
    TDM& dm = m_ctx.dm;
    RecordSet& items = dm.cdsXMLAux;
    items.setCommandText(std::string());
    items.bindToNested(dm.cdsXMLPrincipal, "ITEM");
    const std::string id = trim(licenceId);
    for (; !items.eof(); items.next())
        if (trim(items.text("ID_LI")) == id)
            return;
    items.first();
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
