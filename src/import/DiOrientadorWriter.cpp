#include "import/DiOrientadorWriter.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Operator.h"
#include "base/TextUtils.h"
#include "data/OrientadorValues.h"
#include "data/TDM.h"
#include "import/DiOrientadorRules.h"
#include "import/DocumentView.h"
#include "import/PartyRules.h"
#include "import/TransferConversions.h"

using namespace DiRules;

namespace {

const char* const AdditionTransform = "ADICAO.xtr";
const char* const WarningCaption = "Pelomira";
const char* const IpiTax = "0002";

// Removes the order of a record set when the section that set it ends, however it ends, so the next
// binding of the set does not look for the order field in another list.
class OrderGuard {
public:
    OrderGuard(RecordSet& set, const std::string& field) : m_set(set) { m_set.setIndexFieldNames(field); }
    ~OrderGuard() {
        try {
            m_set.setIndexFieldNames("");
        } catch (...) {
            // the set closed meanwhile: nothing left to undo
        }
    }
    OrderGuard(const OrderGuard&) = delete;
    OrderGuard& operator=(const OrderGuard&) = delete;

private:
    RecordSet& m_set;
};

} // namespace

DiOrientadorWriter::DiOrientadorWriter(AppContext& ctx, TransferProgress& progress,
                                       const LoadedProcessDocument& document, std::string micro)
    : m_ctx(ctx), m_document(document), m_micro(std::move(micro)),
      m_w(ctx, progress, FieldSources::fromDataModule(ctx.dm), TableCount), m_parties(ctx, document, m_w) {
    m_w.setRowKey(Micro, m_micro);
}

std::string DiOrientadorWriter::principal(const std::string& field) const {
    return m_ctx.dm.cdsXMLPrincipal.text(field);
}

long long DiOrientadorWriter::declarationType() const {
    return wholeNumber(m_ctx.dm.cdsXMLPrincipal, "TIPO_DECLARACAO", trim(principal("ID_PROCESSO")));
}

void DiOrientadorWriter::write() {
    declaration();
    processLists();
    additions();
    additionLists();
    goodsDetails();
    legalActs();
    m_w.finish();
}

// --------------------------------------------------------------- 1: DECLARAÇÃO_IMPORTAÇÃO

void DiOrientadorWriter::declaration() {
    m_w.table(Declaration);
    m_w.newRow();
    applyRules(m_w, DeclarationHead);
    applyRules(m_w, PartyRules::ImporterIdentity);
    applyRules(m_w, PartyRules::ImporterCountry);
    applyRules(m_w, PartyRules::ImporterAddress);
    applyRules(m_w, PartyRules::ImporterState);
    applyRules(m_w, Clearance);

    const std::string type = principal("TIPO_DECLARACAO");
    if (type != "16" && type != "17")
        applyRules(m_w, CargoEntryUnit);
    applyRules(m_w, Dispatch);
    const std::string operation = principal("TIPO_OPERACAO");
    if (operation == "2" || operation == "02")
        applyRules(m_w, Consignee);

    const std::string way = principal("VIA_TRANSPORTE");
    if (way != "16" && way != "17")
        transportBlock();

    applyRules(m_w, Freight);

    if (trim(principal("VMLE_MOEDA")).empty() && trim(principal("VMLE_TOTAL_MNEG")).empty()) {
        // The field writer leaves a numeric field empty for a literal 0: the number is set itself.
        m_w.number(GoodsValueInCurrency, 0);
        applyRules(m_w, GoodsValueWithoutCurrency);
    } else {
        applyRules(m_w, GoodsValue);
    }

    applyRules(m_w, Cargo);

    // The warning counts the text as Merlin sent it ("|" for each line break); it is stored whole.
    const std::size_t length = charCount(principal("COMPLEMENTARES"));
    if (length > ComplementaryLimit)
        m_ctx.op.message(std::string(ComplementaryWarningStart) + std::to_string(length) + " caracteres)." + "\r" +
                             WarningEnd,
                         WarningCaption, MessageIcon::Warning);
    applyRules(m_w, Complement);

    applyRules(m_w, TaxPayment);
    if (!trim(principal("NR_CONTA")).empty() && occursIn(principal("TIPO_PAGAMENTO"), "1;3;4"))
        applyRules(m_w, Account);
    applyRules(m_w, Registration);
}

