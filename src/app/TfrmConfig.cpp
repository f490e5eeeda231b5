#include "app/TfrmConfig.h"

#include "base/QtControls.h"

#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/QtUi.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "platform/FolderCreation.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using namespace controls;

const char* const kTitleSiscomex = "Selecione a pasta do Orientador - SISCOMEX";
const char* const kTitleTransform = "Selecione a pasta dos arquivos de Transformação";
const char* const kTitleUpdates = "Selecione a pasta dos arquivos de Atualização";
const char* const kTitleXml = "Selecione a pasta onde serão gerados os arquivos XML";
const char* const kTitleHoneywell = "Selecione a pasta onde serão gerados os arquivos XML - Honeywell";
const char* const kTitleSamsung = "Selecione a pasta onde serão gerados os arquivos XML - Samsung";
const char* const kTitleSynthes = "Selecione a pasta onde serão gerados os arquivos XML - Synthes";

constexpr int RowHeight = 46;

} // namespace

TfrmConfig::TfrmConfig(AppContext& ctx, AlertTimer* alert, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_alert(alert) {
    setObjectName("frmConfig");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(Caption));
    setFixedSize(521, 713);

    // " Geral ": eight fields of the Dados section, a label above each.
    gbGeral = new QGroupBox(QStringLiteral(" Geral "), this);
    gbGeral->setObjectName("gbGeral");
    gbGeral->setGeometry(8, 6, 505, 396);
    const int fieldW = 384, wideW = 481, btnX = 404;
    auto rowY = [](int row) { return 22 + row * RowHeight; };
    label(gbGeral, "lblBancodeDados", "Banco de Dados (SISCOMEX):", 12, rowY(0));
    edBancodeDados = edit(gbGeral, "edBancodeDados", 12, rowY(0) + 17, fieldW);
    btProcurar = button(gbGeral, "btProcurar", "&Procurar", btnX, rowY(0) + 16);
    label(gbGeral, "lblArqTransform", "Arquivos de Transformação:", 12, rowY(1));
    edArqTransform = edit(gbGeral, "edArqTransform", 12, rowY(1) + 17, fieldW);
    btnProcurarTransf = button(gbGeral, "btnProcurarTransf", "P&rocurar", btnX, rowY(1) + 16);
    label(gbGeral, "lblEndWS_Proc", "Endereço do WebService (Processos):", 12, rowY(2));
    edEndWS_Proc = edit(gbGeral, "edEndWS_Proc", 12, rowY(2) + 17, wideW);
    label(gbGeral, "lblEndWS_Integr", "Endereço do WebService (Integrações):", 12, rowY(3));
    edEndWS_Integr = edit(gbGeral, "edEndWS_Integr", 12, rowY(3) + 17, wideW);
    label(gbGeral, "lblNomeXML", "Arquivo XML para Exportação:", 12, rowY(4));
    edNomeXML = edit(gbGeral, "edNomeXML", 12, rowY(4) + 17, fieldW);
    label(gbGeral, "lblAtualizacoes", "Atualizações:", 12, rowY(5));
    edAtualizacoes = edit(gbGeral, "edAtualizacoes", 12, rowY(5) + 17, fieldW);
    btnProcurarAtualizacoes = button(gbGeral, "btnProcurarAtualizacoes", "Pr&ocurar", btnX, rowY(5) + 16);
    label(gbGeral, "lblPastaXML", "Pasta dos Arquivos XML Gerados:", 12, rowY(6));
    edPastaXML = edit(gbGeral, "edPastaXML", 12, rowY(6) + 17, fieldW);
    btnProcurarPastaXML = button(gbGeral, "btnProcurarPastaXML", "Pro&curar", btnX, rowY(6) + 16);
    label(gbGeral, "lblEnd_Servidor", "Endereço do Servidor (Integrações):", 12, rowY(7));
    edEnd_Servidor = edit(gbGeral, "edEnd_Servidor", 12, rowY(7) + 17, wideW);

    // " Alerta ": a narrow interval box and the unit.
    gbAlerta = new QGroupBox(QStringLiteral(" Alerta "), this);
    gbAlerta->setObjectName("gbAlerta");
    gbAlerta->setGeometry(8, 408, 505, 58);
    label(gbAlerta, "lblAlerta_Intervalo", "Checar automaticamente a cada", 12, 28, 200);
    edAlerta_Intervalo = edit(gbAlerta, "edAlerta_Intervalo", 214, 24, 45);
    cbAlerta_Tipo = new QComboBox(gbAlerta);
    cbAlerta_Tipo->setObjectName("cbAlerta_Tipo");
    cbAlerta_Tipo->setGeometry(267, 24, 110, EditHeight);
    cbAlerta_Tipo->addItems({QStringLiteral("Minutos"), QStringLiteral("Horas")});

    // " Integrações ": for each customer its code and the folder its files go to.
    gbIntegracoes = new QGroupBox(QString::fromUtf8(" Integrações "), this);
    gbIntegracoes->setObjectName("gbIntegracoes");
    gbIntegracoes->setGeometry(8, 472, 505, 172);
    const int codeW = 90, folderX = 112, folderW = 284;
    label(gbIntegracoes, "lblCod_Honeywell", "Cod. Honeywell:", 12, rowY(0), 96);
    edCod_Honeywell = edit(gbIntegracoes, "edCod_Honeywell", 12, rowY(0) + 17, codeW);
    label(gbIntegracoes, "lblPastaHoneywell", "Pasta XML Honeywell:", folderX, rowY(0));
    edPastaHoneywell = edit(gbIntegracoes, "edPastaHoneywell", folderX, rowY(0) + 17, folderW);
    btnProcurarPastaHoneywell = button(gbIntegracoes, "btnProcurarPastaHoneywell", "&Procurar", btnX, rowY(0) + 16);
    label(gbIntegracoes, "lblCod_Samsung", "Cod. Samsung:", 12, rowY(1), 96);
    edCod_Samsung = edit(gbIntegracoes, "edCod_Samsung", 12, rowY(1) + 17, codeW);
    label(gbIntegracoes, "lblPastaSamsung", "Pasta XML Samsung:", folderX, rowY(1));
    edPastaSamsung = edit(gbIntegracoes, "edPastaSamsung", folderX, rowY(1) + 17, folderW);
    btnProcurarPastaSamsung = button(gbIntegracoes, "btnProcurarPastaSamsung", "&Procurar", btnX, rowY(1) + 16);
    label(gbIntegracoes, "lblCod_Synthes", "Cod. Synthes:", 12, rowY(2), 96);
    edCod_Synthes = edit(gbIntegracoes, "edCod_Synthes", 12, rowY(2) + 17, codeW);
    label(gbIntegracoes, "lblPastaSynthes", "Pasta XML Synthes", folderX, rowY(2));
    edPastaSynthes = edit(gbIntegracoes, "edPastaSynthes", folderX, rowY(2) + 17, folderW);
    btnProcurarPastaSynthes = button(gbIntegracoes, "btnProcurarPastaSynthes", "&Procurar", btnX, rowY(2) + 16);

    btnExibirLog = button(this, "btnExibirLog", "Exibir &LOG", 8, 666, 100, 32);
    btnExibirLog->hide();
    btnSalvar = button(this, "btnSalvar", "&Salvar", 322, 666, 93, 32);
    btnFechar = button(this, "btnFechar", "&Fechar", 420, 666, 93, 32);

    connect(btnSalvar, &QPushButton::clicked, this, &TfrmConfig::btnSalvarClick);
    connect(btnFechar, &QPushButton::clicked, this, &TfrmConfig::btnFecharClick);
    connect(btnExibirLog, &QPushButton::clicked, this, &TfrmConfig::btnExibirLogClick);
    connect(btProcurar, &QPushButton::clicked, this, &TfrmConfig::btProcurarClick);
    connect(btnProcurarTransf, &QPushButton::clicked, this, &TfrmConfig::btnProcurarTransfClick);
    connect(btnProcurarAtualizacoes, &QPushButton::clicked, this, &TfrmConfig::btnProcurarAtualizacoesClick);
    connect(btnProcurarPastaXML, &QPushButton::clicked, this, &TfrmConfig::btnProcurarPastaXMLClick);
    connect(btnProcurarPastaHoneywell, &QPushButton::clicked, this, &TfrmConfig::btnProcurarPastaHoneywellClick);
    connect(btnProcurarPastaSamsung, &QPushButton::clicked, this, &TfrmConfig::btnProcurarPastaSamsungClick);
    connect(btnProcurarPastaSynthes, &QPushButton::clicked, this, &TfrmConfig::btnProcurarPastaSynthesClick);
    for (QLineEdit* e : {edPastaXML, edPastaHoneywell, edPastaSamsung, edPastaSynthes})
        e->installEventFilter(this);

    centreOnScreen(this);
}

