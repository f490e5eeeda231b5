#include "import/DsiOrientadorWriter.h"

#include "base/AppContext.h"
#include "base/TextUtils.h"
#include "data/TDM.h"
#include "import/DocumentView.h"
#include "import/DsiOrientadorRules.h"
#include "import/PartyRules.h"
#include "import/ProcessTransfer.h"
#include "import/TransferConversions.h"

using namespace DsiRules;

namespace {
const char* const AdditionTransform = "ADICAO.xtr";
} // namespace

DsiOrientadorWriter::DsiOrientadorWriter(AppContext& ctx, TransferProgress& progress,
                                         const LoadedProcessDocument& document, const std::string& key)
    : m_ctx(ctx), m_document(document), m_w(ctx, progress, FieldSources::fromDataModule(ctx.dm), TableCount) {
    m_w.setRowKey(Key, key);
}

void DsiOrientadorWriter::write() {
    general();
    goods();
    list(Payments);
    goodsTaxes();
    list(Volumes);
    m_w.finish();
}

void DsiOrientadorWriter::general() {
    m_w.table(General);
    m_w.newRow();
    applyRules(m_w, GeneralHead);
    applyRules(m_w, PartyRules::ImporterIdentity);
    applyRules(m_w, PartyRules::ImporterAddress);
    applyRules(m_w, PartyRules::ImporterState);
    applyRules(m_w, PartyRules::ImporterCountry);
    applyRules(m_w, GeneralCargo);
}

void DsiOrientadorWriter::additionOfItem() {
    TDM& dm = m_ctx.dm;
    // The additions of this process with their lists, read once for the DSI (not of the first process of
    // the document: a document may hold several).
    if (!m_additionsRead) {
        openDocumentView(m_ctx, m_document, dm.cdsXMLAdicao, AdditionTransform,
                         "SELECT * FROM ADICAO WHERE ID_PROCESSO=" +
                             quotedLiteral(trim(dm.cdsXMLPrincipal.text("ID_PROCESSO"))));
        m_additionsRead = true;
    }
    RecordSet& addition = dm.cdsXMLTPAux;
    addition.setCommandText("SELECT * FROM ADICAO WHERE ID_ADICAO = " +
                            quotedLiteral(trim(dm.cdsXMLAux.text("ID_ADICAO"))));
    addition.bindToNested(dm.cdsXMLAdicao, "ADICAO");
}

void DsiOrientadorWriter::goods() {
    TDM& dm = m_ctx.dm;
    m_w.table(Goods);
    RecordSet& items = dm.cdsXMLAux;
    items.setCommandText(std::string());
    items.bindToNested(dm.cdsXMLPrincipal, "ITEM");
    for (; !items.eof(); items.next()) {
        additionOfItem();
        // The highlight: the first NCM highlight of the item's addition.
        RecordSet& list = dm.cdsXMLTPAux2;
        list.setCommandText("SELECT * FROM DESTAQUE_NCM");
        list.bindToNested(dm.cdsXMLTPAux, "DESTAQUE_NCM");
        const std::string highlight = trim(list.text("NUMERO"));
        // The item's addition in the main document: its values are read as L.
        RecordSet& addition = dm.cdsXMLTPAux2;
        addition.setCommandText("SELECT * FROM ADICAO WHERE ID_ADICAO = " +
                                quotedLiteral(trim(items.text("ID_ADICAO"))));
        addition.bindToNested(dm.cdsXMLPrincipal, "ADICAO");

        m_w.newRow();
        applyRules(m_w, GoodsFields);
        m_w.literal(GoodsHighlight, highlight);
    }
}

void DsiOrientadorWriter::list(const ListTable& table) {
    RecordSet& rows = m_ctx.dm.cdsXMLAux;
    m_w.table(table.table);
    rows.setCommandText(std::string());
    rows.bindToNested(m_ctx.dm.cdsXMLPrincipal, table.nested);
    writeListRows(m_w, rows, table);
}

void DsiOrientadorWriter::goodsTaxes() {
    TDM& dm = m_ctx.dm;
    m_w.table(GoodsTaxes);
    RecordSet& items = dm.cdsXMLAux;
    items.setCommandText(std::string());
    items.bindToNested(dm.cdsXMLPrincipal, "ITEM");
    for (; !items.eof(); items.next()) {
        additionOfItem();
        RecordSet& taxes = dm.cdsXMLTPAux2;
        taxes.setCommandText("SELECT * FROM TRIBUTO");
        taxes.bindToNested(dm.cdsXMLTPAux, "TRIBUTO");
        m_w.newRow();
        m_w.literal(GoodsNumber, zeroPadLeft(items.text("ID_ADICAO"), 3));
        // Each tax fills its own fields of the row; the others (antidumping …) fill none.
        for (; !taxes.eof(); taxes.next()) {
            const auto fields = TaxFields.find(taxes.text("ID_TRIBUTO"));
            if (fields != TaxFields.end())
                applyRules(m_w, fields->second);
        }
    }
}
