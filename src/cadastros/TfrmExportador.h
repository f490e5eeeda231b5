#pragma once

#include "cadastros/TfrmCadastro.h"

/// The registry window of exporters (table EXPORTADOR).
class TfrmExportador : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmExportador(AppContext& ctx, QWidget* parent = nullptr);

    /// Creates the window and shows it modeless; nullptr (the operator told why) when it cannot be opened.
    static TfrmExportador* openWindow(AppContext& ctx);

    QtDBEdit* dbeNome;
    QStatusBar* sttExportador;
};
