#include "platform/PosixPorts.h"

#include "platform/SerialTerminal.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

using SteadyClock = std::chrono::steady_clock;

int msLeft(SteadyClock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now())
                    .count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool writeAll(int fd, const std::string& bytes, SteadyClock::time_point deadline) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
        if (msLeft(deadline) == 0) return false;
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, msLeft(deadline));
    }
    return true;
}

// Bytes the driver still holds count as not sent: a device with its flow
// control stalled takes a line into the buffer and never further.
bool drained(int fd, SteadyClock::time_point deadline) {
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0) return true;
        if (msLeft(deadline) == 0) return false;
        ::usleep(5000);
    }
}

} // namespace

bool PosixPorts::write(const std::string& devicePath, const std::string& bytes,
                       const std::optional<SerialLine>& line) {
    int fd = ::open(devicePath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    // Only a device takes the line: a plain file of that name would just be
    // overwritten, and the operator would never hear that nothing is there.
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    const bool terminal = ::isatty(fd);
    // Settings the shop asked for that the port cannot take: nothing is sent
    // at a speed the device would read as noise.
    if (line && (!terminal || !SetSerialLine(fd, *line))) {
        ::close(fd);
        return false;
    }
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(m_deadlineMs);
    bool ok = writeAll(fd, bytes, deadline) && (!terminal || drained(fd, deadline));
    // Unsent bytes would hold up the close of a serial device for many seconds.
    if (!ok && terminal) ::tcflush(fd, TCOFLUSH);
    if (::close(fd) != 0 && errno != EINTR) ok = false;
    return ok;
}
