#include "base/AppContext.h"
#include "cli/CliCommands.h"
#include "data/OrientadorFolder.h"

#include <iostream>

void registerOrientadorCommands(std::vector<CliCommand>& commands) {
    commands.push_back({"init-orientador", "init-orientador PASTA [--sample] [--force]",
                        [](AppContext& ctx, const CliArgs& args) -> int {
                            if (args.positional.size() != 2) {
                                std::cerr << "uso: pelomira-cli init-orientador PASTA [--sample] [--force]\n";
                                return 2;
                            }
                            const std::string folder = args.positional[1];
                            OrientadorFolder::Options options;
                            options.sample = args.has("--sample");
                            options.force = args.has("--force");
                            if (!options.force) {
                                const auto present = OrientadorFolder::existingFiles(ctx.platform, folder);
                                if (!present.empty()) {
                                    std::cerr << "A pasta " << folder << " já contém arquivos do Orientador:";
                                    for (const auto& p : present)
                                        std::cerr << " " << p;
                                    std::cerr << "\nNada foi alterado; use --force para substituí-los.\n";
                                    return 1;
                                }
                            }
                            for (const auto& path : OrientadorFolder::create(ctx.platform, folder, options))
                                std::cout << path << "\n";
                            return 0;
                        }});
}
