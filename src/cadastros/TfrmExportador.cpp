#include "cadastros/TfrmExportador.h"

#include "cadastros/Registry.h"

TfrmExportador::TfrmExportador(AppContext& ctx, QWidget* parent)
    : TfrmCadastro(ctx, Registry::exportador(), "dbeNome", "Nome:", "sttExportador", parent),
      dbeNome(descriptionEdit()), sttExportador(statusBarWidget()) {}

TfrmExportador* TfrmExportador::openWindow(AppContext& ctx) {
    return static_cast<TfrmExportador*>(open(ctx, Registry::exportador(), [&ctx] { return new TfrmExportador(ctx); }));
}
