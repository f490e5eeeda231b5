#include "data/SharedFile.h"

#include "base/AppError.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

std::string reason() {
    return std::strerror(errno);
}

} // namespace

SharedFile::~SharedFile() {
    close();
}

SharedFile::SharedFile(SharedFile&& other) noexcept
    : m_fd(other.m_fd), m_writable(other.m_writable), m_path(std::move(other.m_path)) {
    other.m_fd = -1;
}

SharedFile& SharedFile::operator=(SharedFile&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_writable = other.m_writable;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

void SharedFile::open(const std::string& path, bool writable) {
    close();
    const int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        throw AppError("Não foi possível abrir o arquivo " + path + ": " + reason());
    m_fd = fd;
    m_writable = writable;
    m_path = path;
}

void SharedFile::create(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0664);
    if (fd < 0)
        throw AppError("Não foi possível criar o arquivo " + path + ": " + reason());
    m_fd = fd;
    m_writable = true;
    m_path = path;
}

void SharedFile::close() {
    if (m_fd >= 0)
        ::close(m_fd); // releases every lock of this open
    m_fd = -1;
}

std::string SharedFile::name() const {
    const auto slash = m_path.find_last_of('/');
    return slash == std::string::npos ? m_path : m_path.substr(slash + 1);
}

std::uint64_t SharedFile::size() const {
    const off_t end = ::lseek(m_fd, 0, SEEK_END);
    if (end < 0)
        throw AppError("Não foi possível ler o tamanho do arquivo " + m_path + ": " + reason());
    return static_cast<std::uint64_t>(end);
}

std::size_t SharedFile::readSome(std::uint64_t offset, void* buffer, std::size_t length) const {
    std::size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < length) {
        const ssize_t n = ::pread(m_fd, out + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw AppError("Não foi possível ler o arquivo " + m_path + ": " + reason());
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void SharedFile::readAt(std::uint64_t offset, void* buffer, std::size_t length) const {
    if (readSome(offset, buffer, length) != length)
        throw AppError("O arquivo " + m_path + " está incompleto: faltam dados na posição " + std::to_string(offset) +
                       ".");
}

void SharedFile::writeAt(std::uint64_t offset, const void* buffer, std::size_t length) {
    std::size_t done = 0;
    const auto* in = static_cast<const char*>(buffer);
    while (done < length) {
        const ssize_t n = ::pwrite(m_fd, in + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw AppError("Não foi possível gravar no arquivo " + m_path + ": " + reason());
        }
        done += static_cast<std::size_t>(n);
    }
}

void SharedFile::truncate(std::uint64_t length) {
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0)
        throw AppError("Não foi possível gravar no arquivo " + m_path + ": " + reason());
}

bool SharedFile::tryLock(std::uint64_t start, std::uint64_t length, bool exclusive) {
    struct flock fl {};
    fl.l_type = exclusive ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(start);
    fl.l_len = static_cast<off_t>(length);
    if (::fcntl(m_fd, F_OFD_SETLK, &fl) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR)
        return false;
    throw AppError("Não foi possível bloquear o arquivo " + m_path + ": " + reason());
}

std::string SharedFile::busyMessage(const std::string& path, int timeoutMs) {
    return "O arquivo " + path + " está bloqueado por outro usuário ou estação; a espera de " +
           std::to_string(timeoutMs) + " ms terminou sem liberá-lo. Tente novamente em instantes.";
}

void SharedFile::lock(std::uint64_t start, std::uint64_t length, bool exclusive, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto pause = std::chrono::milliseconds(1);
    while (!tryLock(start, length, exclusive)) {
        if (Clock::now() >= deadline)
            throw AppError(busyMessage(m_path, timeoutMs));
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(25));
    }
}

void SharedFile::unlock(std::uint64_t start, std::uint64_t length) {
    struct flock fl {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(start);
    fl.l_len = static_cast<off_t>(length);
    ::fcntl(m_fd, F_OFD_SETLK, &fl);
}
