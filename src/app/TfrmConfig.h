#pragma once

#include "base/SettingsSave.h"

#include <QWidget>

#include <string>

class AlertTimer;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppContext;

/// The settings window: shows the editable keys of PELOMIRA.INI and saves them (SettingsSave). It is
/// modeless and frees itself when closed. The alert interval it saves is applied at once to alert,
/// the main window's timer.
class TfrmConfig : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Pelomira - Configurações";
    static constexpr const char* NoSiscomexFolder = "Esta pasta não contém os arquivos do SISCOMEX!";
    static constexpr const char* NoTransformFolder = "Esta pasta não contém os arquivos de Transformação!";
    static constexpr const char* FolderMissing = "Esta pasta não existe!";

    TfrmConfig(AppContext& ctx, AlertTimer* alert, QWidget* parent = nullptr);

    // " Geral "
    QGroupBox* gbGeral;
    QLineEdit* edBancodeDados;
    QLineEdit* edArqTransform;
    QLineEdit* edEndWS_Proc;
    QLineEdit* edEndWS_Integr;
    QLineEdit* edNomeXML;
    QLineEdit* edAtualizacoes;
    QLineEdit* edPastaXML;
    QLineEdit* edEnd_Servidor;
    QPushButton* btProcurar;
    QPushButton* btnProcurarTransf;
    QPushButton* btnProcurarAtualizacoes;
    QPushButton* btnProcurarPastaXML;
    // " Alerta "
    QGroupBox* gbAlerta;
    QLineEdit* edAlerta_Intervalo;
    QComboBox* cbAlerta_Tipo;
    // " Integrações "
    QGroupBox* gbIntegracoes;
    QLineEdit* edCod_Honeywell;
    QLineEdit* edCod_Samsung;
    QLineEdit* edCod_Synthes;
    QLineEdit* edPastaHoneywell;
    QLineEdit* edPastaSamsung;
    QLineEdit* edPastaSynthes;
    QPushButton* btnProcurarPastaHoneywell;
    QPushButton* btnProcurarPastaSamsung;
    QPushButton* btnProcurarPastaSynthes;
    // bottom
    QPushButton* btnExibirLog;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;

    /// Fills every field from the settings file (runs each time the window shows).
    void FormShow();
    void btnSalvarClick();
    void btnFecharClick();
    void btnExibirLogClick();
    void btProcurarClick();
    void btnProcurarTransfClick();
    void btnProcurarAtualizacoesClick();
    void btnProcurarPastaXMLClick();
    void btnProcurarPastaHoneywellClick();
    void btnProcurarPastaSamsungClick();
    void btnProcurarPastaSynthesClick();
    void edPastaXMLExit();
    void edPastaHoneywellExit();
    void edPastaSamsungExit();
    void edPastaSynthesExit();

    /// The outcome of the last save (tests and the caller can see where it stopped).
    SettingsSave::Outcome lastSave() const { return m_lastSave; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* fieldFor(SettingsSave::Field field) const;
    void browseInto(QLineEdit* edit, const char* title);
    void integrationFolderExit(QLineEdit* edit);
    void error(const std::string& text);

    AppContext& m_ctx;
    AlertTimer* m_alert;
    SettingsSave::Outcome m_lastSave;
};
