#include "setup/SetupFiles.h"

#include "store/Configuration.h"
#include "store/IoError.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SetupFiles {

void EraseDocketDat(const std::string& dataDir) {
    DIR* dir = ::opendir(dataDir.empty() ? "." : dataDir.c_str());
    if (!dir) return;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, "Docket.Dat") != 0) continue;
        std::string path = dataDir + entry->d_name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(path.c_str());
    }
    ::closedir(dir);
}

void SaveConfiguration(const std::string& path, const Configuration& config) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR)) {
        throw IoError(path, "File is read-only");
    }
    errno = 0;
    if (!WriteConfiguration(path, config))
        throw IoError(path, std::string("File cannot be written (") + std::strerror(errno) + ")");
}

} // namespace SetupFiles
