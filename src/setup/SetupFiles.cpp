#include "setup/SetupFiles.h"

#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Options.h"

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

namespace {

void writeConfiguration(const std::string& path, const std::string& named,
                        const Configuration& config) {
    errno = 0;
    if (!WriteConfiguration(path, config))
        throw IoError(named, std::string("File cannot be written (") + std::strerror(errno) + ")");
}

} // namespace

void SaveConfiguration(const std::string& path, const Configuration& config) {
    FileNames::requireWritable(path);
    writeConfiguration(path, path, config);
}

void SaveSettings(const std::string& dataDir, const Configuration& config, const Options& options,
                  size_t stopAfter) {
    const std::string path = FileNames::resolve(dataDir, "Configur.dat");
    FileNames::requireWritable(path);
    FileCommit commit(dataDir);
    commit.stopAfter(stopAfter);
    writeConfiguration(commit.stage("Configur.dat"), path, config);
    // A shop that never had options gets no empty file.
    const std::string text = options.text();
    if (!text.empty() || FileNames::exists(FileNames::resolve(dataDir, "Options.dat")))
        commit.replace("Options.dat", text);
    commit.commit();
}

} // namespace SetupFiles
