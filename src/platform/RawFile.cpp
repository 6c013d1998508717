#include "platform/RawFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

RawFile::~RawFile() {
    if (m_fd >= 0) ::close(m_fd);
}

RawFile::RawFile(RawFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_why(std::move(other.m_why)) {}

RawFile& RawFile::operator=(RawFile&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_why = std::move(other.m_why);
    }
    return *this;
}

bool RawFile::failed() {
    m_why = std::strerror(errno);
    return false;
}

std::optional<RawFile> RawFile::openRead(const std::string& path, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    return RawFile(fd);
}

std::optional<RawFile> RawFile::createNew(const std::string& path, unsigned mode,
                                          std::string& why) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd < 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    ::flock(fd, LOCK_EX | LOCK_NB);
    return RawFile(fd);
}

long RawFile::read(void* buffer, size_t size) {
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n >= 0) return static_cast<long>(n);
        if (errno != EINTR) {
            failed();
            return -1;
        }
    }
}

bool RawFile::writeAll(const void* data, size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, at, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failed();
        }
        at += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool RawFile::sync() {
    return ::fsync(m_fd) == 0 || failed();
}

bool RawFile::close() {
    if (m_fd < 0) return true;
    const int rc = ::close(std::exchange(m_fd, -1));
    return rc == 0 || failed();
}

std::optional<RawFile::Status> RawFile::status() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) return std::nullopt;
    return Status{static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtime),
                  static_cast<unsigned>(st.st_mode & 07777)};
}

bool RawFile::setModified(const std::string& path, std::int64_t seconds) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}
