#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

#include <string>

class QLabel;
class QPushButton;
class QTableView;
class QtRecordSetModel;
struct AppContext;

/// The return window: the registered processes not yet returned (the manual scan, run each time the
/// window shows), a tick box per process in the first column, and "Gerar", which returns the ticked
/// ones to Merlin and scans again. With nothing left to return it says so and closes.
///
/// One window at a time: the menu command brings an open one to the front, since every window would
/// show the same list (the data module's cdsTemp). Modeless; frees itself when closed.
class TfrmRetorno : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Retorno de Processos";
    static constexpr const char* LabelText = "Selecione os processos a serem retornados:";
    static constexpr const char* NothingLeft = "Não existem processos registrados a serem retornados no momento!";
    static constexpr const char* BusyOperation = "Retorno de Processos";
    static constexpr const char* FailureHeadline = "OCORREU UM ERRO";
    /// The grid's visible columns: title and width, by column.
    static constexpr const char* Titles[] = {" ", "Tipo Processo", "Registro", "Registro SISCOMEX", "Data Registro"};
    static constexpr int Widths[] = {37, 80, 85, 105, 75};
    /// Where the tick images are drawn in the IMPORTAR cell.
    static constexpr int ImageLeft = 10;
    static constexpr int ImageTop = 1;

    /// The menu command (Processos1, ToolButton7, ALT+R, the tray's "&Gerar Retorno"): a new window,
    /// or the open one brought to the front.
    static TfrmRetorno* openWindow(AppContext& ctx);
    /// The main window's reference: the open return window, else null.
    static TfrmRetorno* current();

    explicit TfrmRetorno(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmRetorno() override;

    /// The manual scan into the data module's return list; false when it failed (already reported).
    bool CarregarRetorno();
    /// Scans, then shows the list, or says there is nothing to return and closes. Runs after the window
    /// shows, and again after each return.
    void FormShow();
    /// Returns the ticked processes (manual mode), then scans again.
    void btnGerarClick();
    /// A click in a cell: in the IMPORTAR column it inverts the current row's tick.
    void dbgRetornoCellClick(int column);

    /// True while a scan or a return of this window runs (both let window messages through).
    bool running() const { return m_running; }

    QLabel* lblSelecione;
    QTableView* dbgRetorno;
    QPushButton* btnGerar;
    /// 0: the box's ground, 1: unticked, 2: ticked.
    QList<QPixmap> imgCkeckBox;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setColumns();
    void followCursor(int position);
    void gridRowChosen(int line);
    bool refuseWhileBusy(const std::string& whatFor);

    AppContext& m_ctx;
    QtRecordSetModel* m_model = nullptr;
    bool m_running = false;
    bool m_syncing = false;
    bool m_shown = false;
};
