#include "platform/PosixPorts.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

bool PosixPorts::writeLine(const std::string& devicePath, const std::string& text) {
    int fd = ::open(devicePath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    const std::string line = text + "\r\n";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_deadlineMs);
    size_t done = 0;
    bool ok = true;
    while (done < line.size()) {
        ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            ok = false;
            break;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0) {
            ok = false;
            break;
        }
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
    // Unsent bytes would hold up the close of a serial device for many seconds.
    if (!ok && ::isatty(fd)) ::tcflush(fd, TCOFLUSH);
    if (::close(fd) != 0 && errno != EINTR) ok = false;
    return ok;
}
