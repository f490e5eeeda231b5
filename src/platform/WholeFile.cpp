#include "platform/WholeFile.h"

#include "platform/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool writeAllTo(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

namespace {

// The common steps of a whole replacement: a file of this writer's own beside path, filled by fill,
// onto the disk, then given the name, and the name onto the disk too.
template <typename Fill> int replaceWith(const std::string& path, unsigned mode, Fill fill) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return errno;
    ::fchmod(fd, static_cast<mode_t>(mode));
    int error = 0;
    if (!fill(fd) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return error;
    }
    // The new name on the disk too.
    const std::string folder = folderOf(path);
    const std::string named = !folder.empty() ? folder : path.rfind('/', 0) == 0 ? "/" : ".";
    const int dir = ::open(named.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

} // namespace

int replaceFileWhole(const std::string& path, std::string_view text, unsigned mode) {
    return replaceWith(path, mode, [&](int fd) { return writeAllTo(fd, text); });
}

int copyFileWhole(const std::string& from, const std::string& to, unsigned mode) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    const int error = replaceWith(to, mode, [&](int fd) {
        char buffer[1 << 16];
        for (;;) {
            const ssize_t n = ::read(in, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            if (n == 0)
                return true;
            if (!writeAllTo(fd, std::string_view(buffer, static_cast<std::size_t>(n))))
                return false;
        }
    });
    ::close(in);
    return error;
}
