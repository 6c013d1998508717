#include "backup/BackupCommand.h"
#include "backup/BackupFolder.h"
#include "backup/BackupRestore.h"
#include "backup/ShopBackup.h"
#include "platform/FileLock.h"
#include "store/Options.h"
#include "support/TestDir.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

const BackupStamp Stamp{{2026, 12, 7, 18, 30, 0}, 3};
const std::string Name = "zorvi-20261207-1830-Z3.tar.zst";

// Every file of a folder and its sub-folders, by relative name.
std::map<std::string, std::string> tree(const std::string& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            out[fs::relative(e.path(), dir).string()] = ReadFileBytes(e.path().string());
    return out;
}

// Text that compresses no better than takings do, over several zstd blocks.
std::string takings(unsigned seed, size_t lines) {
    std::string out;
    for (size_t i = 0; i < lines; ++i) {
        seed = seed * 1103515245 + 12345;
        out += "A " + std::to_string(seed % 9000000 + 1000000) + "      " +
               std::to_string(seed % 97) + ".00     " + std::to_string(seed >> 20) + "\r\n";
    }
    return out;
}

std::string flipped(std::string bytes, size_t at, char mask) {
    if (at < bytes.size()) bytes[at] = static_cast<char>(bytes[at] ^ mask);
    return bytes;
}

struct Shop {
    TestDir dir{"shop"};
    TestDir elsewhere{"safe"};
    std::string backups = elsewhere.path();
    std::string archive = backups + Name;

    Shop() {
        std::string binary;
        for (int i = 0; i < 256; ++i)
            binary += static_cast<char>(i);
        dir.write("Configur.dat", "AAnn\r\n");
        dir.write("Pricelist.dat", takings(1, 4000));
        dir.write("Res2026Dez.05", takings(2, 8000));
        dir.write("Balance.dat", binary);
        dir.write("Empty.dat", "");
        fs::create_directory(dir.file("Notes"));
        dir.write("Notes/Year end.txt", "count the till\n");
    }
    BackupWritten backUp(const BackupTestHooks& hooks = {}) {
        return WriteBackup({dir.path(), backups, Stamp}, nullptr, hooks);
    }
};

} // namespace

TEST(Backup, RestoresEveryDataFileByteForByteAndLeavesTheRestOut) {
    Shop shop;
    const auto data = tree(shop.dir.path());
    // What the program keeps only while it works, the program itself and the
    // folders that are copies already.
    for (const char* name : {"zorvi", "zorvi-backup", "Slipjet.exe", "hlpf.1", "Pricelist.wrk",
                             "Inventory.new", "Pricelist.bak", "Daybyday.dat.~stg", "zorvi.lck",
                             "Backup/zorvi-20261206-1830-Z2.tar.zst", "Outbox/day.txt",
                             "replaced-20261201-0900/Configur.dat"}) {
        fs::create_directories(fs::path(shop.dir.file(name)).parent_path());
        shop.dir.write(name, "not data");
    }
    fs::permissions(shop.dir.file("Balance.dat"), fs::perms::owner_read | fs::perms::group_read);
    // A file that cannot be read is left out and named; the rest is saved.
    fs::create_symlink("/proc/self/mem", shop.dir.file("Locked.dat"));

    auto seconds = [](const std::string& path) {
        return std::chrono::floor<std::chrono::seconds>(
            fs::last_write_time(path).time_since_epoch());
    };
    fs::last_write_time(shop.dir.file("Res2026Dez.05"),
                        fs::file_time_type::clock::now() - std::chrono::hours(50));

    const BackupWritten written = shop.backUp();
    ASSERT_TRUE(written.ok()) << written.failure;
    EXPECT_EQ(written.name, Name);
    EXPECT_EQ(written.files, data.size());
    ASSERT_EQ(written.leftOut.size(), 1u);
    EXPECT_EQ(written.leftOut[0].rfind("Locked.dat (", 0), 0u);
    const std::string sum = ReadFileBytes(shop.archive + ".sha256");
    EXPECT_EQ(sum.substr(64), "  " + Name + "\n");

    TestDir target{"new"};
    const std::string into = target.path() + "shop/";
    const RestoreOutcome restored = RestoreBackup({shop.archive, into, false, {}});
    EXPECT_EQ(restored.status, RestoreOutcome::Status::Restored) << restored.text;
    EXPECT_EQ(tree(into), data);
    EXPECT_EQ(fs::status(into + "Balance.dat").permissions() & fs::perms::owner_write,
              fs::perms::none);
    EXPECT_EQ(seconds(into + "Res2026Dez.05"), seconds(shop.dir.file("Res2026Dez.05")));
}

