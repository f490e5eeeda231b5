#include "platform/Paths.h"

#include <sys/stat.h>

#include <cerrno>

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

FileStamp fileStamp(const std::string& path) {
    FileStamp stamp;
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        stamp.error = path.empty() || errno == ENOENT || errno == ENOTDIR ? 0 : errno;
        return stamp;
    }
    stamp.kind = S_ISREG(st.st_mode)   ? FileStamp::Kind::Regular
                 : S_ISDIR(st.st_mode) ? FileStamp::Kind::Folder
                                       : FileStamp::Kind::Other;
    stamp.size = static_cast<std::uintmax_t>(st.st_size);
    stamp.seconds = static_cast<long long>(st.st_mtim.tv_sec);
    stamp.nanoseconds = st.st_mtim.tv_nsec;
    return stamp;
}
