#include "backup/BackupFolder.h"

#include "backup/BackupManifest.h"
#include "backup/BackupReading.h"
#include "store/Options.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

long countOf(const Options& options, const char* key, long fallback) {
    try {
        return std::stol(options.value(key));
    } catch (const std::exception&) {
        return fallback;
    }
}

std::string readSmall(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str().substr(0, 4096);
}

bool insideShop(const std::string& shopDir, const std::string& dir) {
    const fs::path relative =
        fs::path(dir).lexically_normal().lexically_relative(fs::path(shopDir).lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

// The archives of the folder: name and stamp.
std::vector<std::pair<std::string, BackupStamp>> archivesIn(const std::string& backupDir) {
    std::vector<std::pair<std::string, BackupStamp>> found;
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(backupDir, error)) {
        const std::string name = e.path().filename().string();
        std::error_code typeError;
        if (!e.is_regular_file(typeError)) continue;
        if (std::optional<BackupStamp> stamp = ParseBackupFileName(name))
            found.emplace_back(name, *stamp);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return EarlierBackup(a.second, b.second); });
    return found;
}

} // namespace

std::string BackupFolderOf(const std::string& shopDir, const Options& options) {
    const std::string named = options.value("backup-dir");
    if (named.empty()) return withSlash(shopDir + "Backup");
    if (named.front() == '/') return withSlash(named);
    return withSlash(shopDir + named);
}

GenerationCounts GenerationCountsOf(const Options& options) {
    return {countOf(options, "backup-days", 14), countOf(options, "backup-months", 12),
            countOf(options, "backup-years", 100)};
}

void MakeBackupFolderInShop(const std::string& shopDir, const std::string& backupDir) {
    std::error_code error;
    if (insideShop(shopDir, backupDir) && !fs::exists(fs::symlink_status(backupDir, error)))
        fs::create_directories(backupDir, error);
}

std::vector<BackupListing> ListBackups(const std::string& backupDir) {
    std::vector<BackupListing> listings;
    for (const auto& [name, stamp] : archivesIn(backupDir)) {
        BackupListing listing{name, stamp};
        const std::string path = backupDir + name;
        std::error_code error;
        listing.size = fs::file_size(path, error);
        const std::optional<std::string> side = BackupManifest::parseSideFile(
            readSmall(path + std::string(BackupNames::SideSuffix)), name);
        std::string why;
        listing.verified = side && FileSha256(path, why) == *side;
        listings.push_back(listing);
    }
    return listings;
}

PruneResult PruneBackups(const std::string& backupDir, const GenerationCounts& counts) {
    PruneResult result;
    const auto archives = archivesIn(backupDir);
    std::vector<BackupStamp> stamps;
    stamps.reserve(archives.size());
    for (const auto& archive : archives)
        stamps.push_back(archive.second);
    const std::vector<bool> kept = KeptGenerations(stamps, counts);
    auto removeFile = [&](const std::string& name) {
        std::error_code error;
        if (fs::remove(backupDir + name, error) && !error)
            result.removed.push_back(name);
        else if (error)
            result.failed.push_back(name + " (" + error.message() + ")");
    };
    for (size_t i = 0; i < archives.size(); ++i) {
        if (kept[i]) continue;
        removeFile(archives[i].first + std::string(BackupNames::SideSuffix));
        removeFile(archives[i].first);
    }
    // Side files whose archive is gone: a kill between the two names.
    std::vector<std::string> orphans;
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(backupDir, error)) {
        const std::string name = e.path().filename().string();
        if (!name.ends_with(BackupNames::SideSuffix)) continue;
        const std::string archive = name.substr(0, name.size() - BackupNames::SideSuffix.size());
        std::error_code missing;
        if (ParseBackupFileName(archive) && !fs::exists(backupDir + archive, missing))
            orphans.push_back(name);
    }
    for (const std::string& name : orphans)
        removeFile(name);
    return result;
}
