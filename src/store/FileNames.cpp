#include "store/FileNames.h"

#include "store/IoError.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileNames {

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool regularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool named(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string resolve(const std::string& dir, std::string_view name) {
    std::string exact = dir + std::string(name);
    if (named(exact)) return exact;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return exact;
    std::string found;
    const std::string wanted(name);
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, wanted.c_str()) == 0) {
            found = dir + e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found.empty() ? exact : found;
}

bool canCreateIn(const std::string& dir) {
    const std::string probe = (dir.empty() ? std::string("./") : dir) + std::string(ProbeName);
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EEXIST;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::string directoryOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void requireWritable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR))
        throw IoError(path, "The file is read-only");
}

void copyPermissions(const std::string& model, const std::string& path) {
    struct stat st {};
    if (::stat(model.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::chmod(path.c_str(), st.st_mode & 07777) != 0) {
        // The new file keeps the default rights; it is still the shop's file.
    }
}

bool syncDirectory(const std::string& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const int rc = ::fsync(fd);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return rc == 0;
}

} // namespace FileNames
