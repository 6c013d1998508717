#include "viewer/ViewedFile.h"
#include "store/IoError.h"
#include "support/FileSizeLimit.h"
#include "support/TestDir.h"

#include <filesystem>
#include <fnmatch.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(ViewedFile, FiltersOfferDataFilesWhateverTheirCase) {
    auto filters = ViewerFileFilters();
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].label, ".dat");
    EXPECT_EQ(filters[1].label, ".tot");
    struct Case {
        const char* name;
        bool dat;
        bool tot;
    } cases[] = {{"Daybyday.dat", true, false}, {"CONFIGUR.DAT", true, false},
                 {"Balance.Tot", false, true},  {"balance.tot", false, true},
                 {"Balance.wrk", false, false}, {"dat", false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(fnmatch(filters[0].pattern.c_str(), c.name, 0) == 0, c.dat) << c.name;
        EXPECT_EQ(fnmatch(filters[1].pattern.c_str(), c.name, 0) == 0, c.tot) << c.name;
    }
}

TEST(ViewedFile, LinesKeepTheirOwnEndsAndNewLinesGetCrLf) {
    struct Case {
        const char* original;
        const char* edited; // nullptr: as shown
        const char* written;
    };
    // clang-format off
    const Case cases[] = {
        {"", nullptr, ""}, {"\r\n", nullptr, "\r\n"}, {"a\nb\r\nc", nullptr, "a\nb\r\nc"},
        {"a\r\n\r\n\n", nullptr, "a\r\n\r\n\n"}, {"x\r y\r\nz\n", nullptr, "x\r y\r\nz\n"},
        {"TAX\nTOTAL\r\n", "TAX TOTAL", "TAX TOTAL\n"}, {"a\nb", "a\nb\nc", "a\nb\r\nc"},
        {"a\r\nb\r\n", "a\nb\nc", "a\r\nb\r\nc\r\n"}, {"", "new", "new"},
    };
    // clang-format on
    for (const Case& c : cases) {
        ViewedText text = SplitLines(c.original);
        EXPECT_EQ(JoinLines(c.edited ? c.edited : text.display, text), c.written) << c.original;
    }
    EXPECT_EQ(SplitLines("a\r\nb\nc").display, "a\nb\nc");
}

TEST(ViewedFile, RewriteKeepsModeAndStampAndRefusesWriteProtectedFiles) {
    TestDir dir;
    dir.write("Balance.Tot", "old\r\n");
    const std::string path = dir.file("Balance.Tot");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(path, then);
    FileStamp stamp = *ReadStamp(path);

    fs::last_write_time(path, then + std::chrono::hours(1));
    ASSERT_TRUE(RewriteKeepingStamp(path, "new\r\n", stamp));
    EXPECT_EQ(dir.read("Balance.Tot"), "new\r\n");
    EXPECT_EQ(fs::last_write_time(path), then);
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(fs::exists(path + ".~tmp"));

    fs::permissions(path, fs::perms::owner_read);
    EXPECT_FALSE(RewriteKeepingStamp(path, "lost\r\n", stamp));
    EXPECT_EQ(dir.read("Balance.Tot"), "new\r\n");
    fs::permissions(path, fs::perms::owner_all);
}

// The disk fills up while the new text is written: whether that shows when
// the text is put on disk or at once, the file stays as it was.
TEST(ViewedFile, ARewriteCutOffByAFullDiskLeavesTheFileAsItWas) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"a text that is written out when complete", std::string(2000, 'x')},
        {"a text long enough to be written out at once", std::string(100000, 'x')},
    };
    for (const auto& c : cases) {
        TestDir dir;
        dir.write("Balance.Tot", "old\r\n");
        const std::string path = dir.file("Balance.Tot");
        const FileStamp stamp = *ReadStamp(path);
        const int answer = withFileSizeLimit(1000, [&] {
            try {
                RewriteKeepingStamp(path, c.bytes, stamp);
            } catch (const IoError&) {
                return 0;
            }
            return 1;
        });
        EXPECT_EQ(answer, 0) << c.what << ": the write did not fail";
        EXPECT_EQ(dir.read("Balance.Tot"), "old\r\n") << c.what;
        EXPECT_FALSE(fs::exists(path + ".~tmp")) << c.what;
    }
}
