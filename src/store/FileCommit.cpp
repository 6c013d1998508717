#include "store/FileCommit.h"

#include "platform/FileLock.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/TextReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <stdexcept>
#include <strings.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string& path, const char* what) {
    throw IoError(path, std::string(what) + " (" + std::strerror(errno) + ")");
}

std::string baseName(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

void syncDirectory(const std::string& dir, bool sync = true) {
    if (sync && !FileNames::syncDirectory(dir)) fail(dir, "Write error");
}

void writeAllSynced(const std::string& path, std::string_view bytes, bool sync = true) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) fail(path, "Open error");
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            int saved = errno;
            ::close(fd);
            errno = saved;
            fail(path, "Write error");
        }
        done += static_cast<size_t>(n);
    }
    if (sync && ::fsync(fd) != 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        fail(path, "Write error");
    }
    if (::close(fd) != 0) fail(path, "Close error");
}

bool present(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

// A move never replaces a file that is there: an archive name found free when
// the change was prepared may have been taken since.
void moveNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
    if (errno != EINVAL && errno != ENOSYS) fail(errno == EEXIST ? to : from, "Rename error");
    // A file system without the no-replace rename: check, then rename.
    if (present(to)) {
        errno = EEXIST;
        fail(to, "Rename error");
    }
    if (::rename(from.c_str(), to.c_str()) != 0) fail(from, "Rename error");
}

// One operation of a journal. Each looks at what is already done first, so a
// journal that is finished again after a crash changes nothing twice.
void carryOut(const std::string& dir, char kind, const std::string& first,
              const std::string& second) {
    const std::string a = dir + first;
    const std::string b = dir + second;
    switch (kind) {
    case 'R':
        if (!present(b)) break;
        FileNames::copyPermissions(a, b);
        if (::rename(b.c_str(), a.c_str()) != 0) fail(a, "Rename error");
        break;
    case 'D':
        if (::unlink(a.c_str()) != 0 && errno != ENOENT) fail(a, "Delete error");
        break;
    case 'M':
        if (!present(a)) break;
        moveNoReplace(a, b);
        break;
    }
}

struct JournalLine {
    char kind;
    std::string first;
    std::string second;
};

// The journal's lines, or nothing when it is not complete. A line of kind
// 'N' is the change's note.
bool readJournal(const std::string& path, std::vector<JournalLine>& lines, std::string& note) {
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file) return false;
    std::string line;
    while (file->readFullLine(line)) {
        if (line == "END") return true;
        auto tab1 = line.find('\t');
        auto tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (line.size() < 2 || tab1 != 1 || tab2 == std::string::npos ||
            std::string_view("RDMN").find(line[0]) == std::string_view::npos)
            return false;
        if (line[0] == 'N') {
            note = line.substr(2, tab2 - 2);
            continue;
        }
        lines.push_back({line[0], line.substr(2, tab2 - 2), line.substr(tab2 + 1)});
    }
    return false;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool isLeftover(std::string_view name) {
    // "Inventory.dat.~stg.~tmp" is a staging file cut off while it was written.
    return endsWith(name, FileCommit::StagingSuffix) || endsWith(name, FileNames::RewriteSuffix) ||
           sameName(name, FileNames::ProbeName) || sameName(name, FileNames::ConsolidationLock) ||
           sameName(name, FileNames::ProgramLock);
}

void sweepLeftovers(const std::string& dir) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return;
    std::vector<std::string> leftovers;
    while (dirent* e = ::readdir(d)) {
        if (isLeftover(e->d_name)) leftovers.push_back(dir + e->d_name);
    }
    ::closedir(d);
    for (const auto& path : leftovers)
        FileLock::removeUnlessHeld(path);
}

} // namespace

FileCommit::FileCommit(std::string dataDir) : m_dir(std::move(dataDir)) {
    m_directoryLock.share(m_dir);
}

FileCommit::~FileCommit() {
    if (!m_done) cancel();
}

std::string FileCommit::checkedName(std::string_view name) const {
    if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..")
        throw std::invalid_argument("not a file name of the data directory: " + std::string(name));
    return baseName(FileNames::resolve(m_dir, name));
}

std::string FileCommit::stage(std::string_view target) {
    std::string name = checkedName(target);
    FileNames::requireWritable(m_dir + name);
    std::string staging = name + std::string(StagingSuffix);
    m_operations.push_back({'R', name, staging});
    return m_dir + staging;
}

void FileCommit::replace(std::string_view target, std::string_view content) {
    writeAllSynced(stage(target), content, m_sync);
}

void FileCommit::remove(std::string_view name) {
    m_operations.push_back({'D', checkedName(name), {}});
}

void FileCommit::move(std::string_view from, std::string_view to) {
    std::string target = checkedName(to);
    if (present(m_dir + target)) {
        errno = EEXIST;
        fail(m_dir + target, "Rename error");
    }
    m_operations.push_back({'M', checkedName(from), target});
}

void FileCommit::setNote(std::string note) {
    for (char& c : note)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    m_note = std::move(note);
}

void FileCommit::commit() {
    std::string journal;
    if (!m_note.empty()) journal += "N\t" + m_note + "\t\r\n";
    for (const auto& op : m_operations) {
        if (op.kind == 'R' && !present(m_dir + op.second))
            throw IoError(m_dir + op.second, "Staging file missing");
        journal += op.kind;
        journal += '\t' + op.first + '\t' + op.second + "\r\n";
    }
    journal += "END\r\n";
    const std::string path = m_dir + std::string(JournalName);
    const std::string temp = path + std::string(StagingSuffix);
    try {
        syncDirectory(m_dir, m_sync);
        writeAllSynced(temp, journal, m_sync);
        if (::rename(temp.c_str(), path.c_str()) != 0) fail(path, "Rename error");
    } catch (...) {
        cancel();
        throw;
    }
    // From here on the change is made; what does not get done now the next
    // start finishes.
    m_done = true;
    m_committed = true;
    syncDirectory(m_dir, m_sync);
    size_t count = 0;
    for (const auto& op : m_operations) {
        if (count++ == m_stopAfter) return;
        carryOut(m_dir, op.kind, op.first, op.second);
    }
    if (count == m_stopAfter) return;
    syncDirectory(m_dir, m_sync);
    if (::unlink(path.c_str()) != 0) fail(path, "Delete error");
    syncDirectory(m_dir, m_sync);
}

void FileCommit::cancel() {
    for (const auto& op : m_operations)
        if (op.kind == 'R') ::unlink((m_dir + op.second).c_str());
    ::unlink((m_dir + std::string(JournalName) + std::string(StagingSuffix)).c_str());
    m_operations.clear();
    m_done = true;
}

std::string RecoverFileCommit(const std::string& dataDir) {
    DirectoryLock alone;
    if (!alone.tryExclusive(dataDir)) return std::string();
    const std::string path = dataDir + std::string(FileCommit::JournalName);
    std::vector<JournalLine> lines;
    std::string note;
    bool finished = readJournal(path, lines, note);
    if (finished) {
        for (const auto& line : lines)
            carryOut(dataDir, line.kind, line.first, line.second);
        syncDirectory(dataDir);
    }
    if (::unlink(path.c_str()) == 0) {
        // Gone from the disk too, or a power cut brings a finished journal
        // back and it is carried out again over the changes made since.
        syncDirectory(dataDir);
    } else if (errno != ENOENT) {
        fail(path, "Delete error");
    }
    // Only now: a complete journal still needed its staging files.
    sweepLeftovers(dataDir);
    return finished ? note : std::string();
}
