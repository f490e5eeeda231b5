#include "cadastros/TfrmUnidade.h"

#include "cadastros/Registry.h"

TfrmUnidade::TfrmUnidade(AppContext& ctx, QWidget* parent)
    : TfrmCadastro(ctx, Registry::unidade(), "dbeUnidade", "Unidade:", "sttUnidade", parent),
      dbeUnidade(descriptionEdit()), sttUnidade(statusBarWidget()) {}

TfrmUnidade* TfrmUnidade::openWindow(AppContext& ctx) {
    return static_cast<TfrmUnidade*>(open(ctx, Registry::unidade(), [&ctx] { return new TfrmUnidade(ctx); }));
}
