#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct AppContext;

/// One --option a command takes.
struct CliOption {
    enum class Kind { Flag, Text, Number };
    std::string name; // "--year"
    Kind kind = Kind::Flag;
    std::string valueName; // what the value is, in the help ("ANO")
    std::string help;

    /// The options that answer the operator's questions: --yes, --button N, --quiet (and --file, for
    /// commands whose file dialog it answers).
    static std::vector<CliOption> answers(bool withFile);
};

/// An exit code a command uses besides 0 (done), 1 (failed) and 2 (wrong command line).
struct CliExit {
    int code;
    std::string meaning;
};

/// The words and options a command was given, already checked against what it declares: an option it
/// does not know, a missing value or a number that is none never reach the command.
struct CliArgs {
    /// The command's name first, then its words. After "--" every word is a word, even "--x".
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;

    bool has(const std::string& option) const { return options.count(option) != 0; }
    std::string get(const std::string& option, const std::string& fallback = std::string()) const {
        const auto it = options.find(option);
        return it == options.end() ? fallback : it->second;
    }
    /// The value of a Number option (checked when parsed), or nullopt when not given.
    std::optional<long long> number(const std::string& option) const;
};

/// What a command runs with: the program's context and the two output streams.
struct CliContext {
    AppContext& app;
    std::ostream& out;
    std::ostream& err;
};

/// One pelomira-cli command: its name, how it is called, what it does, its options and exit codes,
/// and the code that runs it. run returns the exit code; AppError escaping it ends the command with
/// its message and code 1.
struct CliCommand {
    std::string name;
    std::string synopsis; // the words and options after the name, as the help shows them
    std::string summary;  // one sentence
    std::vector<CliOption> options;
    std::vector<CliExit> exits;
    std::function<int(CliContext&, const CliArgs&)> run;
};

/// Exit codes every command shares.
constexpr int CliExitDone = 0;
constexpr int CliExitFailed = 1;
constexpr int CliExitUsage = 2;

/// Prints why the command line is wrong and the command's synopsis to err; returns CliExitUsage.
int cliUsageError(CliContext& ctx, const CliCommand& command, const std::string& why);