TEST(Backup, VerifyAndRestoreRefuseAChangedOrCutArchiveNamingTheFile) {
    Shop shop;
    ASSERT_TRUE(shop.backUp().ok());
    const std::string good = ReadFileBytes(shop.archive);
    ASSERT_TRUE(VerifyBackup(shop.archive).ok);
    auto put = [&](const std::string& bytes) { std::ofstream(shop.archive) << bytes; };

    struct Case {
        const char* what;
        std::function<std::string(std::string)> alter;
        const char* names; // in the verdict
    } cases[] = {
        {"one byte near the start", [](std::string b) { return flipped(b, 40, 1); }, "differs"},
        {"one byte in the middle", [](std::string b) { return flipped(b, b.size() / 2, 0x20); },
         "differs"},
        {"one byte near the end", [](std::string b) { return flipped(b, b.size() - 30, 1); },
         "differs"},
        {"cut in half", [](std::string b) { return b.substr(0, b.size() / 2); },
         "the first file that differs is "},
        {"a byte added", [](std::string b) { return b + "x"; }, "differs"},
    };
    for (const Case& c : cases) {
        put(c.alter(good));
        const BackupVerdict verdict = VerifyBackup(shop.archive);
        EXPECT_FALSE(verdict.ok) << c.what;
        EXPECT_NE(verdict.text.find(c.names), std::string::npos) << c.what << ": " << verdict.text;
        TestDir target{"new"};
        EXPECT_EQ(RestoreBackup({shop.archive, target.path(), false, {}}).status,
                  RestoreOutcome::Status::Differs)
            << c.what;
        EXPECT_TRUE(target.files().empty()) << c.what;
    }
    // The middle of the archive lies in a file's data: that file is named.
    put(cases[3].alter(good));
    EXPECT_NE(VerifyBackup(shop.archive).text.find("is Res2026Dez.05: "), std::string::npos)
        << VerifyBackup(shop.archive).text;
    put(good);
    fs::remove(shop.archive + ".sha256");
    EXPECT_FALSE(VerifyBackup(shop.archive).ok);
}

TEST(Backup, AFolderThatCannotTakeItLeavesNoBackupAndSaysWhy) {
    Shop shop;
    shop.elsewhere.write("file", "");
    struct Case {
        std::string folder;
        std::optional<std::uint64_t> space;
        std::string failure;
    } cases[] = {
        {shop.backups + "unplugged/",
         {},
         "the backup folder " + shop.backups + "unplugged/ is missing"},
        {shop.backups + "file/", {}, "the backup folder " + shop.backups + "file/ is a file"},
        {shop.backups, 20000, "cannot write " + shop.archive + ".~part: No space left on device"},
    };
    for (const Case& c : cases) {
        BackupTestHooks hooks;
        hooks.diskSpace = c.space;
        const BackupWritten w = WriteBackup({shop.dir.path(), c.folder, Stamp}, nullptr, hooks);
        EXPECT_EQ(w.failure, c.failure);
        EXPECT_EQ(shop.elsewhere.files().size(), 1u) << c.failure;
    }
    // The close's wording, and the docket's lines within its width.
    ShopBackup full;
    full.written.failure = cases[2].failure;
    const std::string text = CloseBackupText(full);
    EXPECT_EQ(text, "BACKUP FAILED: " + cases[2].failure + "; the day's close itself is complete");
    for (const std::string& line : BackupDocketLines(text, 24))
        EXPECT_LE(line.size(), 24u) << line;
}

