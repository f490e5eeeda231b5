#include "export/StagedFile.h"

#include "base/AppError.h"
#include "platform/SystemError.h"
#include "platform/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

StagedFile::StagedFile(std::string finalPath) : m_finalPath(std::move(finalPath)) {
    std::string stage = m_finalPath + ".XXXXXX";
    m_fd = ::mkstemp(stage.data());
    if (m_fd < 0)
        fail("criar", errno);
    m_stagePath = stage;
    // mkstemp makes the file private; the final file gets the permissions a new file normally gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
    m_buffer.reserve(FlushThreshold + 64 * 1024);
}

StagedFile::~StagedFile() {
    abandon();
}

void StagedFile::flush() {
    if (!writeAllTo(m_fd, m_buffer))
        fail("gravar", errno);
    m_written += static_cast<long long>(m_buffer.size());
    m_buffer.clear();
}

void StagedFile::commit() {
    if (m_committed)
        return;
    if (m_fd < 0)
        throw AppError("O arquivo " + m_finalPath + " já foi descartado");
    flush();
    if (::fsync(m_fd) != 0)
        fail("gravar", errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        fail("gravar", errno);
    if (std::rename(m_stagePath.c_str(), m_finalPath.c_str()) != 0)
        fail("substituir", errno);
    m_committed = true;
}

void StagedFile::abandon() {
    if (m_committed)
        return;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_stagePath.empty()) {
        ::unlink(m_stagePath.c_str());
        m_stagePath.clear();
    }
    m_buffer.clear();
}

void StagedFile::fail(const std::string& doing, int error) {
    const std::string reason = systemErrorText(error);
    abandon();
    throw AppError("Não foi possível " + doing + " o arquivo " + m_finalPath + " (" + reason + ")");
}
