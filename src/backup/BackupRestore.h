#pragma once

#include "platform/DateTime.h"

#include <string>

// Checking a backup and putting it back.

struct BackupVerdict {
    bool ok = false;
    // What the owner is told: that it holds, or the first file that differs.
    std::string text;
};

// Checks the archive against its side file and every file in it against its
// manifest.
BackupVerdict VerifyBackup(const std::string& archivePath);

struct RestoreRequest {
    std::string archivePath;
    std::string targetDir; // ending in "/"; made when missing
    // A target that holds a shop's data is refused unless this is set; the
    // old data then go into targetDir/replaced-YYYYMMDD-HHMM/ first.
    bool replace = false;
    DateTime now;
};

struct RestoreOutcome {
    enum class Status {
        Restored,
        Differs, // the backup does not verify; nothing was written
        Refused, // the target holds a shop, or Zorvi is running on it
        Failed,  // writing failed part way (the text says what is in place)
    };
    Status status = Status::Failed;
    std::string text;
};

RestoreOutcome RestoreBackup(const RestoreRequest& request);
