#pragma once

#include "cli/CliCommand.h"

#include <vector>

/// Every command of pelomira-cli, in the order the help lists them. A new command is one line in
/// CliCommands.cpp.
const std::vector<CliCommand>& allCliCommands();

// The commands of each area, each defined in the area's Cli*.cpp.
CliCommand settingsCommand();
CliCommand initOrientadorCommand();
CliCommand initIntegraCommand();
CliCommand reindexCommand();
CliCommand mappingCommand();
CliCommand registryCommand();
CliCommand fetchCommand();
CliCommand loadCommand();
CliCommand transferCommand();
// NORVIK
CliCommand initNorvikCommand();
CliCommand norvikCommand();
// table export
CliCommand exportTablesCommand();
// customer integrations
CliCommand integrateCommand();
