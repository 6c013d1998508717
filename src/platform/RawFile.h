#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// A file read or written in blocks, with the system's own reason when a step
// fails: a backup must say "No space left on device", not just "error".
class RawFile {
  public:
    struct Status {
        std::uint64_t size = 0;
        std::int64_t modified = 0; // seconds since 1970
        unsigned mode = 0644;      // permission bits
    };

    RawFile() = default;
    ~RawFile();
    RawFile(RawFile&& other) noexcept;
    RawFile& operator=(RawFile&& other) noexcept;
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    // Empty, with the reason in `why`, when the file cannot be opened.
    static std::optional<RawFile> openRead(const std::string& path, std::string& why);
    // A new file that must not exist yet, locked while it is open, so that a
    // clean-up in another process (or thread) leaves it alone.
    static std::optional<RawFile> createNew(const std::string& path, unsigned mode,
                                            std::string& why);

    // Bytes read (0 at the end), or -1 with the reason in why().
    long read(void* buffer, size_t size);
    bool writeAll(const void* data, size_t size);
    // Puts what was written on the disk itself.
    bool sync();
    bool close();
    std::optional<Status> status() const;
    const std::string& why() const { return m_why; }

    // Gives the file at `path` its modification time (seconds since 1970).
    static bool setModified(const std::string& path, std::int64_t seconds);

  private:
    explicit RawFile(int fd) : m_fd(fd) {}
    bool failed();
    int m_fd = -1;
    std::string m_why;
};
