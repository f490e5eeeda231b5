#include "app/QtCommandWiring.h"

#include "app/AppContext.h"
#include "app/QtOperator.h"
#include "app/TfrmPrincipal.h"
#include "app/BusyGuard.h"
#include "data/IntegraReindex.h"

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

    // --- customer integrations (integra): Samsung, Synthes, Honeywell

    // --- Integra database (data): RecriarIndices
    principal.setCommand(MainCommand::RecriarIndices, [&ctx] {
        BusyGuard busy("Recriando Índices");
        IntegraReindex::run(ctx);
    });
}
