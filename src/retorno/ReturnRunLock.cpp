#include "retorno/ReturnRunLock.h"

#include "platform/Platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// One UI thread: the holder of the lock file is this program as a whole, counted by depth.
int g_depth = 0;
int g_fd = -1;

} // namespace

ReturnRunLock::ReturnRunLock(const Platform& platform) {
    if (g_depth > 0) {
        ++g_depth;
        m_held = true;
        return;
    }
    const std::string path = platform.programFolder() + FileName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_held = true;
        ++g_depth;
        return;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        m_held = false;
        return;
    }
    g_fd = fd;
    ++g_depth;
    m_held = true;
}

ReturnRunLock::~ReturnRunLock() {
    if (!m_held)
        return;
    if (--g_depth == 0 && g_fd >= 0) {
        ::flock(g_fd, LOCK_UN);
        ::close(g_fd);
        g_fd = -1;
    }
}
