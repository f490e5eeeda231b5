#pragma once

#include "cadastros/TfrmCadastro.h"

/// The registry window of units of measure (table UNIDADE).
class TfrmUnidade : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmUnidade(AppContext& ctx, QWidget* parent = nullptr);

    /// Creates the window and shows it modeless; nullptr (the operator told why) when it cannot be opened.
    static TfrmUnidade* openWindow(AppContext& ctx);

    QtDBEdit* dbeUnidade;
    QStatusBar* sttUnidade;
};
