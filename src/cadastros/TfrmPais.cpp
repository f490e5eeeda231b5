#include "cadastros/TfrmPais.h"

#include "cadastros/Registry.h"

TfrmPais::TfrmPais(AppContext& ctx, QWidget* parent)
    : TfrmCadastro(ctx, Registry::pais(), "dbePais", "País:", "sttPais", parent), dbePais(descriptionEdit()),
      sttPais(statusBarWidget()) {}

TfrmPais* TfrmPais::openWindow(AppContext& ctx) {
    return static_cast<TfrmPais*>(open(ctx, Registry::pais(), [&ctx] { return new TfrmPais(ctx); }));
}
