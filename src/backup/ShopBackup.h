#pragma once

#include "backup/BackupFolder.h"
#include "backup/BackupWriter.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Options;

// A backup of the shop as the day's close, the removal and `zorvi-backup
// now` make it: into the folder the options name, then the old generations
// pruned, once the new backup has been checked.
struct ShopBackup {
    std::string folder;
    BackupWritten written;
    PruneResult pruned;
    bool ok() const { return written.ok(); }
    // "Backup written and checked: NAME", naming any file left out; or
    // "BACKUP FAILED: reason".
    std::string text() const;
};

ShopBackup BackUpShop(const std::string& shopDir, const Options& options, const BackupStamp& stamp,
                      const std::atomic<bool>* cancel = nullptr, const BackupTestHooks& hooks = {});

// The day's close waits at most this long for its backup.
inline constexpr std::chrono::seconds CloseBackupLimit{60};

// Runs the backup on a thread of its own and waits for it at most `limit`.
// A backup that takes longer (a network folder that hangs, a slow stick) is
// told to stop and left to end by itself; it never takes its name, and the
// answer is a failure that says so. `work` must own everything it uses.
ShopBackup BackUpWithin(std::chrono::milliseconds limit,
                        std::function<ShopBackup(const std::atomic<bool>& cancel)> work);

// The line the close shows, and what the day's docket says about it.
std::string CloseBackupText(const ShopBackup& backup);
// Docket lines of at most `width` characters.
std::vector<std::string> BackupDocketLines(const std::string& text, size_t width);
