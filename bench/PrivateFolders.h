#pragma once

// A benchmark's own program and settings folders below base, so that it never reads or writes the
// user's: PELOMIRA_WINDIR and PELOMIRA_HOME point into a fresh folder the caller removes at the end.
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace bench {

inline std::filesystem::path makePrivateFolders(const std::filesystem::path& base) {
    std::filesystem::create_directories(base);
    std::string tmpl = (base / "pelomira-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed in " + base.string());
    const std::filesystem::path root = tmpl;
    std::filesystem::create_directories(root / "windir");
    std::filesystem::create_directories(root / "home");
    ::setenv("PELOMIRA_WINDIR", (root / "windir").c_str(), 1);
    ::setenv("PELOMIRA_HOME", ((root / "home").string() + "/").c_str(), 1);
    return root;
}

} // namespace bench
