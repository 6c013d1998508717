#include "platform/FileLock.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

TEST(FileLock, OneHolderAtATimeAndNoFileLeftOnRelease) {
    TestDir dir;
    const std::string path = dir.file("Consolid.lck");
    FileLock first;
    FileLock second;
    ASSERT_TRUE(first.tryAcquire(path));
    EXPECT_FALSE(second.tryAcquire(path));
    EXPECT_FALSE(FileLock::removeUnlessHeld(path));
    first.release();
    EXPECT_FALSE(dir.exists("Consolid.lck"));
    EXPECT_TRUE(second.tryAcquire(path));
    EXPECT_FALSE(first.tryAcquire(path));
    second.release();
    EXPECT_TRUE(dir.files().empty());

    // A killed holder: the system dropped the lock with the process, the file stayed.
    dir.write("Consolid.lck", "");
    EXPECT_TRUE(first.tryAcquire(path));
    first.release();
    EXPECT_FALSE(dir.exists("Consolid.lck"));
    dir.write("Consolid.lck", "");
    EXPECT_TRUE(FileLock::removeUnlessHeld(path));
    EXPECT_FALSE(dir.exists("Consolid.lck"));
}
