#include "integra/WholeFile.h"

#include "base/AppError.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string reason() {
    return systemErrorText(errno);
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
