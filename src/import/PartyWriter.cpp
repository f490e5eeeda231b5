#include "import/PartyWriter.h"

#include "base/AppContext.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "import/DocumentView.h"
#include "import/OrientadorRowWriter.h"
#include "import/PartyRules.h"
#include "import/ProcessTransfer.h"

namespace {
const char* const FabrExpTransform = "FABR_EXP.xtr";
} // namespace

PartyWriter::PartyWriter(AppContext& ctx, const LoadedProcessDocument& document, OrientadorRowWriter& w)
    : m_ctx(ctx), m_document(document), m_w(w) {}

bool PartyWriter::find(const std::string& id) {
    TDM& dm = m_ctx.dm;
    RecordSet& parties = dm.cdsXMLFabrExp;
    // The rows are read once for the unit: a declaration of hundreds of additions looks its parties up
    // twice per addition. The row taken is the same a narrowed set would give: the first with the id.
    if (!m_read) {
        openDocumentView(m_ctx, m_document, parties, FabrExpTransform, "SELECT * FROM FABR_EXP");
        m_read = true;
    }
    for (parties.first(); !parties.eof(); parties.next())
        if (trim(parties.text("ID_FABREXP")) == id)
            return true;
    return false;
}

void PartyWriter::supplier(const std::string& exporterId) {
    if (!find(trim(exporterId)))
        return;
    const RecordSet& party = m_ctx.dm.cdsXMLFabrExp;
    for (const PartyRules::PartyField& f : PartyRules::SupplierFields)
        m_w.text(f.target, party.text(f.source) + " ");
}

void PartyWriter::manufacturer(const std::string& manufacturerId, const std::string& exporterId) {
    const std::string id = trim(manufacturerId);
    if (id == trim(exporterId)) {
        m_w.literal(PartyRules::ManufacturerAbsence, "1"); // the exporter made the goods
        return;
    }
    if (id.empty()) {
        m_w.literal(PartyRules::ManufacturerAbsence, "3"); // manufacturer unknown
        return;
    }
    m_w.literal(PartyRules::ManufacturerAbsence, "2");
    if (!find(id))
        return;
    const RecordSet& party = m_ctx.dm.cdsXMLFabrExp;
    for (const PartyRules::PartyField& f : PartyRules::ManufacturerFields)
        m_w.text(f.target, party.text(f.source) + " ");
}
