#include "store/TextFile.h"

#include "fast/LineFeeds.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/NumberText.h"
#include "store/TextRules.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr size_t BlockSize = 1 << 16;
constexpr mode_t FileMode = 0644;

} // namespace

TextFile::~TextFile() {
    if (isOpen()) {
        try {
            close();
        } catch (const IoError&) {
            abandon();
        }
    }
}

TextFile::TextFile(TextFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_mode(std::exchange(other.m_mode, Mode::None)),
      m_path(std::move(other.m_path)), m_tempPath(std::move(other.m_tempPath)),
      m_buf(std::move(other.m_buf)), m_pos(std::exchange(other.m_pos, 0)),
      m_len(std::exchange(other.m_len, 0)), m_atEnd(std::exchange(other.m_atEnd, false)),
      m_error(std::exchange(other.m_error, false)) {}

TextFile& TextFile::operator=(TextFile&& other) noexcept {
    std::swap(m_fd, other.m_fd);
    std::swap(m_mode, other.m_mode);
    std::swap(m_path, other.m_path);
    std::swap(m_tempPath, other.m_tempPath);
    std::swap(m_buf, other.m_buf);
    std::swap(m_pos, other.m_pos);
    std::swap(m_len, other.m_len);
    std::swap(m_atEnd, other.m_atEnd);
    std::swap(m_error, other.m_error);
    return *this;
}

bool TextFile::openRead(const std::string& path) {
    if (isOpen()) abandon();
    m_path = path;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) return false;
    m_mode = Mode::Read;
    m_buf.resize(BlockSize);
    m_pos = m_len = 0;
    m_atEnd = false;
    m_error = false;
    return true;
}

bool TextFile::openRewrite(const std::string& path) {
    if (isOpen()) abandon();
    m_path = path;
    m_tempPath = path + std::string(FileNames::RewriteSuffix);
    // A temporary name left by a crash goes first; what is created in its
    // place is new and ours, never a link planted to send our bytes elsewhere.
    ::unlink(m_tempPath.c_str());
    m_fd =
        ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, FileMode);
    if (m_fd < 0) return false;
    // Held until the new file has its real name: a second copy of the program
    // starting now must not clear it away as a leftover of a crash.
    ::flock(m_fd, LOCK_EX | LOCK_NB);
    // The new file takes the old one's permissions, which the shop may have set.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(m_fd, old.st_mode & 07777) != 0) {
        // The default mode still gives a readable file.
    }
    m_mode = Mode::Rewrite;
    m_buf.clear();
    m_error = false;
    return true;
}

bool TextFile::openAppend(const std::string& path) {
    if (isOpen()) abandon();
    m_path = path;
    m_fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (m_fd < 0) return false;
    m_mode = Mode::Append;
    m_buf.clear();
    m_error = false;
    return true;
}

bool TextFile::openAppendElseRewrite(const std::string& path) {
    if (openAppend(path)) return true;
    // A new file is created in place: appending to it is its whole life.
    m_fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, FileMode);
    if (m_fd < 0) return false;
    // Its name must be on disk before what is synced into it counts: a power
    // cut would otherwise lose the new file with its first records.
    syncDirectory();
    m_mode = Mode::Append;
    m_buf.clear();
    m_error = false;
    return true;
}

void TextFile::fail(const char* what) const {
    throw IoError(m_path, std::string(what) + " (" + std::strerror(errno) + ")");
}

bool TextFile::fill() {
    if (m_atEnd) return false;
    m_pos = 0;
    ssize_t n;
    do {
        n = ::read(m_fd, m_buf.data(), m_buf.size());
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        if (n < 0) m_error = true;
        m_len = 0;
        m_atEnd = true;
        return false;
    }
    m_len = static_cast<size_t>(n);
    return true;
}

int TextFile::peek() {
    if (m_mode != Mode::Read) return -1;
    if (m_pos >= m_len && !fill()) return -1;
    return static_cast<unsigned char>(m_buf[m_pos]);
}

