#include "app/StartUp.h"
#include "store/Configuration.h"
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

TEST(StartUp, AStartRecordThatCannotBeWrittenStillLeavesTradingOffWithoutAPriceList) {
    TestDir dir;
    for (const char* name : {"Hlpf.1", "Hlpf.2", "Hlpf.3", "Hlpf.4", "Hlpf.5", "Hlpf.6", "Hlpf.7",
                             "Devcheck.exe", "Slipjet.exe"})
        dir.write(name, "");
    ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), DefaultConfiguration()));
    // A full disk: every write to the takings file fails.
    ASSERT_EQ(::symlink("/dev/full", dir.file("Results.dat").c_str()), 0);
    FakeServices fakes;
    fakes.dialogs.answers = {Dialogs::Answer::Cancel}; // no sample price list
    ProgramState state;
    StartUpOutcome outcome;
    ASSERT_NO_THROW(outcome = RunStartUp(state, fakes.services, dir.path()));
    EXPECT_TRUE(outcome.tradingDisabled);
    EXPECT_EQ(outcome.dateText, "07/12/26");
    const auto texts = fakes.dialogs.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "I/O error in file " + dir.path() +
                                "Results.dat\r\nWrite error (No space left on device): " +
                                dir.path() + "Results.dat");
}
