#include "base/AppContext.h"
#include "base/Settings.h"
#include "cli/CliCommands.h"

#include <iostream>

void registerSettingsCommands(std::vector<CliCommand>& commands) {
    commands.push_back({"settings", "settings init | get SECTION KEY | set SECTION KEY VALUE | path",
                        [](AppContext& ctx, const CliArgs& args) -> int {
                            const auto& p = args.positional;
                            if (p.size() == 2 && p[1] == "init") {
                                if (!ctx.settings.exists())
                                    ctx.settings.writeFirstRunDefaults();
                                std::cout << ctx.settings.path() << "\n";
                                return 0;
                            }
                            if (p.size() == 2 && p[1] == "path") {
                                std::cout << ctx.settings.path() << "\n";
                                return 0;
                            }
                            if (p.size() == 4 && p[1] == "get") {
                                std::cout << ctx.settings.read(p[2], p[3]) << "\n";
                                return 0;
                            }
                            if (p.size() == 5 && p[1] == "set") {
                                ctx.settings.write(p[2], p[3], p[4]);
                                return 0;
                            }
                            std::cerr << "uso: pelomira-cli settings init | get SECTION KEY | set SECTION KEY VALUE\n";
                            return 2;
                        }});
}