int TextFile::get() {
    int c = peek();
    if (c >= 0) ++m_pos;
    return c;
}

bool TextFile::eof() {
    return peek() < 0;
}

bool TextFile::eoln() {
    int c = peek();
    return c < 0 || TextRules::endsText(static_cast<unsigned char>(c));
}

std::string TextFile::readText(size_t maxChars) {
    std::string out;
    if (m_error) return out;
    while (out.size() < maxChars) {
        int c = peek();
        if (c < 0 || TextRules::endsText(static_cast<unsigned char>(c))) break;
        out.push_back(static_cast<char>(c));
        ++m_pos;
    }
    return out;
}

char TextFile::readChar() {
    if (m_error) return ' ';
    int c = get();
    return c < 0 ? '\x1a' : static_cast<char>(c);
}

void TextFile::readLine() {
    if (m_error) return;
    for (;;) {
        int c = get();
        if (c < 0 || c == '\n') return;
    }
}

bool TextFile::fillKeeping(size_t from) {
    if (m_atEnd) return false;
    size_t kept = m_len - from;
    std::memmove(m_buf.data(), m_buf.data() + from, kept);
    m_pos = 0;
    m_len = kept;
    ssize_t n;
    do {
        n = ::read(m_fd, m_buf.data() + kept, m_buf.size() - kept);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        if (n < 0) m_error = true;
        m_atEnd = true;
        return false;
    }
    m_len += static_cast<size_t>(n);
    return true;
}

