#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether the path still names the file open as fd.
bool namesOpenFile(const std::string& path, int fd) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

} // namespace

bool FileLock::tryAcquire(const std::string& path) {
    if (held()) return true;
    // A holder removes the file as it lets go; a lock won on a file that has
    // just been removed would guard nothing, so the name is looked at again
    // once the lock is ours. A few rounds settle any race.
    for (int round = 0; round < 8; ++round) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return false;
        }
        if (namesOpenFile(path, fd)) {
            m_fd = fd;
            m_path = path;
            return true;
        }
        ::close(fd);
    }
    return false;
}

void FileLock::release() {
    if (m_fd < 0) return;
    // Removed while still locked: whoever locks it after us finds it gone
    // and makes a new one.
    if (namesOpenFile(m_path, m_fd)) ::unlink(m_path.c_str());
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

bool FileLock::writeNote(std::string_view text) {
    if (m_fd < 0 || ::ftruncate(m_fd, 0) != 0) return false;
    return ::pwrite(m_fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size());
}

std::string FileLock::readNote(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::string();
    // A note is a few words; more is not ours.
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

bool FileLock::heldElsewhere(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

bool FileLock::removeUnlessHeld(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return false;
    }
    // A file that cannot be opened (a link, no permission) cannot be held either.
    const bool removed = ::unlink(path.c_str()) == 0;
    if (fd >= 0) ::close(fd);
    return removed;
}
