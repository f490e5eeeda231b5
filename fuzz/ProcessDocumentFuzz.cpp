// libFuzzer harness: any bytes as the process document Merlin answers to the request window, through
// its load (TEMP.XML, DI.xtr into the process record sets, the impediment and identifier checks, the
// process kind). A failure must be the program's own error, told in words; nothing may crash.
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/ConsoleOperator.h"
#include "base/Logs.h"
#include "base/Settings.h"
#include "data/TDM.h"
#include "import/ProcessImport.h"
#include "platform/Platform.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace {

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

struct World {
    World() {
        char folder[] = "/tmp/pelomira-fuzz-XXXXXX";
        if (!::mkdtemp(folder))
            std::abort();
        root = folder;
        ::setenv("PELOMIRA_HOME", (root + "/home/").c_str(), 1);
        ::setenv("PELOMIRA_WINDIR", (root + "/windir").c_str(), 1);
        std::filesystem::create_directories(root + "/home");
        std::filesystem::create_directories(root + "/windir");
        platform = Platform::createNative();
        op = std::make_unique<ConsoleOperator>(*platform, ConsoleOperator::Answers{}, quiet, quiet);
        settings = std::make_unique<Settings>(*platform);
        logs = std::make_unique<Logs>(*platform, *op);
        settings->write(Settings::Dados, Settings::KeyArqTransform, PELOMIRA_SOURCE_DIR "/share/xtr");
        ctx = std::make_unique<AppContext>(AppContext{*platform, *op, *settings, *logs, dm});
    }
    ~World() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    std::string root;
    NullBuffer nothing;
    std::ostream quiet{&nothing};
    std::unique_ptr<Platform> platform;
    std::unique_ptr<ConsoleOperator> op;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<Logs> logs;
    TDM dm;
    std::unique_ptr<AppContext> ctx;
};

World& world() {
    static World w;
    return w;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World& w = world();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        TransferOutcome ended{};
        runProcessPrologue(*w.ctx, ProcessDestination::Orientador, text, ended);
    } catch (const AppError&) {
        // refused in words: what the request window reports
    }
    // The logs of a long run would fill the disk; each run starts them anew.
    std::error_code ec;
    std::filesystem::remove(w.root + "/home/PELOMIRA_LOG.CSV", ec);
    std::filesystem::remove(w.root + "/home/ERRO.CSV", ec);
    return 0;
}
