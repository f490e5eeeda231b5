#include "cadastros/TfrmFabricante.h"

#include "cadastros/Registry.h"

TfrmFabricante::TfrmFabricante(AppContext& ctx, QWidget* parent)
    : TfrmCadastro(ctx, Registry::fabricante(), "dbeNome", "Nome:", "sttFabricante", parent),
      dbeNome(descriptionEdit()), sttFabricante(statusBarWidget()) {}

TfrmFabricante* TfrmFabricante::openWindow(AppContext& ctx) {
    return static_cast<TfrmFabricante*>(open(ctx, Registry::fabricante(), [&ctx] { return new TfrmFabricante(ctx); }));
}
