#include "retorno/TfrmRetorno.h"

#include "base/AppContext.h"
#include "base/BusyGuard.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/QtControls.h"
#include "base/QtUi.h"
#include "data/QtRecordSetModel.h"
#include "data/RecordSet.h"
#include "data/TDM.h"
#include "retorno/RegistrationScan.h"
#include "retorno/ReturnList.h"
#include "retorno/ReturnRunLock.h"
#include "retorno/ReturnSender.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace {

constexpr int ImportarColumn = 0;
constexpr int VisibleColumns = 5;
constexpr int ImageSize = 16;

// The window's one global reference, cleared when it goes.
QPointer<TfrmRetorno> frmRetorno;

// The grid's titles, and no text in the IMPORTAR cells (their images say it).
class TitledColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return section >= 0 && section < VisibleColumns ? QString::fromUtf8(TfrmRetorno::Titles[section])
                                                            : QString();
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (index.column() == ImportarColumn && role == Qt::DisplayRole)
            return QVariant();
        return QIdentityProxyModel::data(index, role);
    }
};

// The IMPORTAR cell: filled, then the box's ground and the ticked or unticked box over it.
class TickDelegate : public QStyledItemDelegate {
public:
    TickDelegate(const QList<QPixmap>& images, RecordSet& list, QObject* parent)
        : QStyledItemDelegate(parent), m_images(images), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (index.column() != ImportarColumn) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        const QPoint at = option.rect.topLeft() + QPoint(TfrmRetorno::ImageLeft, TfrmRetorno::ImageTop);
        painter->drawPixmap(at, m_images[0]);
        painter->drawPixmap(at, m_images[tickedAt(index.row()) ? 2 : 1]);
    }

private:
    bool tickedAt(int line) const {
        if (!m_list.active() || line < 0 || static_cast<std::size_t>(line) >= m_list.table()->size())
            return false;
        const RecordTable::Row& row = m_list.table()->row(static_cast<std::size_t>(line));
        const int slot = m_list.schema().find(ReturnList::Importar)->slot;
        return !row.isNull(slot) && row.value(slot) == "True";
    }

    const QList<QPixmap>& m_images;
    RecordSet& m_list;
};

QList<QPixmap> checkBoxImages() {
    QList<QPixmap> images;
    QPixmap ground(ImageSize, ImageSize);
    ground.fill(Qt::transparent);
    {
        QPainter p(&ground);
        p.fillRect(2, 2, 12, 12, Qt::white);
    }
    QPixmap unticked(ImageSize, ImageSize);
    unticked.fill(Qt::transparent);
    {
        QPainter p(&unticked);
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.drawRect(2, 2, 11, 11);
    }
    QPixmap ticked = unticked.copy();
    {
        QPainter p(&ticked);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x00, 0x00, 0x80), 2));
        p.drawPolyline(QPolygon({QPoint(4, 8), QPoint(7, 11), QPoint(12, 4)}));
    }
    images << ground << unticked << ticked;
    return images;
}

std::string busyText(const std::string& operation, const std::string& whatFor) {
    return "Há uma operação em andamento (" + operation + ").\rAguarde o término para " + whatFor + ".";
}

} // namespace

TfrmRetorno* TfrmRetorno::openWindow(AppContext& ctx) {
    if (TfrmRetorno* open = frmRetorno.data()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    auto* window = new TfrmRetorno(ctx);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

TfrmRetorno* TfrmRetorno::current() {
    return frmRetorno.data();
}

TfrmRetorno::TfrmRetorno(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx) {
    setObjectName("frmRetorno");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(Caption));
    setFixedSize(490, 330);
    imgCkeckBox = checkBoxImages();

    lblSelecione = controls::label(this, "lblSelecione", LabelText, 8, 8, 474);

    dbgRetorno = new QTableView(this);
    dbgRetorno->setObjectName("dbgRetorno");
    dbgRetorno->setGeometry(8, 28, 474, 258);
    // The grid is never edited in place: a click in the IMPORTAR column ticks, the rest is read only.
    dbgRetorno->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgRetorno->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgRetorno->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgRetorno->setTabKeyNavigation(true);
    dbgRetorno->setShowGrid(true);
    dbgRetorno->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    dbgRetorno->horizontalHeader()->setHighlightSections(false);
    dbgRetorno->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dbgRetorno->verticalHeader()->setDefaultSectionSize(ImageSize + 4);
    dbgRetorno->verticalHeader()->setMinimumWidth(16);

    RecordSet& list = m_ctx.dm.cdsTemp;
    m_model = new QtRecordSetModel(list, this);
    auto* titled = new TitledColumns(this);
    titled->setSourceModel(m_model);
    dbgRetorno->setModel(titled);
    dbgRetorno->setItemDelegate(new TickDelegate(imgCkeckBox, list, this));
    connect(m_model, &QtRecordSetModel::currentMoved, this, &TfrmRetorno::followCursor);
    connect(dbgRetorno->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridRowChosen(current.isValid() ? current.row() : -1); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // A rebuilt model comes with a cleared selection: put it back on the list's row.
        RecordSet& rows = m_ctx.dm.cdsTemp;
        followCursor(rows.active() && !rows.isEmpty() ? static_cast<int>(rows.position()) : -1);
        setColumns();
    });
    connect(dbgRetorno, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { dbgRetornoCellClick(index.column()); });
    dbgRetorno->installEventFilter(this);

    btnGerar = controls::button(this, "btnGerar", "Gerar", 397, 296);
    connect(btnGerar, &QPushButton::clicked, this, [this] { btnGerarClick(); });

    centreOnScreen(this);
    frmRetorno = this;
}

