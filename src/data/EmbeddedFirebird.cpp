#include "data/EmbeddedFirebird.h"

#include "base/AppError.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#ifndef _WIN32
#include <dirent.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr const char* ConfigFile = "firebird.conf";

std::string failureText(const std::string& what, int errnum) {
    return what + ": " + systemErrorText(errnum) + ".";
}

std::string realPath(const std::string& path) {
    std::error_code ec;
    const auto real = std::filesystem::canonical(path, ec);
    return ec ? std::string() : real.string();
}

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A stable hash: the name of a private root must be the same in every process and every build.
std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

// The engine keeps the first value it reads for a key, so the mode is set before the installed
// configuration is taken in: an installation that names another mode cannot undo it.
std::string configText(const std::string& installedRoot) {
    std::string text = "# Made by Pelomira for its embedded engine: processes of one user share a database file\n"
                       "# through the lock folder in FIREBIRD_LOCK. Everything else is the installed configuration.\n"
                       "ServerMode = SuperClassic\n";
    if (fileExists(joinPath(installedRoot, ConfigFile)))
        text += "include " + joinPath(installedRoot, ConfigFile) + "\n";
    return text;
}

void writeWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out)
        throw AppError(failureText("Não foi possível gravar " + path, errno ? errno : EIO));
}

#ifndef _WIN32
std::string folderIn(const std::string& parent, const std::string& name, unsigned uid) {
    const std::string folder = joinPath(parent, name);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw AppError(failureText("Não foi possível criar a pasta " + folder + " do Firebird embutido", errno));
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        throw AppError(failureText("Não foi possível examinar a pasta " + folder + " do Firebird embutido", errno));
    if (!S_ISDIR(st.st_mode) || st.st_uid != uid)
        throw AppError("A pasta " + folder +
                       " do Firebird embutido não é uma pasta deste usuário (foi criada por outro usuário ou é um "
                       "atalho). Apague-a ou defina FIREBIRD_LOCK com uma pasta sua.");
    // Lock tables that others could write would let them corrupt our databases.
    if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        throw AppError(failureText("Não foi possível proteger a pasta " + folder + " do Firebird embutido", errno));
    return folder;
}

int findClientLibrary(dl_phdr_info* info, size_t, void* data) {
    const std::string name = info->dlpi_name ? info->dlpi_name : "";
    if (fileNameOf(name).rfind("libfbclient.so", 0) == 0) {
        *static_cast<std::string*>(data) = name;
        return 1;
    }
    return 0;
}
#endif

bool holdsLibrary(const std::string& root, const std::string& realLibrary) {
    const std::string lib = joinPath(root, "lib");
    for (const std::string& name : entriesOf(lib))
        if (name.rfind("libfbclient.so", 0) == 0 && realPath(joinPath(lib, name)) == realLibrary)
            return true;
    return false;
}

EmbeddedFirebird::Setup makeSetup() {
    EmbeddedFirebird::Setup setup;
#ifndef _WIN32
    try {
        const char* presetRoot = std::getenv("FIREBIRD");
        const char* presetLock = std::getenv("FIREBIRD_LOCK");
        const std::string givenRoot = presetRoot ? presetRoot : "";
        std::string folder;
        auto userFolder = [&] {
            if (folder.empty())
                folder = EmbeddedFirebird::userFolder("/tmp", ::getuid());
            return folder;
        };
        // The lock folder depends on the user alone, never on the session: a scheduled job without
        // a desktop session and the window must meet in the same lock tables.
        if (presetLock && *presetLock) {
            setup.lockFolder = presetLock;
            if (::mkdir(presetLock, 0700) != 0 && errno != EEXIST)
                throw AppError(failureText("Não foi possível criar a pasta " + setup.lockFolder +
                                               " (FIREBIRD_LOCK) do Firebird embutido",
                                           errno));
        } else {
            setup.lockFolder = folderIn(userFolder(), "lock", ::getuid());
        }
        if (!givenRoot.empty() && EmbeddedFirebird::isPrivateRoot(givenRoot)) {
            setup.root = givenRoot;
        } else {
            const std::string library = EmbeddedFirebird::clientLibraryPath();
            const std::string installed =
                givenRoot.empty() ? EmbeddedFirebird::installedRootOf(library) : realPath(givenRoot);
            if (installed.empty() || !folderExists(installed))
                throw AppError("A instalação do Firebird não foi encontrada junto da biblioteca " +
                               (library.empty() ? std::string("fbclient") : library) +
                               "; defina FIREBIRD com a pasta da instalação.");
            setup.root = EmbeddedFirebird::privateRoot(userFolder(), installed);
        }
        ::setenv("FIREBIRD", setup.root.c_str(), 1);
        ::setenv("FIREBIRD_LOCK", setup.lockFolder.c_str(), 1);
    } catch (const AppError& e) {
        setup.failure = e.what();
    }
#endif
    return setup;
}

} // namespace

