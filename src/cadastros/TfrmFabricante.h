#pragma once

#include "cadastros/TfrmCadastro.h"

/// The registry window of manufacturers (table FABRICANTE).
class TfrmFabricante : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmFabricante(AppContext& ctx, QWidget* parent = nullptr);

    /// Creates the window and shows it modeless; nullptr (the operator told why) when it cannot be opened.
    static TfrmFabricante* openWindow(AppContext& ctx);

    QtDBEdit* dbeNome;
    QStatusBar* sttFabricante;
};
