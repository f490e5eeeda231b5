#include "import/LsiOrientadorWriter.h"

#include "base/AppContext.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "import/LsiOrientadorRules.h"
#include "import/PartyRules.h"
#include "import/TransferConversions.h"

using namespace LsiRules;

LsiOrientadorWriter::LsiOrientadorWriter(AppContext& ctx, TransferProgress& progress, LicenceSources& sources,
                                         const std::string& key)
    : m_ctx(ctx), m_licence(trim(ctx.dm.cdsXMLAux2.text("ID_LI"))),
      m_w(ctx, progress, FieldSources::fromDataModule(ctx.dm), TableCount), m_sources(sources) {
    m_w.setRowKey(Key, key);
}

void LsiOrientadorWriter::write() {
    operation();
    agencyProcesses();
    m_w.finish();
}

void LsiOrientadorWriter::operation() {
    m_w.table(Operation);
    m_w.newRow();
    applyRules(m_w, OperationOrigin);
    applyRules(m_w, PartyRules::ImporterIdentity);
    // Importers of types 3 and 4 are described in full; 4 has a state, 3 a country.
    const RecordSet& process = m_ctx.dm.cdsXMLPrincipal;
    long long type = 0;
    if (!trim(process.text("IMPORTADOR_TIPO")).empty())
        type = wholeNumber(process, "IMPORTADOR_TIPO", trim(process.text("ID_PROCESSO")));
    if (type == 3 || type == 4)
        applyRules(m_w, PartyRules::ImporterAddress);
    if (type == 4)
        applyRules(m_w, PartyRules::ImporterState);
    if (type == 3)
        applyRules(m_w, PartyRules::ImporterCountry);
    applyRules(m_w, Dispatch);
    m_sources.firstItemOf(m_licence);
    applyRules(m_w, Goods);
    applyRules(m_w, Licence);
    // The first highlight of each view row of the licence; the last such row wins.
    m_sources.openLicenceView();
    m_sources.forEachList(m_licence, "DESTAQUE_NCM", [&](RecordSet&) { applyRules(m_w, Highlight); });
    applyRules(m_w, Classification);
}

void LsiOrientadorWriter::agencyProcesses() {
    m_w.table(AgencyProcesses.table);
    m_sources.forEachList(m_licence, AgencyProcesses.nested,
                          [&](RecordSet& list) { writeListRows(m_w, list, AgencyProcesses); });
}
