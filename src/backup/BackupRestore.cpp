#include "backup/BackupRestore.h"

#include "backup/BackupManifest.h"
#include "backup/BackupName.h"
#include "backup/BackupReading.h"
#include "backup/ShopFiles.h"
#include "platform/FileLock.h"
#include "platform/RawFile.h"
#include "store/FileNames.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string readSideFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str().substr(0, 4096);
}

// A member's name must stay inside the target.
bool safeName(const std::string& name) {
    if (name.empty() || name.front() == '/') return false;
    for (const fs::path& part : fs::path(name))
        if (part == ".." || part == "." || part.empty()) return false;
    return true;
}

class RestoreSink : public BackupMemberSink {
  public:
    explicit RestoreSink(std::string target) : m_target(std::move(target)) {}
    ~RestoreSink() override { dropPart(); }

    bool begin(const ManifestEntry& entry, unsigned mode, std::int64_t modified,
               std::string& why) override {
        if (!safeName(entry.name)) {
            why = "its name leads out of the folder";
            return false;
        }
        m_path = m_target + entry.name;
        m_part = m_path + std::string(BackupNames::PartSuffix);
        m_modified = modified;
        std::error_code error;
        fs::create_directories(fs::path(m_path).parent_path(), error);
        FileNames::remove(m_part);
        m_file = RawFile::createNew(m_part, (mode & 0777) | 0400, why);
        if (!m_file) why = "cannot create " + m_part + ": " + why;
        return m_file.has_value();
    }
    bool data(const void* bytes, size_t size, std::string& why) override {
        if (m_file->writeAll(bytes, size)) return true;
        why = "cannot write " + m_part + ": " + m_file->why();
        return false;
    }
    bool end(std::string& why) override {
        if (!m_file->sync() || !m_file->close()) {
            why = "cannot write " + m_part + ": " + m_file->why();
            return false;
        }
        m_file.reset();
        RawFile::setModified(m_part, m_modified);
        std::error_code error;
        fs::rename(m_part, m_path, error);
        if (error) {
            why = "cannot rename " + m_part + ": " + error.message();
            return false;
        }
        m_folders.insert(FileNames::directoryOf(m_path));
        m_part.clear();
        ++restored;
        return true;
    }
    void syncFolders() {
        for (const std::string& folder : m_folders)
            FileNames::syncDirectory(folder);
    }

    size_t restored = 0;

  private:
    void dropPart() {
        m_file.reset();
        if (!m_part.empty()) FileNames::remove(m_part);
    }
    std::string m_target;
    std::string m_path;
    std::string m_part;
    std::int64_t m_modified = 0;
    std::optional<RawFile> m_file;
    std::set<std::string> m_folders;
};

std::string replacedFolderName(const std::string& target, const DateTime& now) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "replaced-%04d%02d%02d-%02d%02d", now.year, now.month,
                  now.day, now.hour, now.minute);
    std::string name = stamp;
    std::error_code error;
    for (int n = 2; fs::exists(fs::symlink_status(target + name, error)); ++n)
        name = std::string(stamp) + "-" + std::to_string(n);
    return name;
}

bool contains(const fs::path& entry, const std::string& archivePath) {
    std::error_code error;
    const fs::path archive = fs::weakly_canonical(archivePath, error);
    const fs::path inside = fs::weakly_canonical(entry, error);
    const auto [end, _] =
        std::mismatch(inside.begin(), inside.end(), archive.begin(), archive.end());
    return end == inside.end();
}

// Moves everything but the program's own files and the kept folders aside.
std::string moveOldData(const RestoreRequest& request, std::string& why) {
    std::string folder = replacedFolderName(request.targetDir, request.now);
    std::vector<fs::path> moving;
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(request.targetDir, error)) {
        const std::string name = e.path().filename().string();
        if (ShopFiles::programFile(name) || ShopFiles::leftOutFolder(name) ||
            name == FileNames::ProgramLock || contains(e.path(), request.archivePath))
            continue;
        moving.push_back(e.path());
    }
    if (error || !fs::create_directory(request.targetDir + folder, error) || error) {
        why = "cannot make " + request.targetDir + folder + ": " + error.message();
        return {};
    }
    for (const fs::path& from : moving) {
        fs::rename(from, fs::path(request.targetDir + folder) / from.filename(), error);
        if (error) {
            why = "cannot move " + from.string() + " into " + folder + ": " + error.message();
            return {};
        }
    }
    FileNames::syncDirectory(request.targetDir);
    return folder;
}

} // namespace

BackupVerdict VerifyBackup(const std::string& archivePath) {
    const std::string name = fs::path(archivePath).filename().string();
    const std::string sidePath = archivePath + std::string(BackupNames::SideSuffix);
    BackupReading reading = ReadBackup(archivePath);
    if (!reading.unusable.empty()) return {false, reading.unusable};
    if (!reading.firstDifference.empty())
        return {false, archivePath + " differs; the first file that differs is " +
                           reading.firstDifference + ": " + reading.why};
    const std::optional<std::string> side =
        BackupManifest::parseSideFile(readSideFile(sidePath), name);
    if (!side)
        return {false, archivePath + " cannot be checked: its side file " + sidePath +
                           " is missing or gives no SHA-256 for " + name};
    if (*side != reading.archiveSha256)
        return {false, archivePath + " differs from the SHA-256 in its side file " + sidePath +
                           ", though each file in it matches its manifest"};
    return {true, archivePath + ": checked; its " + std::to_string(reading.manifest->size()) +
                      " files match their manifest and the archive its side file"};
}

RestoreOutcome RestoreBackup(const RestoreRequest& request) {
    using Status = RestoreOutcome::Status;
    const BackupVerdict verdict = VerifyBackup(request.archivePath);
    if (!verdict.ok) return {Status::Differs, verdict.text + "\nNothing was restored."};

    const std::string& target = request.targetDir;
    std::error_code error;
    if (fs::exists(target, error) && !fs::is_directory(target, error))
        return {Status::Refused, target + " is a file, not a folder"};
    fs::create_directories(target, error);
    if (error) return {Status::Refused, "cannot make " + target + ": " + error.message()};

    FileLock lock;
    std::string replaced;
    if (ShopFiles::holdsShopData(target)) {
        if (!request.replace)
            return {Status::Refused,
                    target +
                        " holds a shop's data; nothing was restored. To put the backup in "
                        "its place, give --replace: the old data go into " +
                        target + "replaced-YYYYMMDD-HHMM/ first."};
        const std::string lockPath = target + std::string(FileNames::ProgramLock);
        if (!lock.tryAcquire(lockPath) && FileLock::heldElsewhere(lockPath))
            return {Status::Refused, "Zorvi is running on " + target};
        std::string why;
        replaced = moveOldData(request, why);
        if (replaced.empty()) return {Status::Failed, why + "\nNothing was restored."};
    }

    RestoreSink sink(target);
    BackupReading reading = ReadBackup(request.archivePath, &sink);
    sink.syncFolders();
    const std::string aside =
        replaced.empty() ? std::string() : "\nThe old data are in " + target + replaced + "/.";
    if (!reading.matches())
        return {Status::Failed, "The restore stopped at " + reading.firstDifference + ": " +
                                    reading.why + "; " + std::to_string(sink.restored) +
                                    " files are in place." + aside};
    return {Status::Restored,
            std::to_string(sink.restored) + " files restored into " + target + "." + aside};
}
