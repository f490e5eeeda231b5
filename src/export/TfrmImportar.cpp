#include "export/TfrmImportar.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/QtControls.h"
#include "base/QtUi.h"
#include "base/TextUtils.h"
#include "export/ExportTableList.h"
#include "export/TableExport.h"
#include "export/TableExportProgress.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QRadioButton>
#include <QShowEvent>

namespace {

using namespace controls;

// The window's one global reference: the newest window, cleared when it goes.
QPointer<TfrmImportar> frmImportar;

QListWidget* listBox(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* l = new QListWidget(parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return l;
}

// Puts text into list at its alphabetical place (the export's order, accents among their letters).
void insertSorted(QListWidget* list, const QString& text) {
    const std::string name = fromQ(text);
    int row = 0;
    while (row < list->count() && !ExportTableList::alphabeticalLess(name, fromQ(list->item(row)->text())))
        ++row;
    list->insertItem(row, text);
}

} // namespace

// The window's bar and labels follow the export.
class TfrmImportar::Progress : public TableExportProgress {
public:
    explicit Progress(TfrmImportar& w) : m_w(w) {}

    void started(int tables) override {
        m_w.pbImportar->setRange(0, tables * StepsPerTable);
        m_w.pbImportar->setValue(0);
        m_w.lblProgresso->setText(QString::fromUtf8(StartingText));
        repaint();
    }
    void entryStarted(int index, const std::string&) override {
        m_w.lbImportar->clearSelection();
        m_w.lbImportar->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    }
    void rowsWritten(int index, const std::string& table, long long done, long long rows) override {
        const long long part = rows > 0 ? done * StepsPerTable / rows : 0;
        m_w.pbImportar->setValue(index * StepsPerTable + static_cast<int>(part));
        m_w.lblProgresso->setText(toQ(std::string(ReceivingText) + table + " (" + std::to_string(done) + " de " +
                                      std::to_string(rows) + ")"));
        repaint();
    }
    void entryDone(int index, int tables, const std::string& table) override {
        m_w.pbImportar->setValue((index + 1) * StepsPerTable);
        m_w.lblProgresso->setText(toQ(ReceivingText + table));
        m_w.lblPorcentagem->setText(toQ(progressPercentText(index, tables)));
        repaint();
    }
    void finished() override {
        m_w.lblPorcentagem->setText(QStringLiteral("100%"));
        repaint();
    }
    void reset() override {
        m_w.lblProgresso->setText(QString::fromUtf8(IdleText));
        m_w.lblPorcentagem->clear();
        m_w.pbImportar->setValue(0);
        m_w.moveAll(m_w.lbImportar, m_w.lbTabelas);
    }

private:
    void repaint() {
        m_w.pbImportar->repaint();
        m_w.lblProgresso->repaint();
        m_w.lblPorcentagem->repaint();
    }

    TfrmImportar& m_w;
};

TfrmImportar::TfrmImportar(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx) {
    setObjectName("frmImportar");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(Caption));
    setFixedSize(752, 352);

    lbTabelas = listBox(this, "lbTabelas", 8, 8, 300, 220);
    btnIncluir = button(this, "btnIncluir", "Incluir ->", 316, 40, 120);
    btnExcluir = button(this, "btnExcluir", "<- Excluir", 316, 72, 120);
    btnIncluirTudo = button(this, "btnIncluirTudo", "Incluir Tudo ->>", 316, 136, 120);
    btnExcluirTudo = button(this, "btnExcluirTudo", "<<- Excluir Tudo", 316, 168, 120);
    lbImportar = listBox(this, "lbImportar", 444, 8, 300, 220);

    rgTipo = new QButtonGroup(this);
    rbTipo_XML = new QRadioButton(QStringLiteral("Arquivo XML"), this);
    rbTipo_XML->setObjectName("rbTipo_XML");
    rbTipo_XML->setGeometry(8, 238, 120, CheckHeight);
    rbTipo_CSV = new QRadioButton(QString::fromUtf8("Separado por ponto-e-vírgula (CSV)"), this);
    rbTipo_CSV->setObjectName("rbTipo_CSV");
    rbTipo_CSV->setGeometry(140, 238, 280, CheckHeight);
    rgTipo->addButton(rbTipo_XML, 0);
    rgTipo->addButton(rbTipo_CSV, 1);

    pbImportar = new QProgressBar(this);
    pbImportar->setObjectName("pbImportar");
    pbImportar->setGeometry(8, 266, 736, 20);
    pbImportar->setTextVisible(false);
    pbImportar->setRange(0, 1);
    pbImportar->setValue(0);
    lblProgresso = label(this, "lblProgresso", IdleText, 8, 292, 660);
    lblPorcentagem = label(this, "lblPorcentagem", "", 680, 292, 64);
    lblPorcentagem->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    btnImportar = button(this, "btnImportar", "&Exportar", 564, 318, ButtonWidth, ButtonHeight);
    btnSair = button(this, "btnSair", "&Sair", 659, 318, ButtonWidth, ButtonHeight);

