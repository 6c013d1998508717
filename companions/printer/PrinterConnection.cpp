#include "printer/PrinterConnection.h"

#include "platform/SerialTerminal.h"
#include "printer/ChildProcess.h"
#include "printer/PrinterDetect.h"
#include "store/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string deviceFault(const std::string& path, int error) {
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return "Printer device " + path + " not found";
    case EACCES:
    case EPERM:
        return "Permission denied for printer device " + path;
    case EBUSY:
        return "Printer device " + path + " is busy";
    case EISDIR:
        return path + " is not a printer device";
    default:
        return "Printer device " + path + ": " + std::strerror(error);
    }
}

} // namespace

PrinterConnection::PrinterConnection(std::string dataDir, const Deadline& deadline)
    : m_dataDir(std::move(dataDir)), m_deadline(deadline) {}

PrinterConnection::~PrinterConnection() {
    closeFd();
}

void PrinterConnection::closeFd() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

bool PrinterConnection::fail(std::string fault) {
    m_fault = std::move(fault);
    closeFd();
    return false;
}

bool PrinterConnection::open(const PrinterTarget& target) {
    m_target = target;
    switch (target.kind) {
    case PrinterTarget::Kind::Device:
        return openDevice(target.name);
    case PrinterTarget::Kind::Serial:
        if (!openDevice(target.name)) return false;
        if (!SetSerialLine(m_fd, target.line)) return fail(target.name + " is not a serial port");
        return true;
    case PrinterTarget::Kind::Usb:
        if (auto device = UsbPrinterDevice("/", target.name)) return openDevice(*device);
        return fail("USB printer " + target.name + " not found");
    case PrinterTarget::Kind::Network:
        return openNetwork();
    case PrinterTarget::Kind::File:
        return openFile();
    case PrinterTarget::Kind::Queue:
        break;
    }
    return true;
}

bool PrinterConnection::openDevice(const std::string& path) {
    // Non-blocking: a printer that is off must not hold the open up.
    const int flags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    m_fd = ::open(path.c_str(), O_RDWR | flags);
    m_readable = m_fd >= 0;
    if (m_fd < 0 && (errno == EACCES || errno == EPERM))
        m_fd = ::open(path.c_str(), O_WRONLY | flags);
    if (m_fd < 0) return fail(deviceFault(path, errno));
    struct stat st {};
    // Docket bytes must never land in an ordinary file that happens to sit there.
    if (::fstat(m_fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return fail(path + " is not a printer device");
    return true;
}

bool PrinterConnection::openNetwork() {
    const std::string where = m_target.name + ":" + m_target.port;
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    if (::getaddrinfo(m_target.name.c_str(), m_target.port.c_str(), &hints, &addresses) != 0)
        return fail("Printer host " + m_target.name + " unknown");
    int error = EHOSTUNREACH;
    for (addrinfo* a = addresses; a && error != 0 && !m_deadline.passed(); a = a->ai_next)
        error = connectTo(*a);
    ::freeaddrinfo(addresses);
    if (error == 0) {
        m_readable = true;
        return true;
    }
    if (error == ETIMEDOUT) return fail("No answer from printer " + where + " (time-out)");
    if (error == ECONNREFUSED) return fail("Connection refused by printer " + where);
    return fail("Printer " + where + ": " + std::strerror(error));
}

int PrinterConnection::connectTo(const addrinfo& address) {
    closeFd();
    m_fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                    address.ai_protocol);
    if (m_fd < 0) return errno;
    if (::connect(m_fd, address.ai_addr, address.ai_addrlen) == 0) return 0;
    if (errno != EINPROGRESS) return errno;
    pollfd p{m_fd, POLLOUT, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, m_deadline.msLeft());
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return ETIMEDOUT;
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length);
    return error;
}

bool PrinterConnection::openFile() {
    const std::string& name = m_target.name;
    std::string path = name.front() == '/' ? name : FileNames::resolve(m_dataDir, name);
    m_fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) return fail("Cannot write to " + path + ": " + std::strerror(errno));
    return true;
}

bool PrinterConnection::write(std::string_view bytes) {
    if (m_target.kind == PrinterTarget::Kind::Queue) {
        m_queued.append(bytes);
        return true;
    }
    if (m_fd < 0) return false;
    const bool socket = m_target.kind == PrinterTarget::Kind::Network;
    while (!bytes.empty()) {
        ssize_t n = socket ? ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL)
                           : ::write(m_fd, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return fail(std::string("Printer connection lost: ") + std::strerror(errno));
        if (m_deadline.passed()) return fail("Printer takes no data (time-out)");
        pollfd p{m_fd, POLLOUT, 0};
        ::poll(&p, 1, m_deadline.msLeft());
    }
    return true;
}

bool PrinterConnection::canAnswer() const {
    return m_fd >= 0 && m_readable &&
           (m_target.kind == PrinterTarget::Kind::Device ||
            m_target.kind == PrinterTarget::Kind::Usb ||
            m_target.kind == PrinterTarget::Kind::Serial ||
            m_target.kind == PrinterTarget::Kind::Network);
}

std::optional<unsigned char> PrinterConnection::ask(std::string_view request, int waitMs) {
    if (!canAnswer() || !write(request)) return std::nullopt;
    Deadline answerBy(std::min(waitMs, m_deadline.msLeft()));
    for (;;) {
        unsigned char answer = 0;
        ssize_t n = ::read(m_fd, &answer, 1);
        if (n == 1) return answer;
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) ||
            answerBy.passed())
            return std::nullopt;
        pollfd p{m_fd, POLLIN, 0};
        ::poll(&p, 1, answerBy.msLeft());
    }
}

bool PrinterConnection::delivered() {
    constexpr int PollMs = 10;
    for (;;) {
        int queued = 0;
        // Files have no output queue: what write() took is there.
        if (::ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0) return true;
        if (m_deadline.passed()) return fail("Printer takes no data (time-out)");
        ::poll(nullptr, 0, std::min(PollMs, m_deadline.msLeft()));
    }
}

bool PrinterConnection::finish() {
    if (m_target.kind != PrinterTarget::Kind::Queue) {
        if (m_fd < 0) return false;
        if (!delivered()) return false;
        int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR)
            return fail(std::string("Printer connection lost: ") + std::strerror(errno));
        return true;
    }
    // Raw: the docket already is in the printer's own language.
    ChildResult lp = RunChild({"lp", "-d", m_target.name, "-o", "raw"}, m_queued, m_deadline);
    if (!lp.started) return fail("No print system: lp is not installed");
    if (!lp.finished) return fail("Print queue " + m_target.name + " does not answer (time-out)");
    if (lp.exitCode != 0) {
        std::string why = FirstLine(lp.errors);
        return fail(why.empty() ? "Print queue " + m_target.name + " refused the docket" : why);
    }
    return true;
}
