#pragma once

#include "cli/CliCommand.h"

#include <iosfwd>
#include <string>
#include <vector>

class Platform;

/// The options and words of one command, checked against the options it declares. Throws
/// CliUsageError naming the option that is wrong.
CliArgs parseCliArgs(const CliCommand& command, const std::vector<std::string>& words);

struct CliUsageError {
    std::string why;
};

/// pelomira-cli as a function: words are argv without the program name. Messages go to out and err;
/// the return value is the exit code. The commands are the ones of allCliCommands().
int runCli(const std::vector<std::string>& words, Platform& platform, std::ostream& out, std::ostream& err);

/// The help of every command, or of one ("pelomira-cli help transfer").
void printCliHelp(std::ostream& out, const std::vector<CliCommand>& commands, const std::string& only);
