#include "data/IntegraFileGuard.h"

#include "base/AppError.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Far past any database page, so no lock of the engine (or of a reader of the file) meets these.
constexpr long long GuardBase = 1LL << 40;
constexpr long long SlotCount = 1LL << 31;
constexpr long long Gate = GuardBase - 1;

#ifndef _WIN32
bool lockRange(int fd, int command, short type, long long start, long long length, short* found = nullptr) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    int rc;
    do
        rc = ::fcntl(fd, command, &lock);
    while (rc != 0 && errno == EINTR);
    if (found)
        *found = lock.l_type;
    return rc == 0;
}
#endif

} // namespace

long long IntegraFileGuard::slotOf(const std::string& lockFolder) {
#ifndef _WIN32
    struct stat st {};
    std::string key = lockFolder;
    // The folder itself, not its spelling: "/tmp/x" and "/tmp/./x" are one set of lock tables.
    if (::stat(lockFolder.c_str(), &st) == 0)
        key = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    unsigned long long h = 1469598103934665603ull;
    for (unsigned char c : key) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return static_cast<long long>(h % static_cast<unsigned long long>(SlotCount));
#else
    (void)lockFolder;
    return 0;
#endif
}

void IntegraFileGuard::acquire(const std::string& file, const std::string& lockFolder, const std::string& location) {
    release();
#ifndef _WIN32
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    if (!lockRange(fd, F_OFD_SETLKW, F_WRLCK, Gate, 1)) {
        ::close(fd);
        return;
    }
    const long long slot = slotOf(lockFolder);
    // A length of 0 would mean "to the end of the file and beyond": empty sides are not asked.
    short before = F_UNLCK, after = F_UNLCK;
    const bool looked = (slot == 0 || lockRange(fd, F_OFD_GETLK, F_WRLCK, GuardBase, slot, &before)) &&
                        (slot == SlotCount - 1 ||
                         lockRange(fd, F_OFD_GETLK, F_WRLCK, GuardBase + slot + 1, SlotCount - slot - 1, &after));
    const bool other = looked && (before != F_UNLCK || after != F_UNLCK);
    const bool taken = looked && !other && lockRange(fd, F_OFD_SETLK, F_RDLCK, GuardBase + slot, 1);
    lockRange(fd, F_OFD_SETLK, F_UNLCK, Gate, 1);
    if (other) {
        ::close(fd);
        throw AppError("O banco de dados Integra \"" + location +
                       "\" está aberto por outro usuário deste computador (ou por um programa com outra pasta de "
                       "bloqueio do Firebird, FIREBIRD_LOCK). Aberto direto do arquivo, o banco é compartilhado só "
                       "entre os programas de um mesmo usuário; para vários usuários, indique-o pelo servidor "
                       "(servidor:/caminho).");
    }
    if (!taken) {
        ::close(fd);
        return;
    }
    m_fd = fd;
#else
    (void)file;
    (void)lockFolder;
    (void)location;
#endif
}

void IntegraFileGuard::release() {
#ifndef _WIN32
    if (m_fd >= 0)
        ::close(m_fd);
#endif
    m_fd = -1;
}
