#include "cadastros/TfrmVinculo.h"

#include "base/QtControls.h"

#include "base/AppContext.h"
#include "base/Operator.h"
#include "base/QtUi.h"
#include "base/TextUtils.h"
#include "cadastros/CodeMapping.h"
#include "cadastros/Registry.h"
#include "data/QtDBEdit.h"
#include "data/RecordSet.h"
#include "data/TDM.h"
#include "data/TfrmPesquisa.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

using namespace controls;

constexpr int LabelX = 12;
constexpr int FieldX = 112;
constexpr int FieldWidth = 228;
constexpr int RowStep = 32;

const char* const UnknownRegistry = "A tabela %1 não é um dos cadastros do Pelomira (Exportador, Fabricante, País, "
                                    "Unidade); o código %2 do cliente %3 não pode ser vinculado.";

int rowY(int row) {
    return 14 + row * RowStep;
}

void label(QWidget* parent, const char* name, const char* text, int row) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(name);
    l->setGeometry(LabelX, rowY(row) + 3, FieldX - LabelX - 4, 16);
}

QtDBEdit* edit(QWidget* parent, const char* name, int row, int width) {
    auto* e = new QtDBEdit(parent);
    e->setObjectName(name);
    e->setGeometry(FieldX, rowY(row), width, EditHeight);
    return e;
}

} // namespace

TfrmVinculo::TfrmVinculo(AppContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx) {
    setObjectName("frmVinculo");
    setWindowTitle(QString::fromUtf8(CodeMapping::WindowCaption));
    setModal(true);
    setFixedSize(FieldX + FieldWidth + LabelX, rowY(4) + 25 + 12);

    label(this, "lblCliente", "Cliente:", 0);
    dbeCliente = edit(this, "dbeCliente", 0, FieldWidth);
    dbeCliente->setEnabled(false);
    label(this, "lblTabela", "Tabela:", 1);
    cbTabela = new QComboBox(this);
    cbTabela->setObjectName("cbTabela");
    cbTabela->setGeometry(FieldX, rowY(1), 140, EditHeight);
    for (const std::string& item : CodeMapping::registryItems())
        cbTabela->addItem(toQ(item));
    cbTabela->setEnabled(false);
    label(this, "lblCodCliente", "Código Cliente:", 2);
    dbeCodCliente = edit(this, "dbeCodCliente", 2, FieldWidth);
    dbeCodCliente->setEnabled(false);
    label(this, "lblCodMerlin", "Código Merlin:", 3);
    dbeCodMerlin = edit(this, "dbeCodMerlin", 3, FieldWidth - 85 - 6);
    btnPesquisar_CodMerlin =
        button(this, "btnPesquisar_CodMerlin", "&Pesquisar", FieldX + FieldWidth - 85, rowY(3) - 1);
    btnSalvar = button(this, "btnSalvar", "&Salvar", FieldX + FieldWidth - 2 * 85 - 6, rowY(4) + 4);
    btnSair = button(this, "btnSair", "Sai&r", FieldX + FieldWidth - 85, rowY(4) + 4);

    connect(btnPesquisar_CodMerlin, &QPushButton::clicked, this, [this] { btnPesquisar_CodMerlinClick(); });
    connect(btnSalvar, &QPushButton::clicked, this, [this] { btnSalvarClick(); });
    connect(btnSair, &QPushButton::clicked, this, [this] { btnSairClick(); });
    centreOnScreen(this);
}

TfrmVinculo::~TfrmVinculo() {
    dbeCliente->bind(nullptr, std::string());
    dbeCodCliente->bind(nullptr, std::string());
    dbeCodMerlin->bind(nullptr, std::string());
}

RecordSet& TfrmVinculo::rows() {
    return m_ctx.dm.cdsVinculo;
}

bool TfrmVinculo::prompt(AppContext& ctx, const std::string& customer, const std::string& registry,
                         const std::string& customerCode) {
    TfrmVinculo window(ctx);
    if (!window.prepare(customer, registry, customerCode))
        return false;
    window.exec();
    return true;
}

bool TfrmVinculo::prepare(const std::string& customer, const std::string& registry, const std::string& customerCode) {
    const int item = CodeMapping::registryItemIndex(registry);
    if (item < 0) {
        // A mapping saved under a name the lookup never asks for would bring the window back forever.
        m_ctx.op.message(fromQ(QString::fromUtf8(UnknownRegistry)
                                   .arg(toQ(trim(registry)), toQ(trim(customerCode)), toQ(trim(customer)))),
                         CodeMapping::Caption, MessageIcon::Error);
        return false;
    }
    m_customer = trim(customer);
    m_registry = trim(registry);
    m_customerCode = trim(customerCode);
    cbTabela->setCurrentIndex(item);
    startRow(std::string());
    return true;
}

void TfrmVinculo::startRow(const std::string& merlinCode) {
    // The lookup leaves the chain open on its empty answer; after a failed insert it is closed and its
    // last query opens it again.
    if (!rows().active())
        m_ctx.dm.sqlDsVinculo.open();
    RecordSet& r = rows();
    r.insert();
    r.setField("COD_CLIENTE", m_customer);
    r.setField("TABELA", m_registry);
    r.setField("COD_INTEGR", m_customerCode);
    if (!merlinCode.empty())
        r.setField("COD_MERLIN", merlinCode);
    // Values put into the pending row by the program are not announced by the set: show them.
    for (QtDBEdit* e : {dbeCliente, dbeCodCliente, dbeCodMerlin})
        e->refresh();
}

void TfrmVinculo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmVinculo::FormShow() {
    dbeCliente->bind(&rows(), "COD_CLIENTE");
    dbeCodCliente->bind(&rows(), "COD_INTEGR");
    dbeCodMerlin->bind(&rows(), "COD_MERLIN");
    dbeCodMerlin->setFocus();
}

void TfrmVinculo::btnPesquisar_CodMerlinClick() {
    const Registry* registry = Registry::byName(fromQ(cbTabela->currentText()));
    IntegraTable* table = registry ? m_ctx.dm.integraTable(registry->table) : nullptr;
    if (!table)
        return;
    if (!TfrmPesquisa::Pesquisar(m_ctx, *table, this))
        return;
    RecordSet& found = table->rows();
    // Only a row the operator could choose gives a code; an empty answer leaves the field alone.
    if (found.active() && !found.isEmpty())
        dbeCodMerlin->setFieldText(toQ(found.text(registry->codeColumn)));
    dbeCodMerlin->setFocus();
}

void TfrmVinculo::btnSalvarClick() {
    const std::string merlinCode = fromQ(dbeCodMerlin->text());
    if (trim(merlinCode).empty())
        return;
    // The customer and the customer code are those the window was asked for (the fields that show
    // them cannot be changed), so a failed try never leaves them empty for the next one.
    if (CodeMapping(m_ctx).save(m_customer, fromQ(cbTabela->currentText()), m_customerCode, merlinCode)) {
        m_saved = true;
        accept();
        return;
    }
    try {
        startRow(merlinCode);
    } catch (const std::exception&) {
        // Reported by the save already; the operator can still leave or try again.
    }
}

void TfrmVinculo::btnSairClick() {
    reject();
}

void TfrmVinculo::done(int result) {
    rows().cancel();
    m_ctx.dm.sqlDsVinculo.close();
    QDialog::done(result);
}
