#include "integra/WholeFile.h"

#include "base/AppError.h"
#include "platform/Paths.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string reason() {
    return std::strerror(errno);
}

// A name beside path that no other writer picks: the folder, a dot, the name and a random tail.
std::string temporaryBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    std::mt19937_64 generator(
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<unsigned long long>(++counter) << 32));
    const std::string folder = folderOf(path);
    const std::string name = "." + fileNameOf(path) + "." + std::to_string(generator() % 1000000000ULL) + ".tmp";
    return folder.empty() ? name : joinPath(folder, name);
}

} // namespace

std::string readWholeFile(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    if (fs::is_directory(path, ec))
        throw AppError("O caminho " + path + " é uma pasta, não um arquivo.");
    File f(std::fopen(path.c_str(), "rb"));
    if (!f)
        throw AppError("Não foi possível ler o arquivo " + path + ": " + reason());
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
        if (n == 0)
            break;
        if (bytes.size() + n > maxBytes)
            throw AppError("O arquivo " + path + " é grande demais (mais de " +
                           std::to_string(maxBytes / (1024 * 1024)) + " MB).");
        bytes.append(buffer, n);
    }
    if (std::ferror(f.get()))
        throw AppError("Não foi possível ler o arquivo " + path + ": " + reason());
    return bytes;
}

void writeWholeFile(const std::string& path, const std::string& bytes) {
    std::string temporary;
    File f;
    for (int attempt = 0; attempt < 10 && !f; ++attempt) {
        temporary = temporaryBeside(path);
        f.reset(std::fopen(temporary.c_str(), "wbx"));
        if (!f && errno != EEXIST)
            break;
    }
    if (!f)
        throw AppError("Não foi possível gravar o arquivo " + path + ": " + reason());
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    const bool flushed = std::fflush(f.get()) == 0;
    const std::string why = reason();
    const bool closed = std::fclose(f.release()) == 0;
    std::error_code ec;
    if (!written || !flushed || !closed) {
        fs::remove(temporary, ec);
        throw AppError("Não foi possível gravar o arquivo " + path + " (disco cheio ou sem permissão): " + why);
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw AppError("Não foi possível gravar o arquivo " + path + ": " + ec.message());
    }
}
