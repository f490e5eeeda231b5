#pragma once

#include "TestEnv.h"
#include "cli/CliRunner.h"
#include "platform/Platform.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

/// The command line run in the test's own process as pelomira-cli runs it, with what it printed kept.
struct CliOutputs {
    std::string out, err;

    int runOn(Platform& platform, const std::vector<std::string>& words) {
        std::ostringstream o, e;
        const int code = runCli(words, platform, o, e);
        out = o.str();
        err = e.str();
        return code;
    }
};

/// The command line in a private program folder and settings of its own.
struct Cli : CliOutputs {
    TestEnv env;
    std::unique_ptr<Platform> platform = Platform::createNative();

    int run(const std::vector<std::string>& words) { return runOn(*platform, words); }
};
