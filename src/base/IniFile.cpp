#include "base/IniFile.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string all = buffer.str();
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
    if (!readLines(path, lines))
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

void writeIniFile(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value) {
    std::vector<std::string> lines;
    const bool existed = fileExists(path);
    if (!existed && folderExists(path))
        throw AppError("Não foi possível gravar o arquivo " + path + ": é uma pasta");
    if (existed && !readLines(path, lines))
        throw AppError("Não foi possível ler o arquivo " + path + ": " + systemErrorText(errno));
    if (existed && ::access(path.c_str(), W_OK) != 0)
        throw AppError("Não foi possível gravar o arquivo " + path + ": " + systemErrorText(errno));

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

    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        throw AppError("Não foi possível gravar o arquivo " + path + ": " + systemErrorText(errno));
    const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    const bool flushed = std::fflush(f) == 0 && ::fsync(fileno(f)) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string why = systemErrorText(errno);
        std::remove(temp.c_str());
        throw AppError("Não foi possível gravar o arquivo " + path + ": " + why);
    }
}

std::string ReadIniValue(const Platform& platform, const std::string& fileName, const std::string& section,
                         const std::string& key) {
    return readIniFile(joinPath(platform.windowsFolder(), fileName), section, key);
}

void WriteIniValue(const Platform& platform, const std::string& fileName, const std::string& section,
                   const std::string& key, const std::string& value) {
    writeIniFile(joinPath(platform.windowsFolder(), fileName), section, key, value);
}
