#include "data/TfrmPesquisa.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/QtUi.h"
#include "base/TextUtils.h"
#include "data/IntegraTable.h"
#include "data/QtRecordSetModel.h"
#include "data/RecordSet.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

namespace {

const char* const FailureCaption = "Pelomira";

bool isEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TfrmPesquisa::TfrmPesquisa(AppContext& ctx, IntegraTable& table, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_table(table) {
    setObjectName("frmPesquisa");
    setWindowTitle(QString::fromUtf8(Caption));
    setModal(true);
    setFixedSize(512, 391);

    edtPesquisa = new QLineEdit(this);
    edtPesquisa->setObjectName("edtPesquisa");
    edtPesquisa->setGeometry(8, 8, 496, 23);

    dbrPesquisa = new QGroupBox(QString::fromUtf8(GroupCaption), this);
    dbrPesquisa->setObjectName("dbrPesquisa");
    dbrPesquisa->setGeometry(8, 36, 496, 48);
    dbrPesquisaItems = new QButtonGroup(this);
    dbrPesquisaItems->setExclusive(true);

    dbgPesquisa = new QTableView(this);
    dbgPesquisa->setObjectName("dbgPesquisa");
    dbgPesquisa->setGeometry(8, 90, 496, 293);
    dbgPesquisa->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgPesquisa->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgPesquisa->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgPesquisa->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    dbgPesquisa->horizontalHeader()->setStretchLastSection(true);
    dbgPesquisa->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dbgPesquisa->verticalHeader()->setDefaultSectionSize(20);
    dbgPesquisa->verticalHeader()->setMinimumWidth(16);
    m_model = new QtRecordSetModel(m_table.rows(), this);
    dbgPesquisa->setModel(m_model);
    connect(m_model, &QtRecordSetModel::currentMoved, this, &TfrmPesquisa::followCursor);
    connect(dbgPesquisa->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridRowChosen(current.isValid() ? current.row() : -1); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // A new model state comes with a new selection model state: keep following the grid.
        followCursor(m_table.rows().active() && !m_table.rows().isEmpty() ? static_cast<int>(m_table.rows().position())
                                                                          : -1);
    });
    connect(dbgPesquisa, &QAbstractItemView::doubleClicked, this, [this] { dbgPesquisaDblClick(); });

    edtPesquisa->installEventFilter(this);
    dbgPesquisa->installEventFilter(this);
    centreOnScreen(this);

    openSearch();
    connect(edtPesquisa, &QLineEdit::textChanged, this, [this] { edtPesquisaChange(); });
    edtPesquisa->setFocus();
}

TfrmPesquisa::~TfrmPesquisa() = default;

bool TfrmPesquisa::Pesquisar(AppContext& ctx, IntegraTable& table, QWidget* parent) {
    TfrmPesquisa window(ctx, table, parent);
    if (!window.opened())
        return false;
    window.exec();
    return true;
}

void TfrmPesquisa::openSearch() {
    // The whole table first, in the caller's own statement and rows.
    try {
        m_table.query("SELECT * FROM " + trim(m_table.tableName()));
        m_opened = true;
    } catch (const std::exception& e) {
        report(e);
        return;
    }
    fillItems();
}

void TfrmPesquisa::fillItems() {
    m_columns = m_table.rows().fieldNames();
    auto* layout = new QHBoxLayout(dbrPesquisa);
    layout->setContentsMargins(10, 4, 10, 4);
    for (size_t i = 0; i < m_columns.size(); ++i) {
        auto* item = new QRadioButton(toQ(m_columns[i]), dbrPesquisa);
        item->setObjectName(QStringLiteral("dbrPesquisa%1").arg(i));
        dbrPesquisaItems->addButton(item, static_cast<int>(i));
        layout->addWidget(item);
    }
    layout->addStretch();
    selectItem(m_columns.empty() ? -1 : 0);
}

void TfrmPesquisa::selectItem(int index) {
    if (QAbstractButton* item = dbrPesquisaItems->button(index)) {
        item->setChecked(true);
        return;
    }
    // No item: an exclusive group keeps one checked, so let go of it for a moment.
    if (QAbstractButton* checked = dbrPesquisaItems->checkedButton()) {
        dbrPesquisaItems->setExclusive(false);
        checked->setChecked(false);
        dbrPesquisaItems->setExclusive(true);
    }
}

void TfrmPesquisa::edtPesquisaChange() {
    const int item = dbrPesquisaItems->checkedId();
    const std::string column = item >= 0 && item < static_cast<int>(m_columns.size()) ? m_columns[item] : "";
    try {
        m_table.close();
        if (column.empty()) {
            m_ctx.op.message(NoFieldSelected, "", MessageIcon::None);
            edtPesquisa->setFocus();
        }
        m_table.query(m_table.searchSql(column, fromQ(edtPesquisa->text())));
    } catch (const std::exception& e) {
        // The rows stay closed until the next keystroke; the window stays usable.
        report(e);
    }
}

void TfrmPesquisa::dbgPesquisaDblClick() {
    accept();
}

bool TfrmPesquisa::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == edtPesquisa || watched == dbgPesquisa) && isEnterKey(event)) {
        dbgPesquisaDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPesquisa::followCursor(int position) {
    if (m_syncing)
        return;
    m_syncing = true;
    if (position < 0)
        dbgPesquisa->setCurrentIndex(QModelIndex());
    else if (dbgPesquisa->currentIndex().row() != position)
        dbgPesquisa->setCurrentIndex(m_model->index(position, 0));
    m_syncing = false;
}

void TfrmPesquisa::gridRowChosen(int line) {
    if (m_syncing || line < 0)
        return;
    RecordSet& rows = m_table.rows();
    if (!rows.active() || line >= static_cast<int>(rows.recordCount()))
        return;
    m_syncing = true;
    rows.moveTo(static_cast<std::size_t>(line));
    m_syncing = false;
}

void TfrmPesquisa::report(const std::exception& failure) {
    const std::string table = m_table.tableName();
    m_ctx.logs.error("Pesquisando na tabela " + table, failure.what());
    m_ctx.op.message("Não foi possível pesquisar na tabela " + table + ".\rERRO: " + trim(failure.what()),
                     FailureCaption, MessageIcon::Error);
}
