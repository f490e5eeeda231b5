#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

struct AppContext;

/// Parsed command line of pelomira-cli: positional words and --options (an option without a
/// value holds "").
struct CliArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;

    bool has(const std::string& option) const { return options.count(option) != 0; }
    std::string get(const std::string& option, const std::string& fallback = std::string()) const {
        const auto it = options.find(option);
        return it == options.end() ? fallback : it->second;
    }
};

/// One pelomira-cli command. run returns the process exit code.
struct CliCommand {
    std::string name;  // first word
    std::string usage; // one line shown by "pelomira-cli help"
    std::function<int(AppContext&, const CliArgs&)> run;
};

/// Commands of each area; pelomira-cli's main gathers them.
void registerSettingsCommands(std::vector<CliCommand>& commands);

// Orientador commands
void registerOrientadorCommands(std::vector<CliCommand>& commands);

// Integra commands
void registerIntegraCommands(std::vector<CliCommand>& commands);

// import commands
void registerMerlinCommands(std::vector<CliCommand>& commands);
void registerImportCommands(std::vector<CliCommand>& commands);
void registerTransferCommands(std::vector<CliCommand>& commands);

// NORVIK commands