const EmbeddedFirebird::Setup& EmbeddedFirebird::prepare() {
    static const Setup setup = makeSetup();
    return setup;
}

bool EmbeddedFirebird::isPrivateRoot(const std::string& folder) {
    return fileExists(joinPath(folder, MarkerFile));
}

#ifndef _WIN32

std::string EmbeddedFirebird::userFolder(const std::string& parent, unsigned uid) {
    return folderIn(parent, "pelomira-firebird-" + std::to_string(uid), uid);
}

std::string EmbeddedFirebird::clientLibraryPath() {
    std::string path;
    ::dl_iterate_phdr(findClientLibrary, &path);
    return path;
}

std::string EmbeddedFirebird::installedRootOf(const std::string& libraryPath) {
    const std::string real = realPath(libraryPath);
    if (real.empty())
        return std::string();
    const std::string libFolder = folderOf(libraryPath);
    std::vector<std::string> candidates = {folderOf(libFolder)};
    const std::string versions = joinPath(libFolder, "firebird");
    for (const std::string& name : entriesOf(versions))
        candidates.push_back(joinPath(versions, name));
    for (const std::string& candidate : candidates)
        if (!candidate.empty() && fileExists(joinPath(candidate, ConfigFile)) && holdsLibrary(candidate, real))
            return realPath(candidate);
    return std::string();
}

std::string EmbeddedFirebird::privateRoot(const std::string& folder, const std::string& installedRoot) {
    std::vector<std::string> entries = entriesOf(installedRoot);
    entries.erase(std::remove(entries.begin(), entries.end(), ConfigFile), entries.end());
    const std::string config = configText(installedRoot);
    std::string identity = installedRoot + '\n' + config;
    for (const std::string& e : entries)
        identity += '\n' + e;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(fnv1a(identity)));
    const std::string root = joinPath(folder, std::string("root-") + hex);
    if (isPrivateRoot(root))
        return root;

    std::string temporary = joinPath(folder, ".root-XXXXXX");
    if (!::mkdtemp(temporary.data()))
        throw AppError(failureText("Não foi possível criar a configuração do Firebird embutido em " + folder, errno));
    std::error_code ignored;
    try {
        for (const std::string& e : entries)
            if (::symlink(joinPath(installedRoot, e).c_str(), joinPath(temporary, e).c_str()) != 0)
                throw AppError(
                    failureText("Não foi possível criar a configuração do Firebird embutido em " + folder, errno));
        writeWhole(joinPath(temporary, ConfigFile), config);
        // The marker goes in last: a root is taken as whole only when it is there.
        writeWhole(joinPath(temporary, MarkerFile), installedRoot + "\n");
        if (::rename(temporary.c_str(), root.c_str()) != 0) {
            const int e = errno;
            // Another process made the same root first: its content is the same as ours.
            if ((e == ENOTEMPTY || e == EEXIST) && isPrivateRoot(root)) {
                std::filesystem::remove_all(temporary, ignored);
                return root;
            }
            throw AppError(failureText("Não foi possível criar a configuração do Firebird embutido " + root, e));
        }
    } catch (...) {
        std::filesystem::remove_all(temporary, ignored);
        throw;
    }
    return root;
}

#else

std::string EmbeddedFirebird::userFolder(const std::string&, unsigned) {
    return std::string();
}
std::string EmbeddedFirebird::clientLibraryPath() {
    return std::string();
}
std::string EmbeddedFirebird::installedRootOf(const std::string&) {
    return std::string();
}
std::string EmbeddedFirebird::privateRoot(const std::string&, const std::string&) {
    return std::string();
}

#endif
