#include "import/LiOrientadorWriter.h"

#include "base/AppContext.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "data/TransferProgress.h"
#include "import/DocumentView.h"
#include "import/LiOrientadorRules.h"
#include "import/PartyRules.h"
#include "import/ProcessTransfer.h"
#include "import/TransferConversions.h"

#include <ctime>

using namespace LiRules;

namespace {

const char* const DrawbackTransform = "INFO_DRAW.xtr";

// The local date as the short date form (dd/mm/yyyy).
std::string shortDate(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d/%m/%Y", &local);
    return text;
}

} // namespace

LiOrientadorWriter::LiOrientadorWriter(AppContext& ctx, TransferProgress& progress,
                                       const LoadedProcessDocument& document, LicenceSources& sources,
                                       std::string micro)
    : m_ctx(ctx), m_progress(progress), m_document(document), m_licence(trim(ctx.dm.cdsXMLAux2.text("ID_LI"))),
      m_w(ctx, progress, FieldSources::fromDataModule(ctx.dm), TableCount), m_parties(ctx, document, m_w),
      m_sources(sources) {
    m_w.setRowKey(Micro, micro);
}

void LiOrientadorWriter::write() {
    operation();
    lists();
    goods();
    m_w.finish();
}

void LiOrientadorWriter::operation() {
    m_w.table(Operation);
    m_w.newRow();
    m_sources.firstItemOf(m_licence);
    const RecordSet& item = m_ctx.dm.cdsXMLAux;
    applyRules(m_w, OperationHead);
    applyRules(m_w, PartyRules::ImporterIdentity);
    if (trim(m_ctx.dm.cdsXMLPrincipal.text("IMPORTADOR_PAIS")) != HomeCountry)
        applyRules(m_w, PartyRules::ImporterCountry);
    applyRules(m_w, PartyRules::ImporterAddress);
    applyRules(m_w, PartyRules::ImporterState);
    applyRules(m_w, Activity);
    applyRules(m_w, ItemGoods);
    m_parties.supplier(item.text("ID_EXPORT"));
    m_parties.manufacturer(item.text("ID_FABRIC"), item.text("ID_EXPORT"));
    applyRules(m_w, ItemOrigin);
    applyRules(m_w, Licence);
    m_w.literal(UpdateDate, shortDate(m_progress.now()));
    applyRules(m_w, Complement);
}

void LiOrientadorWriter::lists() {
    m_sources.openLicenceView();
    for (const ListTable* t : {&Highlights, &AgencyProcesses}) {
        m_w.table(t->table);
        m_sources.forEachList(m_licence, t->nested, [&](RecordSet& list) { writeListRows(m_w, list, *t); });
    }
}

void LiOrientadorWriter::goods() {
    TDM& dm = m_ctx.dm;
    m_w.table(Detail);

    // The drawback rows of the process; every one is written into each detail row, so the values of the
    // last row that has them stay.
    RecordSet& drawbackView = dm.cdsXMLTPAux;
    openDocumentView(m_ctx, m_document, drawbackView, DrawbackTransform,
                     "SELECT * FROM INFO_DRAWBACK WHERE ID_PROCESSO=" +
                         quotedLiteral(trim(dm.cdsXMLPrincipal.text("ID_PROCESSO"))));
    RecordSet& drawback = dm.cdsXMLTPAux2;
    drawback.setCommandText("SELECT * FROM ITEM");
    drawback.bindToNested(drawbackView, "ITEM");

    // Items are numbered by their place among all items of the process.
    for (const std::size_t place : m_sources.itemsOf(m_licence)) {
        m_sources.moveToItem(place);
        m_w.newRow();
        m_w.literal(DetailSequence, std::to_string(place + 1));
        applyRules(m_w, DetailFields);
        for (drawback.first(); !drawback.eof(); drawback.next())
            applyRules(m_w, Drawback);
    }
}
