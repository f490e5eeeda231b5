#include "app/QtCommandWiring.h"

#include "app/AppContext.h"
#include "app/QtOperator.h"
#include "app/TfrmPrincipal.h"
#include "app/BusyGuard.h"
#include "data/IntegraReindex.h"
// registries and code mapping (cadastros)
#include "cadastros/TfrmExportador.h"
#include "cadastros/TfrmFabricante.h"
#include "cadastros/TfrmPais.h"
#include "cadastros/TfrmUnidade.h"
#include "cadastros/TfrmVinculo.h"

// Each area wires its commands in its own block:
//     principal.setCommand(MainCommand::Retorno, [&ctx] { /* create and show the window */ });
// The settings window and the exit are built into the main window.
void wireMainCommands(TfrmPrincipal& principal, QtOperator& op, AppContext& ctx) {
    (void)principal;
    (void)op;
    (void)ctx;

    // --- process requests (import): BuscarDI, BuscarLI, BuscarDSI, BuscarLSI, NorvikDI

    // --- return (retorno): Retorno; the alert work: principal.alertScheduler().setWork(...)

    // --- table export (export): Tabelas

    // --- registries and code mapping (cadastros): Exportador, Fabricante, Pais, Unidade;
    //     op.setCodeMappingPrompt(...)
    // Each click opens a new window, shown modeless; it frees itself when closed.
    principal.setCommand(MainCommand::Exportador, [&ctx] { TfrmExportador::openWindow(ctx); });
    principal.setCommand(MainCommand::Fabricante, [&ctx] { TfrmFabricante::openWindow(ctx); });
    principal.setCommand(MainCommand::Pais, [&ctx] { TfrmPais::openWindow(ctx); });
    principal.setCommand(MainCommand::Unidade, [&ctx] { TfrmUnidade::openWindow(ctx); });
    op.setCodeMappingPrompt(
        [&ctx](const std::string& customer, const std::string& registry, const std::string& customerCode) {
            return TfrmVinculo::prompt(ctx, customer, registry, customerCode);
        });

    // --- customer integrations (integra): Samsung, Synthes, Honeywell

    // --- Integra database (data): RecriarIndices
    principal.setCommand(MainCommand::RecriarIndices, [&ctx] {
        BusyGuard busy("Recriando Índices");
        IntegraReindex::run(ctx);
    });
}
