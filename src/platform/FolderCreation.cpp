#include "platform/FolderCreation.h"

#include "platform/Paths.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <sys/stat.h>

std::string createFolderTree(const std::string& folder) {
    if (folder.empty())
        return systemErrorText(ENOENT);
    // Each level from the top down, so a failure names the level that could not be made: that is what
    // the operator has to fix (often a parent the defaults take for granted, like ~/Honeywell).
    size_t end = 0;
    while (end != std::string::npos) {
        end = folder.find('/', end + 1);
        std::string level = folder.substr(0, end);
        while (level.size() > 1 && level.back() == '/')
            level.pop_back();
        if (folderExists(level))
            continue;
        if (::mkdir(level.c_str(), 0777) != 0 && !folderExists(level)) {
            const int code = errno;
            if (code == EEXIST)
                return "já existe um arquivo com o nome " + level;
            return systemErrorText(code) + " em " + level;
        }
    }
    return std::string();
}
