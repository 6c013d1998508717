#pragma once

#include "backup/BackupName.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Writes one backup of a shop's directory into its backup folder: a tar
// archive compressed with zstd, its manifest first, under a temporary name;
// puts it on disk, reads it back and checks every file against the
// manifest, writes the side file with the archive's SHA-256, and only then
// gives the archive its name. A crash or kill at any moment leaves no
// archive under a backup's name; what it leaves under the temporary name the
// next backup clears away.

struct BackupRequest {
    std::string shopDir;   // ending in "/"
    std::string backupDir; // ending in "/"; must exist
    BackupStamp stamp;
};

// For tests: watch the steps, or make the disk fill up.
struct BackupTestHooks {
    // "file" after each file, "written", "checked", "side file", "named".
    std::function<void(std::string_view step)> step;
    // The archive's disk takes this many bytes, then is full.
    std::optional<std::uint64_t> diskSpace;
};

struct BackupWritten {
    std::string name;    // the archive's name, once it has it
    std::string failure; // why there is no backup; empty when there is one
    // Files that could not be read and are not in the backup, each with why.
    std::vector<std::string> leftOut;
    size_t files = 0;
    std::uint64_t bytes = 0;
    bool ok() const { return failure.empty(); }
};

BackupWritten WriteBackup(const BackupRequest& request, const std::atomic<bool>* cancel = nullptr,
                          const BackupTestHooks& hooks = {});