TfrmRetorno::~TfrmRetorno() = default;

void TfrmRetorno::setColumns() {
    // The widths the program always had, made for a smaller font than this system's: a column whose
    // title or values would be cut is widened to show them whole.
    for (int c = 0; c < VisibleColumns; ++c)
        dbgRetorno->setColumnWidth(c, std::max({Widths[c], dbgRetorno->horizontalHeader()->sectionSizeHint(c),
                                                static_cast<QAbstractItemView*>(dbgRetorno)->sizeHintForColumn(c)}));
    const int columns = dbgRetorno->model() ? dbgRetorno->model()->columnCount() : 0;
    for (int c = 0; c < columns; ++c)
        dbgRetorno->setColumnHidden(c, c >= VisibleColumns);
}

bool TfrmRetorno::refuseWhileBusy(const std::string& whatFor) {
    if (!BusyGuard::busy())
        return false;
    m_ctx.op.message(busyText(BusyGuard::operation(), whatFor), "Pelomira", MessageIcon::Information);
    return true;
}

bool TfrmRetorno::CarregarRetorno() {
    BusyGuard busy(BusyOperation);
    return RegistrationScan(m_ctx).manual(m_ctx.dm.cdsTemp);
}

void TfrmRetorno::FormShow() {
    if (m_running)
        return;
    // The scan uses the one Orientador connection: not under a transfer that lets messages through.
    if (refuseWhileBusy("retornar os processos")) {
        close();
        return;
    }
    m_running = true;
    const bool scanned = CarregarRetorno();
    m_running = false;
    RecordSet& list = m_ctx.dm.cdsTemp;
    if (list.active())
        list.first();
    if (!list.active() || list.isEmpty()) {
        // After a failed scan the error box has spoken; "nothing to return" would not be true.
        if (scanned)
            m_ctx.op.message(NothingLeft, "Pelomira", MessageIcon::Information);
        close();
        return;
    }
    setColumns();
    dbgRetorno->setFocus();
}

void TfrmRetorno::btnGerarClick() {
    if (m_running)
        return;
    if (refuseWhileBusy("retornar os processos"))
        return;
    ReturnRunLock lock(m_ctx.platform);
    if (!lock.held()) {
        m_ctx.op.message(ReturnSender::OtherRun, "Pelomira", MessageIcon::Information);
        return;
    }
    m_running = true;
    dbgRetorno->setEnabled(false);
    btnGerar->setEnabled(false);
    try {
        BusyGuard busy(BusyOperation);
        ReturnSender(m_ctx).EnviarRetorno(m_ctx.dm.cdsTemp, false);
    } catch (const std::exception& e) {
        m_ctx.logs.reportFailure(FailureHeadline, e.what(), BusyOperation);
    }
    dbgRetorno->setEnabled(true);
    btnGerar->setEnabled(true);
    m_running = false;
    FormShow();
}

void TfrmRetorno::dbgRetornoCellClick(int column) {
    RecordSet& list = m_ctx.dm.cdsTemp;
    if (m_running || column != ImportarColumn || !list.active() || list.isEmpty())
        return;
    ReturnList::toggle(list);
}

void TfrmRetorno::followCursor(int position) {
    if (m_syncing)
        return;
    m_syncing = true;
    if (position < 0)
        dbgRetorno->setCurrentIndex(QModelIndex());
    else if (dbgRetorno->currentIndex().row() != position)
        dbgRetorno->setCurrentIndex(dbgRetorno->model()->index(position, ImportarColumn));
    m_syncing = false;
}

void TfrmRetorno::gridRowChosen(int line) {
    RecordSet& list = m_ctx.dm.cdsTemp;
    if (m_syncing || line < 0 || !list.active() || line >= static_cast<int>(list.recordCount()))
        return;
    m_syncing = true;
    list.moveTo(static_cast<std::size_t>(line));
    m_syncing = false;
}

bool TfrmRetorno::eventFilter(QObject* watched, QEvent* event) {
    // The space bar ticks the current row, as a click in its box does.
    if (watched == dbgRetorno && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        dbgRetornoCellClick(ImportarColumn);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmRetorno::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Once the window is on the screen, so the progress of the scan shows above it.
    if (!m_shown) {
        m_shown = true;
        QTimer::singleShot(0, this, [this] { FormShow(); });
    }
}

void TfrmRetorno::closeEvent(QCloseEvent* event) {
    if (m_running) {
        event->ignore();
        return;
    }
    m_ctx.dm.cdsTemp.close();
    if (frmRetorno == this)
        frmRetorno = nullptr;
    QWidget::closeEvent(event);
}
