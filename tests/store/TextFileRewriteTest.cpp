#include "store/IoError.h"
#include "store/TextFile.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}
} // namespace

TEST(TextFileRewrite, KeepsTheModeAndFollowsNoLink) {
    TestDir dir;
    dir.write("Configur.dat", "old\r\n");
    ::chmod(dir.file("Configur.dat").c_str(), 0600);
    // A link planted at the temporary name must not receive the new file.
    dir.write("elsewhere", "untouched");
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), dir.file("Configur.dat.~tmp").c_str()), 0);

    TextFile f;
    ASSERT_TRUE(f.openRewrite(dir.file("Configur.dat")));
    f.writeLine("new");
    f.close();
    EXPECT_EQ(dir.read("Configur.dat"), "new\r\n");
    EXPECT_EQ(modeOf(dir.file("Configur.dat")), 0600u);
    EXPECT_EQ(dir.read("elsewhere"), "untouched");
    EXPECT_FALSE(dir.exists("Configur.dat.~tmp"));
}

TEST(TextFileRewrite, AFailedRenameKeepsTheOldFileAndSaysSo) {
    TestDir dir;
    // A directory in the file's place cannot be replaced by a file.
    ASSERT_EQ(::mkdir(dir.file("Docket.Prn").c_str(), 0700), 0);
    dir.write("Docket.Prn/keep", "x");
    TextFile f;
    ASSERT_TRUE(f.openRewrite(dir.file("Docket.Prn")));
    f.writeLine("1Shop");
    EXPECT_THROW(f.close(), IoError);
    EXPECT_EQ(dir.read("Docket.Prn/keep"), "x");
    EXPECT_FALSE(dir.exists("Docket.Prn.~tmp"));
}
