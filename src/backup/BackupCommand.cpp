#include "backup/BackupCommand.h"

#include "backup/BackupFolder.h"
#include "backup/BackupRestore.h"
#include "backup/ShopBackup.h"
#include "platform/FileLock.h"
#include "store/FileNames.h"
#include "store/Options.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace {

constexpr const char* Usage = "Usage: zorvi-backup now [SHOPDIR]\n"
                              "       zorvi-backup list [SHOPDIR]\n"
                              "       zorvi-backup verify FILE\n"
                              "       zorvi-backup restore [--replace] FILE TARGETDIR\n"
                              "SHOPDIR is the current directory when not given.\n";

// A folder as a data directory: absolute, ending in "/".
std::string folderOf(const std::string& given, const std::string& workingDir) {
    fs::path path = given.empty() ? fs::path(workingDir) : fs::path(given);
    if (path.is_relative()) path = fs::path(workingDir) / path;
    std::string text = path.lexically_normal().string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

std::string fileOf(const std::string& given, const std::string& workingDir) {
    const fs::path path(given);
    return (path.is_relative() ? fs::path(workingDir) / path : path).lexically_normal().string();
}

// The program's message texts break lines with "\r"; a terminal wants "\n".
std::string lines(std::string text) {
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text + "\n";
}

bool holdsShop(const std::string& dir) {
    for (const char* name : {"Configur.dat", "Pricelist.dat"})
        if (FileNames::regularFile(FileNames::resolve(dir, name))) return true;
    return false;
}

int usage(const BackupCommandContext& c, int status) {
    (status == 0 ? c.out : c.err) << Usage;
    return status;
}

Options optionsOf(const std::string& shop, const BackupCommandContext& c) {
    OptionsRead read = ReadOptions(shop);
    if (!read.faults.empty())
        c.err << lines(OptionsFaultMessage(FileNames::resolve(shop, "Options.dat"), read.faults));
    return std::move(read.options);
}

int now(const std::string& shop, const BackupCommandContext& c) {
    if (!holdsShop(shop)) {
        c.err << "zorvi-backup: " << shop << " holds no shop (no Configur.dat or Pricelist.dat)\n";
        return 2;
    }
    // The program's own lock: no sale is rung up while its files are copied.
    FileLock lock;
    const std::string lockPath = shop + std::string(FileNames::ProgramLock);
    if (lock.tryAcquire(lockPath)) {
        char clock[8];
        std::snprintf(clock, sizeof clock, "%d:%02d", c.now.hour, c.now.minute);
        lock.writeNote(clock);
    } else if (FileLock::heldElsewhere(lockPath)) {
        c.err << "Zorvi is running on " << shop << "\n";
        return 2;
    }
    const ShopBackup backup = BackUpShop(shop, optionsOf(shop, c), {c.now, c.zNumber});
    (backup.ok() ? c.out : c.err) << lines(backup.text());
    for (const std::string& name : backup.pruned.removed)
        c.out << "Removed the old backup file " << name << "\n";
    for (const std::string& name : backup.pruned.failed)
        c.err << "Could not remove the old backup file " << name << "\n";
    return backup.ok() && backup.written.leftOut.empty() ? 0 : 1;
}

int list(const std::string& shop, const BackupCommandContext& c) {
    if (!holdsShop(shop)) {
        c.err << "zorvi-backup: " << shop << " holds no shop (no Configur.dat or Pricelist.dat)\n";
        return 2;
    }
    const std::string folder = BackupFolderOf(shop, optionsOf(shop, c));
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        c.err << "zorvi-backup: the backup folder " << folder << " is missing\n";
        return 1;
    }
    const std::vector<BackupListing> backups = ListBackups(folder);
    c.out << "Backups in " << folder << "\n";
    c.out << "date              Z number          size  verified  file\n";
    bool allVerified = true;
    for (const BackupListing& b : backups) {
        char row[160];
        const DateTime& t = b.stamp.when;
        std::snprintf(row, sizeof row, "%04d-%02d-%02d %02d:%02d  %8ld  %12llu  %-8s  ", t.year,
                      t.month, t.day, t.hour, t.minute, b.stamp.z,
                      static_cast<unsigned long long>(b.size), b.verified ? "yes" : "no");
        c.out << row << b.name << "\n";
        allVerified = allVerified && b.verified;
    }
    if (backups.empty()) c.out << "(none)\n";
    return allVerified ? 0 : 1;
}

int verify(const std::string& file, const BackupCommandContext& c) {
    if (!FileNames::regularFile(file)) {
        c.err << "zorvi-backup: " << file << " is not a file\n";
        return 2;
    }
    const BackupVerdict verdict = VerifyBackup(file);
    (verdict.ok ? c.out : c.err) << lines(verdict.text);
    return verdict.ok ? 0 : 1;
}

int restore(const std::string& file, const std::string& target, bool replace,
            const BackupCommandContext& c) {
    if (!FileNames::regularFile(file)) {
        c.err << "zorvi-backup: " << file << " is not a file\n";
        return 2;
    }
    const RestoreOutcome outcome = RestoreBackup({file, target, replace, c.now});
    using Status = RestoreOutcome::Status;
    (outcome.status == Status::Restored ? c.out : c.err) << lines(outcome.text);
    switch (outcome.status) {
    case Status::Restored:
        c.out << "Make it runnable with: zorvi-new-shop " << target << "\n";
        return 0;
    case Status::Refused:
        return 2;
    default:
        return 1;
    }
}

} // namespace

int RunBackupCommand(const std::vector<std::string>& args, const BackupCommandContext& c) {
    std::vector<std::string> words;
    bool replace = false;
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") return usage(c, 0);
        if (arg == "--replace")
            replace = true;
        else
            words.push_back(arg);
    }
    if (words.empty()) return usage(c, 2);
    const std::string& command = words.front();
    const size_t given = words.size() - 1;
    if (replace && command != "restore") return usage(c, 2);
    if ((command == "now" || command == "list") && given <= 1) {
        const std::string shop = folderOf(given ? words[1] : std::string(), c.workingDir);
        return command == "now" ? now(shop, c) : list(shop, c);
    }
    if (command == "verify" && given == 1) return verify(fileOf(words[1], c.workingDir), c);
    if (command == "restore" && given == 2)
        return restore(fileOf(words[1], c.workingDir), folderOf(words[2], c.workingDir), replace,
                       c);
    return usage(c, 2);
}
