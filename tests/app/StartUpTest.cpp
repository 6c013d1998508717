#include "app/StartUp.h"
#include "store/ProgramState.h"
#include "support/Fakes.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

TEST(StartUp, AFolderItCannotWriteIsSaidOnce) {
    TestDir dir;
    ::chmod(dir.path().c_str(), 0555);
    // Permissions do not stop root; a folder of the kernel's does.
    const std::string dataDir = ::geteuid() == 0 ? "/proc/" : dir.path();
    FakeServices fakes;
    ProgramState state;
    RunStartUp(state, fakes.services, dataDir);
    ::chmod(dir.path().c_str(), 0755);
    const std::string said = "Zorvi cannot write in its folder " + dataDir +
                             "\rNo sale can be recorded and no article found until it can.";
    const auto texts = fakes.dialogs.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), said), 1);
}