TEST(Backup, AKillAtAnyStepLeavesNoFileUnderTheFinalName) {
    for (const char* step : {"file", "written", "checked", "side file"}) {
        Shop shop;
        BackupTestHooks hooks;
        hooks.step = [step](std::string_view now) {
            if (now == step) std::raise(SIGKILL);
        };
        EXPECT_EXIT(shop.backUp(hooks), testing::KilledBySignal(SIGKILL), "") << step;
        EXPECT_FALSE(fs::exists(shop.archive)) << step;
        // The next backup clears what the killed one left.
        ASSERT_TRUE(shop.backUp().ok()) << step;
        EXPECT_EQ(shop.elsewhere.files().size(), 2u) << step;
        EXPECT_TRUE(VerifyBackup(shop.archive).ok) << step;
    }
}

TEST(Backup, CloseWaitsAtMostItsLimit) {
    const auto start = std::chrono::steady_clock::now();
    const ShopBackup late =
        BackUpWithin(std::chrono::milliseconds(100), [](const std::atomic<bool>& cancel) {
            while (!cancel)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return ShopBackup{};
        });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(late.text().rfind("BACKUP FAILED: it took longer than", 0), 0u) << late.text();
}

TEST(BackupCommand, NowListVerifyAndRestoreWithReplace) {
    Shop shop;
    std::ostringstream out, err;
    const BackupCommandContext c{shop.dir.path(), Stamp.when, 0, out, err};
    auto run = [&](std::vector<std::string> args) {
        out.str("");
        err.str("");
        return RunBackupCommand(args, c);
    };
    // While the program holds the shop, no copy is taken.
    {
        FileLock program;
        ASSERT_TRUE(program.tryAcquire(shop.dir.file("zorvi.lck")));
        EXPECT_EQ(run({"now"}), 2);
        EXPECT_EQ(err.str(), "Zorvi is running on " + shop.dir.path() + "\n");
    }
    EXPECT_EQ(run({"now"}), 0) << err.str();
    const std::string name = "zorvi-20261207-1830-Z0.tar.zst";
    EXPECT_EQ(out.str(), "Backup written and checked: " + name + "\n");
    EXPECT_EQ(run({"list", shop.dir.path()}), 0);
    EXPECT_NE(out.str().find("2026-12-07 18:30         0"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("  yes       " + name), std::string::npos) << out.str();
    EXPECT_EQ(run({"verify", "Backup/" + name}), 0) << err.str();
    EXPECT_EQ(run({"now", shop.elsewhere.path()}), 2);
    EXPECT_EQ(run({"restore", "Backup/" + name}), 2);

    // A folder with a shop in it is replaced only when asked, its old data
    // moved aside, never deleted; the program's files stay.
    TestDir other{"other"};
    other.write("Configur.dat", "old\r\n");
    other.write("Extra.dat", "old\r\n");
    other.write("zorvi", "program");
    EXPECT_EQ(run({"restore", "Backup/" + name, other.path()}), 2);
    EXPECT_EQ(other.read("Configur.dat"), "old\r\n");
    EXPECT_EQ(run({"restore", "--replace", "Backup/" + name, other.path()}), 0) << err.str();
    EXPECT_EQ(other.read("Configur.dat"), "AAnn\r\n");
    EXPECT_EQ(other.read("replaced-20261207-1830/Extra.dat"), "old\r\n");
    EXPECT_EQ(other.read("replaced-20261207-1830/Configur.dat"), "old\r\n");
    EXPECT_EQ(other.read("zorvi"), "program");
    EXPECT_FALSE(other.exists("Extra.dat"));
}
