#include "app/ShopLock.h"
#include "store/FileCommit.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

TEST(ShopLock, ASecondCopyIsToldSinceWhenTheFirstRunsAndWritesNothing) {
    TestDir dir;
    dir.write("Results.dat", "* START of SALE   07/12/26 9:05:\r\n");
    ShopLock first;
    ASSERT_EQ(first.take(dir.path(), "9:05"), "");
    EXPECT_TRUE(first.held());
    const auto before = dir.files();
    EXPECT_EQ(before.at("zorvi.lck"), "9:05");

    ShopLock second;
    EXPECT_EQ(second.take(dir.path(), "11:40"),
              "Zorvi is already running on this shop (since 9:05)");
    EXPECT_FALSE(second.held());
    EXPECT_EQ(dir.files(), before);

    // The start's sweep of leftovers passes over the lock of a running copy.
    RecoverFileCommit(dir.path());
    EXPECT_EQ(dir.files(), before);
}

TEST(ShopLock, TheLockIsGoneAfterTheProgramEndsAndTheNextCopyTakesIt) {
    TestDir dir;
    {
        ShopLock running;
        ASSERT_EQ(running.take(dir.path(), "9:05"), "");
    }
    EXPECT_FALSE(dir.exists("zorvi.lck"));

    // A copy that died left its file behind: it holds nothing, and the next
    // copy notes its own time.
    dir.write("zorvi.lck", "8:00");
    ShopLock next;
    EXPECT_EQ(next.take(dir.path(), "10:15"), "");
    EXPECT_EQ(dir.read("zorvi.lck"), "10:15");
}

TEST(ShopLock, AFolderWithoutRoomForTheLockStillStarts) {
    TestDir dir;
    ShopLock lock;
    // The start-up itself says that the folder cannot be written.
    EXPECT_EQ(lock.take(dir.file("missing/"), "9:05"), "");
    EXPECT_FALSE(lock.held());
}