void TfrmConfig::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    try {
        FormShow();
    } catch (const AppError& e) {
        // PELOMIRA.INI is there but cannot be read: say so. Saving reads it again and refuses too, so
        // nothing is written over it.
        error(e.what());
    }
}

void TfrmConfig::FormShow() {
    const Settings& s = m_ctx.settings;
    auto fill = [&s](QLineEdit* e, const char* section, const char* key) { e->setText(toQ(s.read(section, key))); };
    fill(edBancodeDados, Settings::Dados, Settings::KeyDados);
    fill(edArqTransform, Settings::Dados, Settings::KeyArqTransform);
    fill(edEndWS_Proc, Settings::Dados, Settings::KeyWebService);
    fill(edEndWS_Integr, Settings::Dados, Settings::KeyWebService2);
    fill(edNomeXML, Settings::Dados, Settings::KeyArqXML);
    fill(edAtualizacoes, Settings::Dados, Settings::KeyAtualiza);
    fill(edPastaXML, Settings::Dados, Settings::KeyPastaXML);
    fill(edEnd_Servidor, Settings::Dados, Settings::KeyTabelasIntegra);
    fill(edAlerta_Intervalo, Settings::Alerta, Settings::KeyIntervalo);
    fill(edCod_Honeywell, Settings::Integra, Settings::KeyCodHoneywell);
    fill(edCod_Samsung, Settings::Integra, Settings::KeyCodSamsung);
    fill(edCod_Synthes, Settings::Integra, Settings::KeyCodSynthes);
    fill(edPastaHoneywell, Settings::Integra, Settings::KeyCaminhoHoneywell);
    fill(edPastaSamsung, Settings::Integra, Settings::KeyCaminhoSamsung);
    fill(edPastaSynthes, Settings::Integra, Settings::KeyCaminhoSynthes);

    // The unit is kept as the item's index; no unit (-1), a missing key or an index beyond the list
    // selects nothing. A value that is no number is named to the operator; every other field is filled
    // all the same, so saving cannot wipe them.
    const std::string unit = s.read(Settings::Alerta, Settings::KeyTipoIntervalo);
    int index = -1;
    if (!trim(unit).empty()) {
        try {
            const long long n = toInteger(unit);
            if (n >= 0 && n < cbAlerta_Tipo->count())
                index = static_cast<int>(n);
        } catch (const AppError& e) {
            error(std::string("Alerta/TipoIntervalo em ") + Settings::FileName + ": " + e.what());
        }
    }
    cbAlerta_Tipo->setCurrentIndex(index);
}

