#include "devices/Printer.h"
#include "devices/DeviceStartup.h"
#include "store/ProgramState.h"
#include "support/CaseTable.h"
#include "support/Fakes.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

struct PrinterFixture : ::testing::Test {
    TestDir dir;
    ProgramState state;
    FakeLauncher launcher;
    FakePorts ports;

    PrinterFixture() { state.files.setDataDir(dir.path()); }
    // The test program leaves this verdict when it runs.
    void verdictOnRun(const std::string& bytes) {
        launcher.onRun = [this, bytes] { dir.write("Devcheck.dat", bytes); };
    }
};

TEST_F(PrinterFixture, OnlyExactlyOkPasses) {
    for (const TestCase& c : ReadTable("devices/printer-verdicts.table")) {
        SCOPED_TRACE(c.where);
        const bool passes = c.flag("passes");
        state.flags.DocketAutoPrint = !passes;
        verdictOnRun(c["file"]);
        PrinterTest test = TestPrinter(state, launcher);
        EXPECT_EQ(test.passed, passes);
        EXPECT_EQ(state.flags.DocketAutoPrint, passes);
        EXPECT_EQ(state.PrinterTestText, c["text"]);
        EXPECT_TRUE(test.notices.empty());
        EXPECT_TRUE(test.retryQuestion.empty());
    }
    EXPECT_EQ(launcher.waited.back(), dir.file("Devcheck.exe"));
    EXPECT_EQ(launcher.lastTimeout, 3000);
    // A printer given more time by Printer.dat is waited for as long.
    dir.write("Printer.dat", "tcp:127.0.0.1\r\ntimeout=10\r\n");
    TestPrinter(state, launcher);
    EXPECT_EQ(launcher.lastTimeout, 11000);
}

// The drawer on the printer is there while the printer passes its test; a
// drawer on a serial port is left as its own check found it.
TEST_F(PrinterFixture, TheVerdictDecidesTheDrawerOnThePrinter) {
    struct Case {
        std::string port, verdict;
        bool drawerBefore, drawerAfter;
    } cases[] = {
        {"PRN1", "Ok\r\n", false, true},
        {"PRN2", "Printer cover open\r\n", true, false},
        {"COM1", "Printer cover open\r\n", true, true},
        {"COM0", "Ok\r\n", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port + c.verdict);
        state.config.DrawerPort = c.port;
        state.flags.DrawerAvailable = c.drawerBefore;
        verdictOnRun(c.verdict);
        TestPrinter(state, launcher);
        EXPECT_EQ(state.flags.DrawerAvailable, c.drawerAfter);
    }
}

TEST_F(PrinterFixture, VerdictOfAnEarlierTestDoesNotCount) {
    // The test program did not finish in time: its last verdict is stale.
    dir.write("Devcheck.dat", "Ok\r\n");
    PrinterTest test = TestPrinter(state, launcher);
    EXPECT_FALSE(test.passed);
    EXPECT_EQ(noticeTexts(test.notices),
              std::vector<std::string>{"Printer problem :\r" + dir.file("Devcheck.dat")});
    EXPECT_EQ(state.PrinterTestText, dir.file("Devcheck.dat"));
}

// What the operator is asked and told is the start-up test's; here the retry
// passes once the program is in place.
TEST_F(PrinterFixture, TestProgramThatCannotStartOffersRetry) {
    launcher.startResult = 2;
    PrinterTest test = TestPrinter(state, launcher);
    EXPECT_FALSE(test.passed);
    EXPECT_FALSE(test.retryQuestion.empty());
    launcher.startResult = 33;
    verdictOnRun("Ok\r\n");
    test = TestPrinter(state, launcher);
    EXPECT_TRUE(test.passed);
    EXPECT_TRUE(test.retryQuestion.empty());
    EXPECT_TRUE(test.notices.empty());
}

TEST_F(PrinterFixture, SendDocketReportsAStartFailure) {
    launcher.startResult = 2;
    EXPECT_EQ(noticeTexts(SendDocketToPrinter(dir.path(), launcher)),
              std::vector<std::string>{"Printer not ready! Errorcode=2"});
    launcher.startResult = 32;
    EXPECT_TRUE(SendDocketToPrinter(dir.path(), launcher).empty());
}

TEST_F(PrinterFixture, StartUpPrintsOnlyAfterAPassedTest) {
    const std::string notAvailable =
        "Printer not available.\rTo print dockets, press \"Docket + Yes\".";
    verdictOnRun("Ok\r\n");
    EXPECT_TRUE(GreetDevicesAtStart(state, ports).empty());
    EXPECT_TRUE(TestPrinter(state, launcher).passed);
    EXPECT_TRUE(PrintLastDocketAtStart(state, launcher).empty());
    EXPECT_TRUE(state.flags.DocketAutoPrint);
    EXPECT_EQ(launcher.started, std::vector<std::string>{dir.file("Slipjet.exe")});
    EXPECT_TRUE(ports.lines.empty()); // no ports configured

    // A disabled printer is not even tested (the caller leaves the test out).
    launcher = FakeLauncher();
    state.flags.PrinterDisabled = true;
    state.PrinterTestText = "Ok";
    EXPECT_TRUE(GreetDevicesAtStart(state, ports).empty());
    EXPECT_FALSE(state.flags.DocketAutoPrint);
    EXPECT_EQ(state.PrinterTestText, "");
    EXPECT_EQ(noticeTexts(PrintLastDocketAtStart(state, launcher)),
              std::vector<std::string>{notAvailable});
    EXPECT_TRUE(launcher.started.empty());
}

} // namespace