void DiOrientadorWriter::transportBlock() {
    applyRules(m_w, Carrier);

    // The cargo document: the NIC (two halves of 18) for sea, river and lake ways and, when there is
    // one, the postal way; otherwise the house and master bills, or the master bill alone.
    const long long way = wholeNumber(m_ctx.dm.cdsXMLPrincipal, "VIA_TRANSPORTE", trim(principal("ID_PROCESSO")));
    const std::string nic = principal("NIC");
    if (way == 1 || way == 2 || way == 6 || (way == 7 && !trim(nic).empty())) {
        m_w.literal(CargoDocument, charSub(nic, 0, 18));
        m_w.literal(CargoDocumentMaster, charSub(nic, 18, 18));
    } else if (!trim(principal("HOUSE")).empty()) {
        applyRules(m_w, HouseAndMaster);
    } else {
        applyRules(m_w, MasterOnly);
    }

    if (declarationType() < 13)
        applyRules(m_w, Shipment);
    applyRules(m_w, Arrival);
}

// --------------------------------------------------------------- 2 to 7: lists of the process

void DiOrientadorWriter::processLists() {
    RecordSet& list = m_ctx.dm.cdsXMLAux;
    for (const ListTable& t : ProcessLists) {
        m_w.table(t.table);
        list.setCommandText(std::string());
        list.bindToNested(m_ctx.dm.cdsXMLPrincipal, t.nested);
        writeListRows(m_w, list, t);
    }
}

// --------------------------------------------------------------- 8: OP_ADIÇÃO_DE_IMPORTAÇÃO

void DiOrientadorWriter::additions() {
    m_w.table(Addition);
    RecordSet& list = m_ctx.dm.cdsXMLAux;
    list.setCommandText(std::string());
    list.bindToNested(m_ctx.dm.cdsXMLPrincipal, "ADICAO");
    for (; !list.eof(); list.next()) {
        m_w.newRow();
        addition();
    }
}

void DiOrientadorWriter::addition() {
    const RecordSet& a = m_ctx.dm.cdsXMLAux;
    applyRules(m_w, AdditionKey);

    // Declarations of types 16 and 17 carry the entry, the way and the freight per addition.
    const long long type = declarationType();
    const bool perAddition = type == 16 || type == 17;
    if (perAddition)
        applyRules(m_w, EntryPerAddition);

    itemSummary();
    m_parties.supplier(m_items.exporter);
    m_w.literal(Ncm, trim(m_items.ncm));
    m_parties.manufacturer(m_items.manufacturer, m_items.exporter);

    if (perAddition)
        applyRules(m_w, FreightPerAddition);

    m_w.literal(Origin, m_items.origin);
    m_w.literal(NbmSh, trim(m_items.ncm));
    m_w.literal(NaladiNcca, m_items.naladiNcca);
    m_w.literal(NaladiSh, m_items.naladiSh);
    m_w.literal(NetWeight, fixedPointDigits(roundDecimalText(orientadorDecimalText(m_items.netWeight), 5), 15, 5));
    applyRules(m_w, AdditionGoods);
    m_w.literal(Currency, m_items.currency);

    // The sale term goes with the first valuation methods only.
    if (!trim(a.text("VALORACAO")).empty() && wholeNumber(a, "VALORACAO", trim(principal("ID_PROCESSO"))) < 2)
        applyRules(m_w, SaleTerm);

    applyRules(m_w, Sale);

    if (principal("TIPO_DECLARACAO") != "16" && a.text("COBERTURA_CAMBIAL") != "4")
        applyRules(m_w, PaymentMode);

    applyRules(m_w, Financing);
    if (!a.hasField("PARC_VARIAVEIS"))
        applyRules(m_w, FixedInstalments);
    applyRules(m_w, FinancingTerms);
    applyRules(m_w, Agent);
    applyRules(m_w, GoodsCondition);
    m_w.flag(IpiNotTaxed, a.text("BENEFICIO_IPI") == "3" && !occursIn(a.text("REGIME_TRIB1"), "6;2"));
    applyRules(m_w, TaxBase);
}