void TfrmConfig::error(const std::string& text) {
    m_ctx.op.message(text, "Pelomira", MessageIcon::Error);
}

QLineEdit* TfrmConfig::fieldFor(SettingsSave::Field field) const {
    switch (field) {
    case SettingsSave::Field::EndWSProc:
        return edEndWS_Proc;
    case SettingsSave::Field::EndWSIntegr:
        return edEndWS_Integr;
    case SettingsSave::Field::NomeXML:
        return edNomeXML;
    case SettingsSave::Field::Atualizacoes:
        return edAtualizacoes;
    case SettingsSave::Field::EndServidor:
        return edEnd_Servidor;
    case SettingsSave::Field::AlertaIntervalo:
        return edAlerta_Intervalo;
    case SettingsSave::Field::None:
        break;
    }
    return nullptr;
}

void TfrmConfig::btnSalvarClick() {
    SettingsSave::Fields f;
    f.bancodeDados = fromQ(edBancodeDados->text());
    f.arqTransform = fromQ(edArqTransform->text());
    f.endWSProc = fromQ(edEndWS_Proc->text());
    f.endWSIntegr = fromQ(edEndWS_Integr->text());
    f.nomeXML = fromQ(edNomeXML->text());
    f.atualizacoes = fromQ(edAtualizacoes->text());
    f.pastaXML = fromQ(edPastaXML->text());
    f.endServidor = fromQ(edEnd_Servidor->text());
    f.alertaIntervalo = fromQ(edAlerta_Intervalo->text());
    f.alertaTipoIndex = cbAlerta_Tipo->currentIndex();
    f.alertaTipoText = fromQ(cbAlerta_Tipo->currentText());
    f.codHoneywell = fromQ(edCod_Honeywell->text());
    f.codSamsung = fromQ(edCod_Samsung->text());
    f.codSynthes = fromQ(edCod_Synthes->text());
    f.pastaHoneywell = fromQ(edPastaHoneywell->text());
    f.pastaSamsung = fromQ(edPastaSamsung->text());
    f.pastaSynthes = fromQ(edPastaSynthes->text());
    m_lastSave = SettingsSave::run(f, m_ctx.settings, m_ctx.logs, m_ctx.op, m_alert);
    if (QLineEdit* e = fieldFor(m_lastSave.focus))
        e->setFocus();
}

