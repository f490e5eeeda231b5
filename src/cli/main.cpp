// pelomira-cli: the program's operations without a window, for scripts, scheduled jobs, set-up and
// acceptance tests.
#include "cli/CliRunner.h"
#include "data/EmbeddedFirebird.h"
#include "platform/Platform.h"
#include "platform/TerminationSignals.h"

#include <iostream>

int main(int argc, char** argv) {
    TerminationSignals::install();
    EmbeddedFirebird::prepare();
    auto platform = Platform::createNative();
    return runCli(std::vector<std::string>(argv + 1, argv + argc), *platform, std::cout, std::cerr);
}
