#include "base/IniFile.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"
#include "platform/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* Bom = "\xEF\xBB\xBF";

// The file a settings path stands for. A symbolic link is followed, so a replacement writes its target
// and the link stays a link (an INI kept on a shared folder and linked into the Windows folder).
std::string resolvedPath(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char target[4096];
        const ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
        if (n < 0)
            return current;
        std::string next(target, static_cast<size_t>(n));
        if (next.empty() || next.front() != '/')
            next = joinPath(folderOf(current).empty() ? "." : folderOf(current), next);
        current = next;
    }
    throw AppError("Não foi possível abrir o arquivo " + path + ": " + systemErrorText(ELOOP));
}

// The lines of the file, without a leading byte-order mark (noted in hadBom) and without line ends.
// False when the file does not exist; AppError when it exists and cannot be read.
bool readLines(const std::string& path, std::vector<std::string>& lines, bool* hadBom = nullptr) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return false;
        throw AppError("Não foi possível ler o arquivo " + path + ": " + systemErrorText(errno));
    }
    if (S_ISDIR(st.st_mode))
        throw AppError("Não foi possível ler o arquivo " + path + ": " + systemErrorText(EISDIR));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw AppError("Não foi possível ler o arquivo " + path + ": " + systemErrorText(errno));
    std::stringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        throw AppError("Não foi possível ler o arquivo " + path + ": " + systemErrorText(EIO));
    std::string all = buffer.str();
    const bool bom = all.compare(0, 3, Bom) == 0;
    if (bom)
        all.erase(0, 3);
    if (hadBom)
        *hadBom = bom;
    size_t from = 0;
    while (from < all.size()) {
        size_t end = all.find('\n', from);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(from, end - from);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        from = end + 1;
    }
    return true;
}

// Held from the read to the replacement of the file, so two programs saving at once each see the
// other's keys. The lock is on a file of its own beside the INI: the INI itself is replaced.
class IniLock {
public:
    explicit IniLock(const std::string& path) : m_path(path + ".lock") {
        m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0)
            throw AppError("Não foi possível gravar o arquivo " + path + ": " + systemErrorText(errno));
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno == EINTR)
                continue;
            const int e = errno;
            ::close(m_fd);
            throw AppError("Não foi possível gravar o arquivo " + path + ": " + systemErrorText(e));
        }
    }
    ~IniLock() { ::close(m_fd); }
    IniLock(const IniLock&) = delete;
    IniLock& operator=(const IniLock&) = delete;

private:
    std::string m_path;
    int m_fd = -1;
};

bool hasLineBreak(const std::string& s) {
    return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

// A key or section that the file could not give back is refused before anything is written.
void checkWritable(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) {
    const std::string where = "[" + section + "] " + key;
    const std::string s = trim(section);
    const std::string k = trim(key);
    if (s.empty() || hasLineBreak(section) || s.find(']') != std::string::npos)
        throw AppError("Seção inválida para o arquivo " + path + ": " + quotedForMessage(section) +
                       " (não pode ser vazia nem ter \"]\" ou quebra de linha)");
    if (k.empty() || hasLineBreak(key) || k.find('=') != std::string::npos || k.front() == '[' || k.front() == ';')
        throw AppError("Chave inválida para o arquivo " + path + ": " + quotedForMessage(key) +
                       " (não pode ser vazia, ter \"=\" ou quebra de linha, nem começar com \"[\" ou \";\")");
    if (hasLineBreak(value))
        throw AppError("O valor de " + where + " não pode ter quebra de linha: " + quotedForMessage(value));
}

// "[name]" → name (trimmed); anything else → false.
bool sectionName(const std::string& line, std::string& name) {
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    const size_t close = t.find(']');
    if (close == std::string::npos)
        return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

// "key=value" → key and value (both trimmed, surrounding quotes removed from the value).
bool keyValue(const std::string& line, std::string& key, std::string& value) {
    const std::string t = trimLeft(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return false;
    const size_t eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    if (value.size() >= 2 &&
        ((value.front() == '"' && value.back() == '"') || (value.front() == '\'' && value.back() == '\'')))
        value = value.substr(1, value.size() - 2);
    return true;
}

} // namespace

std::string readIniFile(const std::string& path, const std::string& section, const std::string& key) {
    std::vector<std::string> lines;
    if (!readLines(resolvedPath(path), lines))
        return std::string();
    const std::string wantedSection = foldCase(trim(section));
    const std::string wantedKey = foldCase(trim(key));
    bool inSection = false;
    for (const auto& line : lines) {
        std::string name, k, v;
        if (sectionName(line, name)) {
            inSection = foldCase(name) == wantedSection;
            continue;
        }
        if (inSection && keyValue(line, k, v) && foldCase(k) == wantedKey)
            return v;
    }
    return std::string();
}

void writeIniFile(const std::string& iniPath, const std::string& section, const std::string& key,
                  const std::string& value) {
    checkWritable(iniPath, section, key, value);
    const std::string path = resolvedPath(iniPath);
    if (folderExists(path))
        throw AppError("Não foi possível gravar o arquivo " + path + ": " + systemErrorText(EISDIR));
    const std::string folder = folderOf(path).empty() ? "." : folderOf(path);
    if (!folderExists(folder))
        throw AppError("Não foi possível gravar o arquivo " + path + ": a pasta " + folder + " não existe");

    const IniLock lock(path);
    // Read under the lock: what another program saved a moment ago is kept.
    std::vector<std::string> lines;
    bool hadBom = false;
    struct stat before {};
    const bool existed = readLines(path, lines, &hadBom) && ::stat(path.c_str(), &before) == 0;

    const std::string wantedSection = foldCase(trim(section));
    const std::string wantedKey = foldCase(trim(key));
    const std::string newLine = trim(key) + "=" + value;

    bool inSection = false;
    bool sectionFound = false;
    size_t insertAt = std::string::npos; // after the last non-blank line of the section
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        std::string name, k, v;
        if (sectionName(lines[i], name)) {
            if (inSection)
                break;
            inSection = foldCase(name) == wantedSection;
            if (inSection) {
                sectionFound = true;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (keyValue(lines[i], k, v) && foldCase(k) == wantedKey) {
            lines[i] = k + "=" + value; // the key keeps the spelling it already had
            done = true;
        } else if (!trim(lines[i]).empty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionFound) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
        } else {
            if (!lines.empty() && !trim(lines.back()).empty())
                lines.emplace_back();
            lines.push_back("[" + trim(section) + "]");
            lines.push_back(newLine);
        }
    }

    std::string out = hadBom ? Bom : "";
    for (const auto& line : lines)
        out += line + "\r\n";
    // Readers see the old file or the new one, never a part.
    if (const int e = replaceFileWhole(path, out, existed ? (before.st_mode & 07777) : 0644))
        throw AppError("Não foi possível gravar o arquivo " + path + ": " + systemErrorText(e));
}

std::string ReadIniValue(const Platform& platform, const std::string& fileName, const std::string& section,
                         const std::string& key) {
    return readIniFile(joinPath(platform.windowsFolder(), fileName), section, key);
}

void WriteIniValue(const Platform& platform, const std::string& fileName, const std::string& section,
                   const std::string& key, const std::string& value) {
    writeIniFile(joinPath(platform.windowsFolder(), fileName), section, key, value);
}