void DiOrientadorWriter::itemSummary() {
    if (!m_itemsRead)
        readItems();
    const std::string additionId = trim(m_ctx.dm.cdsXMLAux.text("ID_ADICAO"));
    const auto it = m_itemsByAddition.find(additionId);
    if (it == m_itemsByAddition.end()) {
        // No item belongs to the addition: its values come from the first item of the document.
        m_items = m_firstItem;
        return;
    }
    m_items = it->second.last;
    m_items.netWeight = 0;
    for (const auto& [item, weight] : it->second.weights) {
        try {
            m_items.netWeight += toDecimal(weight);
        } catch (const AppError&) {
            throw AppError("PESO_LIQUIDO do item " + item + " da adição " + additionId + " inválido: '" + weight +
                           "' não é um número");
        }
    }
}

void DiOrientadorWriter::readItems() {
    // One walk over the items serves every addition: the values of an addition are those of its last
    // item, its net weight the sum of its items' weights.
    RecordSet& items = m_ctx.dm.cdsXMLTPAux;
    items.setCommandText("SELECT * FROM ITEM");
    items.bindToNested(m_ctx.dm.cdsXMLPrincipal, "ITEM");
    auto take = [&] {
        ItemSummary values;
        values.manufacturer = items.text("ID_FABRIC") + " ";
        values.exporter = items.text("ID_EXPORT") + " ";
        values.ncm = items.text("NCM") + " ";
        values.naladiNcca = items.text("NALADI_NCCA") + " ";
        values.naladiSh = items.text("NALADI_SH") + " ";
        values.currency = items.text("MOEDA_NEGOCIADA") + " ";
        values.origin = items.text("PAIS_ORIGEM") + " ";
        return values;
    };
    m_firstItem = take();
    for (; !items.eof(); items.next()) {
        AdditionItems& addition = m_itemsByAddition[trim(items.text("ID_ADICAO"))];
        addition.last = take();
        const std::string weight = trim(items.text("PESO_LIQUIDO"));
        if (!weight.empty())
            addition.weights.emplace_back(trim(items.text("ID_ITEM")), weight);
    }
    m_itemsRead = true;
}

// --------------------------------------------------------------- 9 to 17: lists of each addition

namespace {

// Binds cdsXMLTPAux2 to a list of the current addition.
RecordSet& bindAdditionList(TDM& dm, const std::string& nested) {
    RecordSet& list = dm.cdsXMLTPAux2;
    list.setCommandText("SELECT * FROM " + nested);
    list.bindToNested(dm.cdsXMLTPAux, nested);
    return list;
}

} // namespace

void DiOrientadorWriter::additionLists() {
    TDM& dm = m_ctx.dm;
    RecordSet& additionSets = dm.cdsXMLAdicao;
    openDocumentView(m_ctx, m_document, additionSets, AdditionTransform,
                     "SELECT * FROM ADICAO WHERE ID_PROCESSO=" + quotedLiteral(trim(principal("ID_PROCESSO"))));
    RecordSet& addition = dm.cdsXMLTPAux;
    addition.setCommandText("SELECT * FROM ADICAO");
    addition.bindToNested(additionSets, "ADICAO");

    // Every row of an addition's list carries the addition as well (set directly as text).
    const auto additionKey = [&] { m_w.text(AdditionNumber, zeroPadLeft(addition.text("ID_ADICAO"), 3)); };
    auto walk = [&](const ListTable& t) {
        m_w.table(t.table);
        for (addition.first(); !addition.eof(); addition.next())
            writeListRows(m_w, bindAdditionList(dm, t.nested), t, additionKey);
    };
    for (const ListTable& t : AdditionListsBeforePayments)
        walk(t);
    payments();
    taxes();
    walk(LinkedDocuments);
}

