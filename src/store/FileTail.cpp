#include "store/FileTail.h"

#include "store/FileNames.h"
#include "store/IoError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& path, const char* what) {
    throw IoError(path, std::string(what) + " (" + std::strerror(errno) + ")");
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

  private:
    int m_fd;
};

void readAt(int fd, char* into, size_t size, off_t at, const std::string& path) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::pread(fd, into + done, size - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fail(path, "Read error");
        done += static_cast<size_t>(n);
    }
}

// The size of the file without its tail of NUL bytes. Read backwards a block
// at a time: a day's file is large and its tail short.
off_t sizeWithoutNulTail(int fd, off_t size, const std::string& path) {
    std::vector<char> block(size_t{64} * 1024);
    off_t end = size;
    while (end > 0) {
        const off_t from = std::max<off_t>(0, end - static_cast<off_t>(block.size()));
        const size_t length = static_cast<size_t>(end - from);
        readAt(fd, block.data(), length, from, path);
        for (size_t i = length; i > 0; --i)
            if (block[i - 1] != '\0') return from + static_cast<off_t>(i);
        end = from;
    }
    return 0;
}

void syncDirectoryOf(const std::string& path) {
    const std::string dir = FileNames::directoryOf(path);
    if (!FileNames::syncDirectory(dir)) fail(dir, "Write error");
}

} // namespace

TailRepair RepairFileTail(const std::string& path) {
    TailRepair repair;
    // Not following a link to a device: /dev/zero would be an endless tail.
    Descriptor file(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno == ENOENT) return repair;
        fail(path, "Open error");
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) fail(path, "Read error");
    if (!S_ISREG(info.st_mode)) return repair;

    const off_t kept = sizeWithoutNulTail(file.get(), info.st_size, path);
    repair.nulBytesCut = static_cast<size_t>(info.st_size - kept);
    if (repair.nulBytesCut > 0 && ::ftruncate(file.get(), kept) != 0) fail(path, "Write error");

    char last = '\n';
    if (kept > 0) readAt(file.get(), &last, 1, kept - 1, path);
    if (last != '\n') {
        const char* ending = last == '\r' ? "\n" : "\r\n";
        const size_t length = std::strlen(ending);
        if (::pwrite(file.get(), ending, length, kept) != static_cast<ssize_t>(length))
            fail(path, "Write error");
        repair.lineEnded = true;
    }
    if (repair.nulBytesCut == 0 && !repair.lineEnded) return repair;
    if (::fsync(file.get()) != 0) fail(path, "Write error");
    syncDirectoryOf(path);
    return repair;
}
