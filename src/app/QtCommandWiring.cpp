#include "app/QtCommandWiring.h"

#include "app/TfrmPrincipal.h"
#include "base/AppContext.h"
#include "base/BusyGuard.h"
#include "base/QtOperator.h"
#include "cadastros/TfrmExportador.h"
#include "cadastros/TfrmFabricante.h"
#include "cadastros/TfrmPais.h"
#include "cadastros/TfrmUnidade.h"
#include "cadastros/TfrmVinculo.h"
#include "data/IntegraReindex.h"
#include "data/TDM.h"
#include "export/TfrmImportar.h"
#include "import/ProcessRecordSets.h"
#include "import/TfrmImportar_Merlin.h"
#include "integra/CustomerFormat.h"
#include "integra/CustomerIntegration.h"

// Each area wires its commands in its own block:
//     principal.setCommand(MainCommand::Retorno, [&ctx] { /* create and show the window */ });
// The settings window and the exit are built into the main window.
void wireMainCommands(TfrmPrincipal& principal, QtOperator& op, AppContext& ctx) {
    // --- process requests (import): BuscarDI, BuscarLI, BuscarDSI, BuscarLSI, NorvikDI
    {
        // Each command resets the process record sets and opens a new request window, preset for its
        // kind (0 DI … 3 LSI) and target. The windows go with the main window at the latest.
        auto processRequest = [&principal, &ctx](int kind, bool norvik) {
            return [&principal, &ctx, kind, norvik] {
                // A hot key can arrive while a transfer runs on these record sets: leave them to it.
                if (!BusyGuard::busy())
                    resetProcessRecordSets(ctx.dm);
                auto* window = new TfrmImportar_Merlin(ctx);
                QObject::connect(&principal, &QObject::destroyed, window, [window] { delete window; });
                window->preset(kind, norvik);
                window->show();
                window->raise();
                window->activateWindow();
            };
        };
        principal.setCommand(MainCommand::BuscarDI, processRequest(0, false));
        principal.setCommand(MainCommand::BuscarLI, processRequest(1, false));
        principal.setCommand(MainCommand::BuscarDSI, processRequest(2, false));
        principal.setCommand(MainCommand::BuscarLSI, processRequest(3, false));
        principal.setCommand(MainCommand::NorvikDI, processRequest(0, true));
    }

    // --- return (retorno): Retorno; the alert work: principal.alertScheduler().setWork(...)

    // --- table export (export): Tabelas
    // Each command opens a new window; the windows go with the main window at the latest.
    principal.setCommand(MainCommand::Tabelas, [&principal, &ctx] {
        TfrmImportar* window = TfrmImportar::openWindow(ctx);
        QObject::connect(&principal, &QObject::destroyed, window, [window] { delete window; });
    });

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
    // Each runs to its end: file dialog, conversion (asking for missing code mappings), closing window.
    auto integration = [&ctx](const CustomerFormat& format) {
        return [&ctx, &format] { CustomerIntegration(ctx, format).run(); };
    };
    principal.setCommand(MainCommand::Samsung, integration(CustomerFormat::samsung()));
    principal.setCommand(MainCommand::Synthes, integration(CustomerFormat::synthes()));
    principal.setCommand(MainCommand::Honeywell, integration(CustomerFormat::honeywell()));

    // --- Integra database (data): RecriarIndices
    principal.setCommand(MainCommand::RecriarIndices, [&ctx] {
        BusyGuard busy("Recriando Índices");
        IntegraReindex::run(ctx);
    });
}
