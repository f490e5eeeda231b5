// A second process for the Integra tests.
//   integra_test_helper hold LOCATION                 attach, print "ready", stay until stdin closes
//   integra_test_helper write LOCATION PREFIX COUNT   COUNT mappings (VINCULO) and COUNT returned
//                                                      processes (GERADOS), one statement each
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "cadastros/CodeMapping.h"
#include "data/TDM.h"
#include "platform/Platform.h"

#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    try {
        auto platform = Platform::createNative();
        ScriptedOperator op;
        Settings settings(*platform);
        Logs logs(*platform, op);
        TDM dm;
        AppContext ctx{*platform, op, settings, logs, dm};
        dm.sqlConIntegra.setDatabase(argv[2]);
        if (mode == "hold" && argc == 3) {
            dm.sqlDsVinculo.open();
            std::cout << "ready" << std::endl;
            std::string line;
            while (std::getline(std::cin, line)) {
            }
            return 0;
        }
        if (mode == "write" && argc == 5) {
            const std::string prefix = argv[3];
            const int count = std::atoi(argv[4]);
            CodeMapping mapping(ctx);
            for (int i = 1; i <= count; ++i) {
                const std::string n = std::to_string(i);
                if (!mapping.save(prefix, "fabricante", "c" + n, "m" + n)) {
                    std::cerr << "mapping " << n
                              << " not saved: " << (op.messages().empty() ? "" : op.messages().back()) << "\n";
                    return 1;
                }
                dm.sqlDsGerados.execute("INSERT INTO GERADOS VALUES (" + IntegraDatabase::quote("DI") + ", " +
                                        IntegraDatabase::quote(prefix + "-" + n) + ", " +
                                        IntegraDatabase::quote("12/31/2024") + ")");
            }
            return 0;
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    std::cerr << "usage: integra_test_helper hold LOCATION | write LOCATION PREFIX COUNT\n";
    return 2;
}