    connect(btnIncluir, &QPushButton::clicked, this, [this] { btnIncluirClick(); });
    connect(btnExcluir, &QPushButton::clicked, this, [this] { btnExcluirClick(); });
    connect(btnIncluirTudo, &QPushButton::clicked, this, [this] { btnIncluirTudoClick(); });
    connect(btnExcluirTudo, &QPushButton::clicked, this, [this] { btnExcluirTudoClick(); });
    connect(btnImportar, &QPushButton::clicked, this, [this] { btnImportarClick(); });
    connect(btnSair, &QPushButton::clicked, this, [this] { btnSairClick(); });
    connect(lbTabelas, &QListWidget::itemDoubleClicked, this, [this] { btnIncluirClick(); });
    connect(lbImportar, &QListWidget::itemDoubleClicked, this, [this] { btnExcluirClick(); });

    centreOnScreen(this);
    frmImportar = this;
}

TfrmImportar::~TfrmImportar() = default;

TfrmImportar* TfrmImportar::openWindow(AppContext& ctx) {
    auto* window = new TfrmImportar(ctx);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

TfrmImportar* TfrmImportar::latest() {
    return frmImportar.data();
}

std::vector<std::string> TfrmImportar::entries(const QListWidget* list) {
    std::vector<std::string> names;
    for (int i = 0; i < list->count(); ++i)
        names.push_back(fromQ(list->item(i)->text()));
    return names;
}

void TfrmImportar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown again after being minimised is not a new show of the window.
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        FormShow();
    }
}

void TfrmImportar::FormShow() {
    rbTipo_XML->setChecked(true);
    for (const std::string& name : ExportTableList::displayNames(m_ctx.settings))
        insertSorted(lbTabelas, toQ(name));
}

void TfrmImportar::moveSelected(QListWidget* from, QListWidget* to) {
    for (int row = from->count() - 1; row >= 0; --row) {
        if (!from->item(row)->isSelected())
            continue;
        QListWidgetItem* item = from->takeItem(row);
        insertSorted(to, item->text());
        delete item;
    }
}

void TfrmImportar::moveAll(QListWidget* from, QListWidget* to) {
    while (from->count() > 0) {
        QListWidgetItem* item = from->takeItem(0);
        insertSorted(to, item->text());
        delete item;
    }
}

void TfrmImportar::btnIncluirClick() {
    moveSelected(lbTabelas, lbImportar);
    lbTabelas->setFocus();
}

void TfrmImportar::btnExcluirClick() {
    moveSelected(lbImportar, lbTabelas);
    lbImportar->setFocus();
}

void TfrmImportar::btnIncluirTudoClick() {
    moveAll(lbTabelas, lbImportar);
}

void TfrmImportar::btnExcluirTudoClick() {
    moveAll(lbImportar, lbTabelas);
}

void TfrmImportar::btnSairClick() {
    close();
}

void TfrmImportar::setControlsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{lbTabelas, lbImportar, btnIncluir, btnExcluir, btnIncluirTudo,
                                                      btnExcluirTudo, btnImportar, btnSair, rbTipo_XML, rbTipo_CSV})
        w->setEnabled(enabled);
}

void TfrmImportar::btnImportarClick() {
    // The export lets window messages through: a second click, a move between the lists or a close
    // must not reach the window under the running export.
    if (m_exporting)
        return;
    m_exporting = true;
    const std::vector<std::string> names = entries(lbImportar);
    if (!names.empty())
        setControlsEnabled(false);
    Progress progress(*this);
    try {
        const TableExportResult result =
            TableExport(m_ctx, progress)
                .run(names, rbTipo_CSV->isChecked() ? TableExportFormat::Csv : TableExportFormat::Xml);
        // Nothing was written: the chosen tables stay for another try once the folder is put right.
        if (result.status == TableExportResult::Status::SaveFailed) {
            lblProgresso->setText(QString::fromUtf8(IdleText));
            lblPorcentagem->clear();
            pbImportar->setValue(0);
        }
    } catch (const std::exception& e) {
        // The export reports its own failures; this is only the last boundary.
        m_ctx.op.message(e.what(), "Pelomira", MessageIcon::Error);
        m_ctx.logs.error(TableExport::ExportProcedure, e.what());
    }
    setControlsEnabled(true);
    m_exporting = false;
}

void TfrmImportar::closeEvent(QCloseEvent* event) {
    if (m_exporting) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
