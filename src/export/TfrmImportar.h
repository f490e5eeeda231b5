#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QButtonGroup;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
struct AppContext;

/// The table export window: the operator moves tables from the list of available ones (lbTabelas) to
/// the list to export (lbImportar), chooses XML or CSV and exports (TableExport). Both lists are kept in
/// alphabetical order. Modeless; frees itself when closed. While an export runs the window's controls
/// are disabled and it refuses to close, as the export lets window messages through.
class TfrmImportar : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Exportação de Tabelas";
    static constexpr const char* IdleText = "Selecione as tabelas a serem importadas";
    static constexpr const char* StartingText = "Aguarde, iniciando...";
    static constexpr const char* ReceivingText = "Recebendo dados da tabela ";
    /// Divisions of the progress bar per table, so that it moves inside a long table too.
    static constexpr int StepsPerTable = 100;

    explicit TfrmImportar(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmImportar() override;

    /// A new window, shown (the main window's Tabelas1 command, tool button and ALT+T).
    static TfrmImportar* openWindow(AppContext& ctx);
    /// The newest export window while it is open (the global reference), else null.
    static TfrmImportar* latest();

    /// XML selected; the display names of Tabela1 … Tabela28 into lbTabelas.
    void FormShow();
    void btnIncluirClick();
    void btnExcluirClick();
    void btnIncluirTudoClick();
    void btnExcluirTudoClick();
    void btnImportarClick();
    void btnSairClick();

    bool exporting() const { return m_exporting; }
    /// The entries of a list, top to bottom.
    static std::vector<std::string> entries(const QListWidget* list);

    QListWidget* lbTabelas;
    QListWidget* lbImportar;
    QPushButton* btnIncluir;
    QPushButton* btnExcluir;
    QPushButton* btnIncluirTudo;
    QPushButton* btnExcluirTudo;
    QPushButton* btnImportar;
    QPushButton* btnSair;
    QButtonGroup* rgTipo;
    QRadioButton* rbTipo_XML;
    QRadioButton* rbTipo_CSV;
    QProgressBar* pbImportar;
    QLabel* lblProgresso;
    QLabel* lblPorcentagem;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class Progress;

    void moveSelected(QListWidget* from, QListWidget* to);
    void moveAll(QListWidget* from, QListWidget* to);
    void setControlsEnabled(bool enabled);

    AppContext& m_ctx;
    bool m_shown = false;
    bool m_exporting = false;
};
