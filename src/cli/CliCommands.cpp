#include "cli/CliCommands.h"

const std::vector<CliCommand>& allCliCommands() {
    static const std::vector<CliCommand> commands = {
        // settings and set-up
        settingsCommand(),
        initOrientadorCommand(),
        initIntegraCommand(),
        // Integra database
        reindexCommand(),
        mappingCommand(),
        registryCommand(),
        // process import
        fetchCommand(),
        loadCommand(),
        transferCommand(),
        initNorvikCommand(),
        norvikCommand(),
        // table export
        exportTablesCommand(),
        // customer integrations
        integrateCommand(),
    };
    return commands;
}
