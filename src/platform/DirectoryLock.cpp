#include "platform/DirectoryLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool DirectoryLock::lock(const std::string& dir, int operation) {
    release();
    m_fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) return true;
    int rc;
    do {
        rc = ::flock(m_fd, operation);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) return true;
    const bool taken = errno == EWOULDBLOCK;
    release();
    return !taken;
}

void DirectoryLock::share(const std::string& dir) {
    lock(dir, LOCK_SH);
}

bool DirectoryLock::tryExclusive(const std::string& dir) {
    return lock(dir, LOCK_EX | LOCK_NB);
}

void DirectoryLock::release() {
    if (m_fd < 0) return;
    ::close(m_fd);
    m_fd = -1;
}
