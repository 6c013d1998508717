#include "backup/ShopBackup.h"

#include "store/Options.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

std::string ShopBackup::text() const {
    if (!written.ok()) return "BACKUP FAILED: " + written.failure;
    std::string line = "Backup written and checked: " + written.name;
    if (!written.leftOut.empty()) {
        line += "; left out, as it cannot be read: ";
        for (size_t i = 0; i < written.leftOut.size(); ++i)
            line += (i ? ", " : "") + written.leftOut[i];
    }
    return line;
}

ShopBackup BackUpShop(const std::string& shopDir, const Options& options, const BackupStamp& stamp,
                      const std::atomic<bool>* cancel, const BackupTestHooks& hooks) {
    ShopBackup backup;
    backup.folder = BackupFolderOf(shopDir, options);
    MakeBackupFolderInShop(shopDir, backup.folder);
    backup.written = WriteBackup({shopDir, backup.folder, stamp}, cancel, hooks);
    // Old generations go only once there is a new one that has been checked.
    if (backup.written.ok())
        backup.pruned = PruneBackups(backup.folder, GenerationCountsOf(options));
    return backup;
}

ShopBackup BackUpWithin(std::chrono::milliseconds limit,
                        std::function<ShopBackup(const std::atomic<bool>& cancel)> work) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<ShopBackup> result;
        std::atomic<bool> cancel{false};
    };
    auto shared = std::make_shared<Shared>();
    std::thread thread([shared, work = std::move(work)] {
        ShopBackup result = work(shared->cancel);
        std::lock_guard lock(shared->mutex);
        shared->result = std::move(result);
        shared->done.notify_all();
    });
    std::unique_lock lock(shared->mutex);
    if (shared->done.wait_for(lock, limit, [&] { return shared->result.has_value(); })) {
        lock.unlock();
        thread.join();
        return std::move(*shared->result);
    }
    shared->cancel = true;
    thread.detach();
    ShopBackup late;
    late.written.failure =
        "it took longer than " + std::to_string(limit.count() / 1000) + " seconds and was stopped";
    return late;
}

std::string CloseBackupText(const ShopBackup& backup) {
    if (backup.ok()) return backup.text();
    return backup.text() + "; the day's close itself is complete";
}

std::vector<std::string> BackupDocketLines(const std::string& text, size_t width) {
    std::vector<std::string> lines{" "};
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(at, end - at);
        at = end + 1;
        while (word.size() > width) {
            if (!line.empty()) lines.push_back(std::move(line));
            line.clear();
            lines.push_back(word.substr(0, width));
            word.erase(0, width);
        }
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(std::move(line));
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}