void DiOrientadorWriter::payments() {
    TDM& dm = m_ctx.dm;
    RecordSet& addition = dm.cdsXMLTPAux;
    m_w.table(Payment);
    for (addition.first(); !addition.eof(); addition.next()) {
        for (const PaymentKind& kind : PaymentKinds) {
            const ListTable t{Payment, kind.nested, PaymentSequence, kind.start, PaymentFields};
            writeListRows(m_w, bindAdditionList(dm, kind.nested), t, [&] {
                m_w.text(AdditionNumber, zeroPadLeft(addition.text("ID_ADICAO"), 3));
                m_w.literal(PaymentForm, kind.form);
            });
        }
    }
}

void DiOrientadorWriter::taxes() {
    TDM& dm = m_ctx.dm;
    RecordSet& addition = dm.cdsXMLTPAux;
    RecordSet& additionValues = dm.cdsXMLAux; // still on the additions of the process
    m_w.table(Tax);
    for (addition.first(); !addition.eof(); addition.next()) {
        // The IPI benefit is a value of the addition in the main document. An addition missing there has
        // none (rather than the benefit of whichever addition the set happened to stand on).
        std::string benefit;
        if (additionValues.locate("ID_ADICAO", addition.text("ID_ADICAO")))
            benefit = additionValues.text("BENEFICIO_IPI");
        RecordSet& list = bindAdditionList(dm, "TRIBUTO");
        for (; !list.eof(); list.next()) {
            const bool ipi = list.text("ID_TRIBUTO") == IpiTax;
            m_w.newRow();
            m_w.text(AdditionNumber, zeroPadLeft(addition.text("ID_ADICAO"), 3));
            applyRules(m_w, TaxRate);
            // An IPI with benefit 5 keeps no reduced rate.
            if (!(ipi && trim(benefit) == "5"))
                applyRules(m_w, TaxReduction);
            applyRules(m_w, TaxValue);
            if (ipi) {
                m_w.literal(IpiBenefit, benefit);
                applyRules(m_w, IpiAgreement);
            }
        }
    }
}

// --------------------------------------------------------------- 18: DETALHE_MERCADORIA

void DiOrientadorWriter::goodsDetails() {
    TDM& dm = m_ctx.dm;
    m_w.table(Detail);
    RecordSet& items = dm.cdsXMLAux;
    items.setCommandText(std::string());
    items.bindToNested(dm.cdsXMLPrincipal, "ITEM");
    OrderGuard order(items, "ID_ADICAO");
    std::string previous;
    int sequence = 0;
    for (items.first(); !items.eof(); items.next()) {
        const std::string additionId = trim(items.text("ID_ADICAO"));
        sequence = additionId == previous ? sequence + 1 : 1;
        previous = additionId;

        m_w.newRow();
        m_w.literal(AdditionNumber, zeroPadLeft(items.text("ID_ADICAO"), 3));
        m_w.literal(DetailSequence, std::to_string(sequence));
        const std::size_t length = charCount(items.text("DESCRICAO"));
        if (length > DescriptionLimit)
            m_ctx.op.message(std::string(DescriptionWarningStart) + items.text("ID_ITEM") + "\r" + "da DI " +
                                 principal("ID_PROCESSO") + "ultrapassa 3900 caracteres (tamanho atual: " +
                                 std::to_string(length) + " caracteres)." + "\r" + WarningEnd,
                             WarningCaption, MessageIcon::Warning);
        applyRules(m_w, DetailFields);
    }
}

// --------------------------------------------------------------- 19: ATO_VINCULADO

void DiOrientadorWriter::legalActs() {
    TDM& dm = m_ctx.dm;
    m_w.table(Act);
    RecordSet& additionValues = dm.cdsXMLAux;
    additionValues.setCommandText(std::string());
    additionValues.bindToNested(dm.cdsXMLPrincipal, "ADICAO");
    for (; !additionValues.eof(); additionValues.next()) {
        for (const ActKind& act : ActKinds) {
            if (trim(additionValues.text(act.number)).empty())
                continue;
            m_w.newRow();
            m_w.literal(AdditionNumber, zeroPadLeft(additionValues.text("ID_ADICAO"), 3));
            m_w.literal(ActSubject, act.subject);
            applyRules(m_w, act.fields);
        }
    }
}