bool TextFile::readFullLine(std::string& line) {
    line.clear();
    if (m_error || m_mode != Mode::Read) return false;
    if (m_pos >= m_len && !fill()) return false;
    for (;;) {
        const char* from = m_buf.data() + m_pos;
        size_t available = m_len - m_pos;
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', available));
        if (lf) {
            line.append(from, static_cast<size_t>(lf - from));
            m_pos += static_cast<size_t>(lf - from) + 1;
            break;
        }
        line.append(from, available);
        m_pos = m_len;
        if (!fill()) break;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool TextFile::readLineView(std::string_view& line) {
    line = {};
    if (m_error || m_mode != Mode::Read) return false;
    if (m_pos >= m_len && !fill()) return false;
    size_t searched = m_pos;
    const char* lf;
    while (!(lf = FindLineFeed(m_buf.data() + searched, m_buf.data() + m_len))) {
        // The line goes on past the buffer: its start moves to the front and
        // the rest is read behind it.
        const size_t kept = m_len - m_pos;
        if (kept == m_buf.size()) m_buf.resize(m_buf.size() * 2);
        if (!fillKeeping(m_pos)) break;
        searched = kept;
    }
    const char* from = m_buf.data() + m_pos;
    const char* to = lf ? lf : m_buf.data() + m_len;
    m_pos = static_cast<size_t>(to - m_buf.data()) + (lf ? 1 : 0);
    if (to > from && to[-1] == '\r') --to;
    line = std::string_view(from, static_cast<size_t>(to - from));
    return true;
}

bool TextFile::readRest(std::string& out) {
    if (m_error || m_mode != Mode::Read) return false;
    struct stat st {};
    const off_t here = ::lseek(m_fd, 0, SEEK_CUR);
    if (::fstat(m_fd, &st) == 0 && here >= 0 && st.st_size > here)
        out.reserve(out.size() + (m_len - m_pos) + static_cast<size_t>(st.st_size - here));
    // Block by block through the read buffer, which stays in the caches: a
    // read straight into the text would first have to clear its memory.
    do {
        out.append(m_buf.data() + m_pos, m_len - m_pos);
        m_pos = m_len;
    } while (fill());
    return !m_error;
}

bool TextFile::skipToLineWith(size_t column, std::string_view key, std::string* lastPassed) {
    if (lastPassed) lastPassed->clear();
    if (m_error || m_mode != Mode::Read) return false;
    const size_t need = column + key.size();
    if (need >= m_buf.size()) m_buf.resize(need + 1);

    // Most lines differ from the key in its last eight bytes, which one load
    // compares: codes are numbered on the right, and a shop's codes often
    // share their first digits (zero padding, the maker's prefix).
    const bool quickCheck = key.size() >= 8;
    const size_t quickAt = quickCheck ? column + key.size() - 8 : 0;
    std::uint64_t keyEnd = 0;
    if (quickCheck) std::memcpy(&keyEnd, key.data() + key.size() - 8, 8);
    auto keyAt = [&](const char* line) {
        if (quickCheck) {
            std::uint64_t lineBytes;
            std::memcpy(&lineBytes, line + quickAt, 8);
            if (lineBytes != keyEnd) return false;
        }
        return (key.empty() || std::memcmp(line + column, key.data(), key.size()) == 0) &&
               (need == 0 || !std::memchr(line, '\n', need));
    };

    // The last line passed over is remembered by its place in the buffer and
    // copied out only when the buffer is about to be reused.
    constexpr size_t None = static_cast<size_t>(-1);
    size_t lastStart = None;
    auto keepLastPassed = [&] {
        if (!lastPassed || lastStart == None) return;
        size_t n = std::min(need, m_len - lastStart);
        const char* from = m_buf.data() + lastStart;
        if (const void* lf = n ? std::memchr(from, '\n', n) : nullptr)
            n = static_cast<size_t>(static_cast<const char*>(lf) - from);
        lastPassed->assign(from, n);
        lastStart = None;
    };

    for (;;) {
        if (m_len - m_pos < std::max<size_t>(need, 1) && !m_atEnd) {
            keepLastPassed();
            while (fillKeeping(m_pos) && m_len - m_pos < need) {
            }
        }
        if (m_pos >= m_len) {
            keepLastPassed();
            return false;
        }
        if (m_len - m_pos >= need && keyAt(m_buf.data() + m_pos)) return true;

        // While 64 bytes lie ahead in the buffer, every line start in them is
        // found at once, from a mask of their line feeds, and checked in turn.
        // A line start too near the end of the buffer to compare the key is
        // left to the loop around, which reads on.
        if constexpr (LineFeedMasks) {
            const char* const base = m_buf.data();
            size_t start = m_pos;
            bool nearEnd = false;
            for (size_t block = start; !nearEnd && m_len - block >= 64; block += 64) {
                std::uint64_t feeds = LineFeedMask64(base + block);
                for (; feeds; feeds &= feeds - 1) {
                    const size_t next = block + static_cast<size_t>(std::countr_zero(feeds)) + 1;
                    lastStart = start;
                    start = next;
                    if (m_len - start < std::max<size_t>(need, 1)) {
                        nearEnd = true;
                        break;
                    }
                    if (keyAt(base + start)) {
                        m_pos = start;
                        return true;
                    }
                }
            }
            if (start != m_pos) {
                m_pos = start;
                continue;
            }
        }
        lastStart = m_pos;
        const char* lf = FindLineFeed(m_buf.data() + m_pos, m_buf.data() + m_len);
        while (!lf) {
            keepLastPassed();
            m_pos = m_len;
            if (!fill()) return false;
            lf = FindLineFeed(m_buf.data(), m_buf.data() + m_len);
        }
        m_pos = static_cast<size_t>(lf - m_buf.data()) + 1;
    }
}

std::string TextFile::readToken() {
    // Numbers skip blanks, control characters and line ends before them.
    int c;
    while ((c = peek()) >= 0 && TextRules::separatesNumbers(static_cast<unsigned char>(c)))
        ++m_pos;
    std::string token;
    while ((c = peek()) >= 0 && !TextRules::separatesNumbers(static_cast<unsigned char>(c))) {
        token.push_back(static_cast<char>(c));
        ++m_pos;
    }
    return token;
}

bool TextFile::readInteger(long& value) {
    if (m_error) return false;
    if (!TextRules::integerFromToken(readToken(), value)) m_error = true;
    return !m_error;
}

bool TextFile::readReal(double& value) {
    if (m_error) return false;
    if (!TextRules::realFromToken(readToken(), value)) m_error = true;
    return !m_error;
}

void TextFile::check() const {
    if (m_error) throw IoError(m_path, "Invalid numeric format or read error");
}

void TextFile::write(std::string_view text) {
    if (m_mode != Mode::Rewrite && m_mode != Mode::Append) {
        errno = EBADF;
        fail("File not open for output");
    }
    if (m_buf.empty() && text.size() >= BlockSize) {
        // A whole file composed in memory goes out as it is, without a copy.
        writeOut(text.data(), text.size());
        return;
    }
    m_buf.insert(m_buf.end(), text.begin(), text.end());
    if (m_buf.size() >= BlockSize) flush();
}

void TextFile::writeNumber(double x, int width, int decimals) {
    write(FormatFixed(x, width, decimals));
}

void TextFile::writeInteger(long long n, int width) {
    write(FormatInteger(n, width));
}

void TextFile::writeLine(std::string_view text) {
    write(text);
    write("\r\n");
}

void TextFile::flush() {
    if (m_buf.empty()) return;
    try {
        writeOut(m_buf.data(), m_buf.size());
    } catch (...) {
        m_buf.clear();
        throw;
    }
    m_buf.clear();
}

void TextFile::writeOut(const char* bytes, size_t size) {
    struct stat st {};
    // A file removed while we hold it open would swallow every line unseen.
    if (m_mode == Mode::Append && ::fstat(m_fd, &st) == 0 && st.st_nlink == 0) {
        errno = ENOENT;
        fail("File was removed");
    }
    // Appended lines go in whole or not at all, so a retry after a full disk
    // does not leave half a line behind.
    off_t start = m_mode == Mode::Append ? ::lseek(m_fd, 0, SEEK_END) : -1;
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(m_fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            int saved = errno;
            if (start >= 0 && ::ftruncate(m_fd, start) != 0) {
                // Nothing more can be done; the error below names the file.
            }
            errno = saved;
            fail("Write error");
        }
        done += static_cast<size_t>(n);
    }
}

void TextFile::close() {
    if (!isOpen()) return;
    Mode mode = m_mode;
    if (mode == Mode::Rewrite || mode == Mode::Append) {
        try {
            flush();
            if (mode == Mode::Rewrite && ::fsync(m_fd) != 0) fail("Write error");
        } catch (...) {
            abandon();
            throw;
        }
    }
    int fd = m_fd;
    m_fd = -1;
    m_mode = Mode::None;
    // The new file is on disk; it takes its name while its lock is still held.
    if (mode == Mode::Rewrite && ::rename(m_tempPath.c_str(), m_path.c_str()) != 0) {
        int saved = errno;
        ::close(fd);
        ::unlink(m_tempPath.c_str());
        errno = saved;
        fail("Rename error");
    }
    if (::close(fd) != 0 && mode != Mode::Read) fail("Close error");
    if (mode == Mode::Rewrite) syncDirectory();
}

void TextFile::syncDirectory() const {
    // The rename is only safe from a power cut once the directory is on disk.
    const size_t slash = m_path.find_last_of('/');
    FileNames::syncDirectory(slash == std::string::npos ? "." : m_path.substr(0, slash + 1));
}

void TextFile::sync() {
    flush();
    if (::fsync(m_fd) != 0) fail("Write error");
}

void TextFile::abandon() {
    if (m_fd >= 0) ::close(m_fd);
    if (m_mode == Mode::Rewrite) ::unlink(m_tempPath.c_str());
    m_fd = -1;
    m_mode = Mode::None;
    m_buf.clear();
}

void TextFile::erase() {
    if (m_mode == Mode::Rewrite) {
        abandon();
    } else if (isOpen()) {
        close();
    }
    if (::unlink(m_path.c_str()) != 0 && errno != ENOENT) fail("Delete error");
}
