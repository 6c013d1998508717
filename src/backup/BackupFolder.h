#pragma once

#include "backup/BackupName.h"
#include "backup/Generations.h"

#include <cstdint>
#include <string>
#include <vector>

class Options;

// The shop's backup folder and the backups in it.

// The folder that `backup-dir=` names: a relative name lies inside the
// shop's directory (the default, Backup/), an absolute one anywhere (a USB
// stick, a network folder). Ends in "/".
std::string BackupFolderOf(const std::string& shopDir, const Options& options);
GenerationCounts GenerationCountsOf(const Options& options);

// Makes the folder when it is missing and lies inside the shop's directory.
// A folder elsewhere is never made: a stick that is not plugged in leaves
// its mount point behind, and a backup there would go to the computer's own
// disk instead.
void MakeBackupFolderInShop(const std::string& shopDir, const std::string& backupDir);

struct BackupListing {
    std::string name;
    BackupStamp stamp;
    std::uint64_t size = 0;
    // The archive has its side file and still matches the SHA-256 there; a
    // side file is only written once the archive has been read back and
    // checked file by file.
    bool verified = false;
};

// Zorvi's backups in the folder, oldest first.
std::vector<BackupListing> ListBackups(const std::string& backupDir);

struct PruneResult {
    std::vector<std::string> removed;
    std::vector<std::string> failed; // "NAME (reason)"
};

// Removes the backups (and their side files) that the counts do not keep,
// and side files whose archive is gone. Touches no file whose name is not
// one of Zorvi's backup names.
PruneResult PruneBackups(const std::string& backupDir, const GenerationCounts& counts);
