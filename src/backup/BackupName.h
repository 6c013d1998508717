#pragma once

#include "platform/DateTime.h"

#include <optional>
#include <string>
#include <string_view>

// The names of the shop's backups: zorvi-YYYYMMDD-HHMM-Zn.tar.zst, with the
// local time the backup was made and the Z number of the last cash-up (0
// before the first). Only names of exactly this pattern are ever pruned.
struct BackupStamp {
    DateTime when; // seconds are not part of the name
    long z = 0;
};

std::string BackupFileName(const BackupStamp& stamp);
std::optional<BackupStamp> ParseBackupFileName(std::string_view name);

// Orders stamps by time, then by Z number.
bool EarlierBackup(const BackupStamp& a, const BackupStamp& b);

namespace BackupNames {
// The side file NAME.sha256 holds the archive's own SHA-256.
inline constexpr std::string_view SideSuffix = ".sha256";
// A backup being written; it takes its name only once it has been checked.
inline constexpr std::string_view PartSuffix = ".~part";
} // namespace BackupNames
