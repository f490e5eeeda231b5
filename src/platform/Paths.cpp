#include "platform/Paths.h"

#include <sys/stat.h>

bool endsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    std::string tail = name;
    while (!tail.empty() && (tail.front() == '\\' || tail.front() == '/'))
        tail.erase(0, 1);
    if (endsWithSeparator(folder))
        return folder + tail;
    return folder + "/" + tail;
}

std::string fileNameOf(const std::string& path) {
    const auto p = path.find_last_of("\\/");
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string folderOf(const std::string& path) {
    const auto p = path.find_last_of("\\/");
    return p == std::string::npos ? std::string() : path.substr(0, p);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
