#include "import/TfrmImportar_Merlin.h"

#include "base/QtControls.h"

#include "base/AppContext.h"
#include "base/BusyGuard.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/QtUi.h"
#include "import/MerlinProcessRequest.h"
#include "import/ProcessImport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <exception>

namespace {

using namespace controls;

const char* const BusyOperation = "Importação de Processos";
const char* const FailureCaption = "Pelomira";
const char* const FailureProcedure = "Importação - MERLIN";

std::string busyText(const std::string& operation) {
    return "Há uma operação em andamento (" + operation + ").\rAguarde o término para importar o processo.";
}

// The window's one global reference: the newest window, cleared when it goes.
QPointer<TfrmImportar_Merlin> frmImportar_Merlin;

} // namespace

TfrmImportar_Merlin::TfrmImportar_Merlin(AppContext& ctx, ProcessTransfers transfers, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_transfers(std::move(transfers)) {
    setObjectName("frmImportar_Merlin");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(Caption));
    setFixedSize(273, 193);

    gbImportarPara = new QGroupBox(QStringLiteral(" Importar para: "), this);
    gbImportarPara->setObjectName("gbImportarPara");
    gbImportarPara->setGeometry(8, 6, 124, 82);
    cbSISCOMEX = checkBox(gbImportarPara, "cbSISCOMEX", "SISCOMEX", 12, 24, 104);
    cbNORVIK = checkBox(gbImportarPara, "cbNORVIK", "NORVIK", 12, 50, 104);

    // Two columns of two, filled column by column: DI, LI | DSI, LSI.
    rgTipoProcesso = new QGroupBox(QStringLiteral(" Tipo de Processo: "), this);
    rgTipoProcesso->setObjectName("rgTipoProcesso");
    rgTipoProcesso->setGeometry(140, 6, 125, 82);
    rgTipoProcessoItems = new QButtonGroup(rgTipoProcesso);
    rgTipoProcessoItems->setObjectName("rgTipoProcessoItems");
    for (int i = 0; i < 4; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(Kinds[i]), rgTipoProcesso);
        r->setObjectName(QStringLiteral("rgTipoProcesso_") + QString::fromUtf8(Kinds[i]));
        r->setGeometry(12 + (i / 2) * 56, 24 + (i % 2) * 26, 52, 20);
        rgTipoProcessoItems->addButton(r, i);
    }

    lblProcesso_Merlin = label(this, "lblProcesso_Merlin", "Referência do Processo:", 8, 96, 180);
    edProcesso_Merlin = edit(this, "edProcesso_Merlin", 8, 113, 184);
    lblAno = label(this, "lblAno", "Ano:", 200, 96, 65);
    edAno = edit(this, "edAno", 200, 113, 65);
    lblProcesso_Merlin->setBuddy(edProcesso_Merlin);
    lblAno->setBuddy(edAno);

    cbManual = checkBox(this, "cbManual", "Manual", 8, 156, 100);
    btnImportar_Merlin = new QPushButton(QStringLiteral("&Importar"), this);
    btnImportar_Merlin->setObjectName("btnImportar_Merlin");
    btnImportar_Merlin->setGeometry(170, 151, 95, 30);
    btnImportar_Merlin->setAutoDefault(false);

    setTabOrder(cbSISCOMEX, cbNORVIK);
    setTabOrder(cbNORVIK, edProcesso_Merlin);
    setTabOrder(edProcesso_Merlin, edAno);
    setTabOrder(edAno, cbManual);
    setTabOrder(cbManual, btnImportar_Merlin);

    // toggled, not clicked: a box ticked by the program disables the kind choice as well.
    connect(cbNORVIK, &QCheckBox::toggled, this, [this] { cbNORVIKClick(); });
    connect(btnImportar_Merlin, &QPushButton::clicked, this, [this] { btnImportar_MerlinClick(); });

    centreOnScreen(this);
    frmImportar_Merlin = this;
    FormCreate();
}

TfrmImportar_Merlin::~TfrmImportar_Merlin() = default;

TfrmImportar_Merlin* TfrmImportar_Merlin::latest() {
    return frmImportar_Merlin.data();
}

int TfrmImportar_Merlin::tipoProcesso() const {
    return rgTipoProcessoItems->checkedId();
}

void TfrmImportar_Merlin::setTipoProcesso(int index) {
    if (QAbstractButton* b = rgTipoProcessoItems->button(index))
        b->setChecked(true);
}

void TfrmImportar_Merlin::FormCreate() {
    setTipoProcesso(0);
    // The short date is dd/mm/yyyy: the year is its four characters from the seventh.
    edAno->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).mid(6, 4));
}

void TfrmImportar_Merlin::preset(int kind, bool norvik) {
    setTipoProcesso(kind);
    cbSISCOMEX->setChecked(!norvik);
    cbNORVIK->setChecked(norvik);
    cbManual->setChecked(false);
    edProcesso_Merlin->setFocus();
}

void TfrmImportar_Merlin::cbNORVIKClick() {
    rgTipoProcesso->setEnabled(!cbNORVIK->isChecked());
}

void TfrmImportar_Merlin::btnImportar_MerlinClick() {
    // The transfers let window messages through: a second click must not start a second import on
    // the same record sets, nor a close free the window under the running one.
    if (m_importing)
        return;
    // Nor may another window's import (or another long operation on the shared stores) be entered.
    if (BusyGuard::busy()) {
        m_ctx.op.message(busyText(BusyGuard::operation()), FailureCaption, MessageIcon::Information);
        return;
    }
    m_importing = true;
    btnImportar_Merlin->setEnabled(false);
    try {
        BusyGuard busy(BusyOperation);
        runImport();
    } catch (const std::exception& e) {
        // The request and the entries report their own failures; this is only the last boundary.
        m_ctx.op.message(e.what(), FailureCaption, MessageIcon::Error);
        m_ctx.logs.error(FailureProcedure, e.what());
    }
    btnImportar_Merlin->setEnabled(true);
    m_importing = false;
}

void TfrmImportar_Merlin::runImport() {
    std::string document;
    if (!cbManual->isChecked()) {
        const int kind = tipoProcesso();
        const MerlinProcessAnswer answer = requestProcessDocument(
            m_ctx, Kinds[kind < 0 ? 0 : kind], fromQ(edProcesso_Merlin->text()), fromQ(edAno->text()));
        // A failed request leaves the text empty: the transfers then ask for the file.
        document = answer.document.value_or(std::string());
    }
    if (cbSISCOMEX->isChecked())
        importProcessToOrientador(m_ctx, document, m_transfers);
    const int kind = tipoProcesso();
    if (cbNORVIK->isChecked() && (kind == 0 || kind == 1))
        importProcessToNorvik(m_ctx, document, m_transfers);
}

void TfrmImportar_Merlin::closeEvent(QCloseEvent* event) {
    if (m_importing) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
