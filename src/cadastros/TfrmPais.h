#pragma once

#include "cadastros/TfrmCadastro.h"

/// The registry window of countries (table PAIS). Its code field has no Enter, Exit or ALT+V handling:
/// the code is looked up only when the window shows.
class TfrmPais : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmPais(AppContext& ctx, QWidget* parent = nullptr);

    /// Creates the window and shows it modeless; nullptr (the operator told why) when it cannot be opened.
    static TfrmPais* openWindow(AppContext& ctx);

    QtDBEdit* dbePais;
    QStatusBar* sttPais;
};
