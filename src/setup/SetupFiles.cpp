#include "setup/SetupFiles.h"

#include "consolidation/SalesPersonFile.h"
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

std::string salesPersonsPath(const std::string& dataDir) {
    return FileNames::resolve(dataDir, "Spersons.dat");
}

} // namespace

std::vector<CodeChange> CodeChangesWithFigures(const std::string& dataDir,
                                               const Configuration& before,
                                               const Configuration& after) {
    std::vector<CodeChange> changes;
    for (size_t i = 0; i < before.SalesPersonCode.size(); ++i)
        if (!before.SalesPersonCode[i].empty() &&
            before.SalesPersonCode[i] != after.SalesPersonCode[i])
            changes.push_back({i, before.SalesPersonCode[i], after.SalesPersonCode[i]});
    // The file is read only when a code changes: most saves never need it.
    if (changes.empty()) return changes;
    const std::array<bool, 5> with = SalesPersonsWithFigures(salesPersonsPath(dataDir), before);
    std::erase_if(changes, [&](const CodeChange& c) { return !with[c.person]; });
    return changes;
}

std::string MoveQuestion(const CodeChange& change) {
    return "Move the figures of " + change.from + " to " + change.to + "?";
}

std::string StayNote(const CodeChange& change, const Configuration& after) {
    const std::string stay = "The figures of " + change.from + " stay under " + change.from;
    for (size_t i = 0; i < after.SalesPersonCode.size(); ++i)
        if (after.SalesPersonCode[i] == change.from)
            return stay + " and will count for SP" + std::to_string(i + 1) +
                   ", who has that code now, at the next consolidation.";
    return stay + " and will leave the month's figures at the next consolidation.";
}

std::string MovedFigures(const std::string& dataDir, const Configuration& before,
                         const Configuration& after, const std::array<bool, 5>& move) {
    return MoveSalesPersonFigures(salesPersonsPath(dataDir), before, after, move);
}

void SaveSettings(const std::string& dataDir, const SettingsChange& change, size_t stopAfter) {
    const std::string path = FileNames::resolve(dataDir, "Configur.dat");
    FileNames::requireWritable(path);
    FileCommit commit(dataDir);
    commit.stopAfter(stopAfter);
    writeConfiguration(commit.stage("Configur.dat"), path, change.config);
    if (change.options) {
        // A shop that never had options gets no empty file.
        const std::string text = change.options->text();
        if (!text.empty() || FileNames::exists(FileNames::resolve(dataDir, "Options.dat")))
            commit.replace("Options.dat", text);
    }
    if (change.salesPersons) commit.replace("Spersons.dat", *change.salesPersons);
    commit.commit();
}

} // namespace SetupFiles