void TfrmConfig::btnFecharClick() {
    close();
}

void TfrmConfig::btnExibirLogClick() {
    const std::string log = joinPath(m_ctx.platform.programFolder(), Logs::ActivityFile);
    try {
        m_ctx.op.openWithSystem(log, "", m_ctx.platform.programFolder());
    } catch (const std::exception& e) {
        error(e.what());
    }
}

void TfrmConfig::browseInto(QLineEdit* edit, const char* title) {
    const std::string folder = m_ctx.op.browseFolder(title);
    if (!folder.empty())
        edit->setText(toQ(folder));
}

void TfrmConfig::btProcurarClick() {
    const std::string folder = m_ctx.op.browseFolder(kTitleSiscomex);
    if (!folder.empty() && m_ctx.platform.findFileNoCase(folder, "TABSISCO.MDB"))
        edBancodeDados->setText(toQ(folder));
    else
        error(NoSiscomexFolder);
}

void TfrmConfig::btnProcurarTransfClick() {
    const std::string folder = m_ctx.op.browseFolder(kTitleTransform);
    if (!folder.empty() && m_ctx.platform.findFileNoCase(folder, "DI.XTR"))
        edArqTransform->setText(toQ(folder));
    else
        error(NoTransformFolder);
}

void TfrmConfig::btnProcurarAtualizacoesClick() {
    browseInto(edAtualizacoes, kTitleUpdates);
}
void TfrmConfig::btnProcurarPastaXMLClick() {
    browseInto(edPastaXML, kTitleXml);
}
void TfrmConfig::btnProcurarPastaHoneywellClick() {
    browseInto(edPastaHoneywell, kTitleHoneywell);
}
void TfrmConfig::btnProcurarPastaSamsungClick() {
    browseInto(edPastaSamsung, kTitleSamsung);
}
void TfrmConfig::btnProcurarPastaSynthesClick() {
    browseInto(edPastaSynthes, kTitleSynthes);
}

void TfrmConfig::edPastaXMLExit() {
    if (!folderExists(fromQ(edPastaXML->text()))) {
        error(FolderMissing);
        edPastaXML->setFocus();
    }
}

void TfrmConfig::integrationFolderExit(QLineEdit* edit) {
    const std::string folder = trim(fromQ(edit->text()));
    if (folder.empty() || folderExists(folder))
        return;
    if (!m_ctx.op.askYesNo("Pasta " + folder + " não encontrada, criar a pasta?", "Pelomira",
                           MessageIcon::Information)) {
        edit->setFocus();
        return;
    }
    // With the folders above it: the defaults name folders under the home whose parents a new
    // installation lacks. A folder that cannot be made is said so at once rather than found missing
    // when the first file is written there.
    if (const std::string why = createFolderTree(folder); !why.empty()) {
        error("Não foi possível criar a pasta " + folder + ": " + why + ".");
        edit->setFocus();
    }
}

void TfrmConfig::edPastaHoneywellExit() {
    integrationFolderExit(edPastaHoneywell);
}
void TfrmConfig::edPastaSamsungExit() {
    integrationFolderExit(edPastaSamsung);
}
void TfrmConfig::edPastaSynthesExit() {
    integrationFolderExit(edPastaSynthes);
}

bool TfrmConfig::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Leaving the field for another control of this window; switching windows is no exit.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == edPastaXML)
                edPastaXMLExit();
            else if (watched == edPastaHoneywell)
                edPastaHoneywellExit();
            else if (watched == edPastaSamsung)
                edPastaSamsungExit();
            else if (watched == edPastaSynthes)
                edPastaSynthesExit();
        }
    }
    return QWidget::eventFilter(watched, event);
}
