#pragma once

#include "cadastros/RegistryOperations.h"

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QStatusBar;
class QtDBEdit;
class RecordSet;
class TBarraCadastro;
struct AppContext;
struct Registry;

/// The one design of the four registry windows (units, countries, exporters, manufacturers): a Merlin
/// code with its description, shown through the registry's chain in the data module, with the
/// registry toolbar, the search, the import and a status bar. TfrmUnidade, TfrmPais, TfrmExportador
/// and TfrmFabricante give the names and texts that differ (Registry).
///
/// The window is modeless and frees itself when closed. Creation connects the Integra database;
/// closing closes the chain (once no other window of the registry shows it) and disconnects (once no
/// registry window is left).
class TfrmCadastro : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* CodeLabel = "Código Merlin:";
    static constexpr const char* SearchCaption = "&Pesquisar";
    static constexpr const char* ImportCaption = "I&mportar";

    ~TfrmCadastro() override;

    /// Creates a window with make and shows it modeless. When it cannot be created (a toolbar glyph is
    /// missing, the database cannot be reached) the operator is told and nothing is shown.
    static TfrmCadastro* open(AppContext& ctx, const Registry& registry, const std::function<TfrmCadastro*()>& make);

    const Registry& registry() const { return m_ops.registry(); }
    RecordSet& rows();
    bool newRecordMode() const { return m_newRecordMode; }
    /// The text of the status bar's panel.
    QString statusText() const;
    /// Registry windows open now, of every registry.
    static int openWindows();

    QtDBEdit* dbeCodigoMerlin;
    QPushButton* btnPesquisar;
    TBarraCadastro* BarraCadastro;
    QPushButton* btnImportar;

    /// Every row, the last one shown; then the code field's lookup once.
    void FormShow();
    /// Focus arrives in the code field: the hint for ALT+V.
    void dbeCodigoMerlinEnter();
    /// Focus leaves the code field: look the code up (and offer to include it).
    void dbeCodigoMerlinExit();
    /// ALT+V in the code field: a new row with the next free code.
    void dbeCodigoMerlinCodigoVago();
    void BarraCadastroClick(TBarraCadastro* sender, int index);
    void btnPesquisarClick();
    void btnImportarClick();

    // The toolbar's actions.
    void Salvar();
    void Incluir();
    void Excluir();
    void LimparCampos();

protected:
    TfrmCadastro(AppContext& ctx, const Registry& registry, const char* descriptionEditName,
                 const char* descriptionLabel, const char* statusBarName, QWidget* parent);

    /// The description edit (dbeUnidade, dbePais, dbeNome).
    QtDBEdit* descriptionEdit() const { return m_description; }
    /// The status bar (sttUnidade, sttPais …).
    QStatusBar* statusBarWidget() const { return m_statusBar; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setStatus(const std::string& text);
    /// Runs action; a failure is reported (error box, ERRO.CSV) and ends it.
    bool guarded(const std::string& procedure, const std::function<void()>& action);
    std::string lookupProcedure() const;
    void ensureOpen();
    void startInsert(const std::string& code);
    void restorePending(RegistryEditState state, const std::string& code, const std::string& description);
    void release();

    AppContext& m_ctx;
    RegistryOperations m_ops;
    QtDBEdit* m_description;
    QLabel* m_status;
    QStatusBar* m_statusBar;
    bool m_newRecordMode = false;
    bool m_inCodeExit = false;
    bool m_codeFieldEntered = false;
    bool m_closing = false;
    bool m_released = false;
    bool m_registered = false;
};
