#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QPushButton;
class QtDBEdit;
class RecordSet;
struct AppContext;

/// The mapping window ("Vínculos (Tabela De / Para)"): asked for a customer code that has no Merlin
/// code yet, it shows the customer, the registry and the customer's code on a new VINCULO row and lets
/// the operator type or search the Merlin code and save the mapping. Modal.
class TfrmVinculo : public QDialog {
    Q_OBJECT
public:
    TfrmVinculo(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmVinculo() override;

    /// The code-mapping prompt of the operator: puts a new row with the three values on the VINCULO
    /// rows, selects the registry and shows the window modally until it closes. True when the window
    /// was shown (the lookup then looks again); false, with a message, for a registry the window does
    /// not list.
    static bool prompt(AppContext& ctx, const std::string& customer, const std::string& registry,
                       const std::string& customerCode);
    /// The part of prompt before the window is shown: the new row and the registry chosen. False for
    /// a registry the window does not list.
    bool prepare(const std::string& customer, const std::string& registry, const std::string& customerCode);

    RecordSet& rows();
    /// True once a mapping was saved.
    bool saved() const { return m_saved; }

    QtDBEdit* dbeCliente;
    QtDBEdit* dbeCodCliente;
    QtDBEdit* dbeCodMerlin;
    QComboBox* cbTabela;
    QPushButton* btnPesquisar_CodMerlin;
    QPushButton* btnSalvar;
    QPushButton* btnSair;

    void FormShow();
    void btnPesquisar_CodMerlinClick();
    void btnSalvarClick();
    void btnSairClick();

protected:
    void showEvent(QShowEvent* event) override;
    /// Every way the window closes ends here: the pending row is discarded and the chain closed.
    void done(int result) override;

private:
    void startRow(const std::string& merlinCode);

    AppContext& m_ctx;
    std::string m_customer;
    std::string m_registry;
    std::string m_customerCode;
    bool m_saved = false;
};
