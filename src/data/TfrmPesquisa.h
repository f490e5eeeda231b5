#pragma once

#include <QDialog>

#include <exception>
#include <string>
#include <vector>

class IntegraTable;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QTableView;
class QtRecordSetModel;
struct AppContext;

/// The search window over one Integra table: the operator picks a column in "Procurar por...", types
/// a fragment, and the table is queried again on every keystroke for the rows whose column contains
/// it (without regard to case). It works on the caller's own statement and rows, so when it closes
/// the caller's rows hold the last query, current on the row chosen in the grid.
class TfrmPesquisa : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Pesquisa";
    static constexpr const char* GroupCaption = "Procurar por...";
    static constexpr const char* NoFieldSelected = "Selecione o campo para pesquisa !";

    /// Opens the search on table: every row, one item per column, the first item chosen. A failing
    /// query is reported (opened() is false then).
    TfrmPesquisa(AppContext& ctx, IntegraTable& table, QWidget* parent = nullptr);
    ~TfrmPesquisa() override;

    /// The search of the registry and mapping windows: shows the window modally and returns when it
    /// closes. False when the table could not be read (the operator has been told; no window shown).
    static bool Pesquisar(AppContext& ctx, IntegraTable& table, QWidget* parent = nullptr);

    bool opened() const { return m_opened; }
    /// The column each item of the radio group stands for, in order.
    const std::vector<std::string>& itemColumns() const { return m_columns; }
    /// Chooses item index (−1: none).
    void selectItem(int index);

    QLineEdit* edtPesquisa;
    QTableView* dbgPesquisa;
    QGroupBox* dbrPesquisa;
    QButtonGroup* dbrPesquisaItems;

    /// Queries again with the search text (every change of the text).
    void edtPesquisaChange();
    /// Enter in the text or the grid, a double click in the grid: closes with the current row kept.
    void dbgPesquisaDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openSearch();
    void fillItems();
    void followCursor(int position);
    void gridRowChosen(int line);
    void report(const std::exception& failure);

    AppContext& m_ctx;
    IntegraTable& m_table;
    QtRecordSetModel* m_model = nullptr;
    std::vector<std::string> m_columns;
    bool m_opened = false;
    bool m_syncing = false;
};
