#pragma once

#include "platform/DateTime.h"

#include <iosfwd>
#include <string>
#include <vector>

// zorvi-backup: the shop's backups from the command line.
//
//   zorvi-backup now [SHOPDIR]       a backup as at the day's close
//   zorvi-backup list [SHOPDIR]      the backups in the shop's backup folder
//   zorvi-backup verify FILE         checks a backup against its checksums
//   zorvi-backup restore [--replace] FILE TARGETDIR
//
// SHOPDIR is the current directory when not given. Exit status 0 when done
// and all holds, 1 when a backup failed or differs, 2 when the command
// could not run (bad arguments, no shop, Zorvi running on the shop).
struct BackupCommandContext {
    std::string workingDir; // ending in "/"
    DateTime now;
    long zNumber = 0; // of the shop's last cash-up; 0 before the first
    std::ostream& out;
    std::ostream& err;
};

int RunBackupCommand(const std::vector<std::string>& args, const BackupCommandContext& context);
