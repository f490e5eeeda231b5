#pragma once

#include "import/ProcessTransfers.h"

#include <QWidget>

#include <string>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppContext;

/// The process request window: asks Merlin for one process by reference and year and hands the
/// document to the Orientador entry (SISCOMEX ticked) and to the NORVIK entry (NORVIK ticked, kind DI
/// or LI). With "Manual" ticked nothing is asked and the transfers let the operator pick the file.
/// Modeless; frees itself when closed. Any number of requests may be made from one window.
class TfrmImportar_Merlin : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Importação - MERLIN";
    /// The kinds of rgTipoProcesso, by index.
    static constexpr const char* Kinds[] = {"DI", "LI", "DSI", "LSI"};

    /// Runs FormCreate. transfers: the transfers the entries dispatch to.
    explicit TfrmImportar_Merlin(AppContext& ctx, ProcessTransfers transfers = ProcessTransfers::available(),
                                 QWidget* parent = nullptr);
    ~TfrmImportar_Merlin() override;

    /// The newest request window while it is open (the main window's reference to it), else null.
    static TfrmImportar_Merlin* latest();

    /// The preset of the main window's process request commands: kind selected, SISCOMEX ticked or
    /// (norvik) NORVIK ticked, which disables the kind choice; Manual clear; focus on the reference.
    void preset(int kind, bool norvik);

    /// rgTipoProcesso's selected index (0 DI … 3 LSI), -1 when none.
    int tipoProcesso() const;
    void setTipoProcesso(int index);
    /// True while btnImportar_MerlinClick runs (it lets window messages through).
    bool importing() const { return m_importing; }

    /// Kind DI, year from today's date.
    void FormCreate();
    /// Ticking NORVIK disables the kind choice, clearing it enables it again; the selection stays.
    void cbNORVIKClick();
    /// The request (unless Manual) and the hand-over to the ticked targets.
    void btnImportar_MerlinClick();

    QGroupBox* gbImportarPara;
    QCheckBox* cbSISCOMEX;
    QCheckBox* cbNORVIK;
    QGroupBox* rgTipoProcesso;
    QButtonGroup* rgTipoProcessoItems;
    QLabel* lblProcesso_Merlin;
    QLineEdit* edProcesso_Merlin;
    QLabel* lblAno;
    QLineEdit* edAno;
    QCheckBox* cbManual;
    QPushButton* btnImportar_Merlin;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runImport();

    AppContext& m_ctx;
    ProcessTransfers m_transfers;
    bool m_importing = false;
};
