#include "consolidation/Removal.h"

#include "backup/BackupName.h"
#include "store/AuditTrail.h"
#include "store/FileNames.h"

#include <filesystem>
#include <strings.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool isFileOrLink(const fs::path& path) {
    std::error_code error;
    fs::file_status status = fs::symlink_status(path, error);
    return !error && (fs::is_regular_file(status) || fs::is_symlink(status));
}

bool holdsProgram(const std::string& dataDir, const std::string& programName) {
    if (programName.empty() || !isFileOrLink(dataDir + programName)) return false;
    for (const char* help : {"hlpf.1", "hlpf.2", "hlpf.3", "hlpf.4", "hlpf.5", "hlpf.6", "hlpf.7"})
        if (!FileNames::exists(FileNames::resolve(dataDir, help))) return false;
    return true;
}

// A backup kept in the directory itself outlives the program.
bool backupFile(std::string name) {
    if (name.ends_with(BackupNames::SideSuffix))
        name.resize(name.size() - BackupNames::SideSuffix.size());
    return ParseBackupFileName(name).has_value();
}

// The audit trail stays behind: the removal is its last line, and a trail
// that went with the files would leave no trace of who removed them, or when.
bool auditTrail(const std::string& name) {
    return ::strcasecmp(name.c_str(), AuditTrailName) == 0;
}

} // namespace

RemovalRecord RecordProgramFiles(const std::string& dataDir, const std::string& programName) {
    RemovalRecord record;
    if (!holdsProgram(dataDir, programName)) {
        record.refusal = "Zorvi is not removed.\rThe directory " + dataDir +
                         "\rdoes not hold the program " + programName +
                         " and its help files Hlpf.1 to Hlpf.7,\rso its files may not be "
                         "Zorvi's own.";
        return record;
    }
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(dataDir, error)) {
        const std::string name = entry.path().filename().string();
        if (isFileOrLink(entry.path()) && !backupFile(name) && !auditTrail(name))
            record.paths.push_back(entry.path().string());
    }
    if (error) {
        record.paths.clear();
        record.refusal = "Zorvi is not removed.\rThe directory " + dataDir + " cannot be read.";
    }
    return record;
}

std::vector<std::string> RemoveRecordedFiles(const std::vector<std::string>& paths) {
    std::vector<std::string> left;
    for (const std::string& path : paths) {
        if (!isFileOrLink(path)) continue;
        std::error_code error;
        // remove() on a link deletes the link; it never follows it.
        if (!fs::remove(path, error) || error) left.push_back(path);
    }
    return left;
}
