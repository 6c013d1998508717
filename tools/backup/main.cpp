// zorvi-backup: the shop's backups from the command line (see BackupCommand.h).
#include "backup/BackupCommand.h"
#include "platform/LocalClock.h"

#include <filesystem>
#include <iostream>
#include <system_error>

int main(int argc, char** argv) {
    std::error_code error;
    std::string here = std::filesystem::current_path(error).string();
    if (here.empty() || here.back() != '/') here += '/';
    // No cash-up has a Z number yet; the backups are named -Z0 until one has.
    const BackupCommandContext context{here, LocalClock().now(), 0, std::cout, std::cerr};
    return RunBackupCommand(std::vector<std::string>(argv + 1, argv + argc), context);
}
