#include "devices/Printer.h"
#include "devices/DeviceStartup.h"
#include "store/ProgramState.h"
#include "support/Fakes.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

struct PrinterFixture : ::testing::Test {
    TestDir dir;
    ProgramState state;
    FakeLauncher launcher;
    FakeDialogs dialogs;
    FakePorts ports;

    PrinterFixture() { state.files.setDataDir(dir.path()); }
    // The test program leaves this verdict when it runs.
    void verdictOnRun(const std::string& bytes) {
        launcher.onRun = [this, bytes] { dir.write("Devcheck.dat", bytes); };
    }
};

TEST_F(PrinterFixture, OnlyExactlyOkPasses) {
    struct Case {
        std::string file;
        bool passes;
        std::string text;
    } cases[] = {
        {"Ok\r\n", true, "Ok"},
        {"Ok", true, "Ok"},
        {"OK\r\n", false, "OK"},
        {"Ok \r\n", false, "Ok "},
        {"Printer out of paper\r\nOk\r\n", false, "Printer out of paper"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        state.flags.DocketAutoPrint = !c.passes;
        verdictOnRun(c.file);
        EXPECT_EQ(TestPrinter(state, launcher, dialogs), c.passes);
        EXPECT_EQ(state.flags.DocketAutoPrint, c.passes);
        EXPECT_EQ(state.PrinterTestText, c.text);
    }
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(launcher.waited.back(), dir.file("Devcheck.exe"));
    EXPECT_EQ(launcher.lastTimeout, 3000);
}

TEST_F(PrinterFixture, VerdictOfAnEarlierTestDoesNotCount) {
    // The test program did not finish in time: its last verdict is stale.
    dir.write("Devcheck.dat", "Ok\r\n");
    EXPECT_FALSE(TestPrinter(state, launcher, dialogs));
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>{"Printer problem :\r" + dir.file("Devcheck.dat")});
    EXPECT_EQ(state.PrinterTestText, dir.file("Devcheck.dat"));
}

TEST_F(PrinterFixture, TestProgramThatCannotStartOffersRetry) {
    launcher.startResult = 2;
    dialogs.answers = {Dialogs::Answer::Retry, Dialogs::Answer::Cancel};
    EXPECT_FALSE(TestPrinter(state, launcher, dialogs));
    EXPECT_EQ(launcher.waited.size(), 2u);
    const std::string notFound =
        "The file " + dir.file("Devcheck.exe") +
        " not found!\rPress \"Help\" and see the paragraph \"Instalation\".";
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{notFound, notFound,
                                        "Printer problem :\r" + dir.file("Devcheck.dat")}));
}

TEST_F(PrinterFixture, SendDocketReportsAStartFailure) {
    launcher.startResult = 2;
    Notices said = SendDocketToPrinter(dir.path(), launcher);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].text, "Printer not ready! Errorcode=2");
}

TEST_F(PrinterFixture, StartUpPrintsOnlyAfterAPassedTest) {
    const std::string notAvailable =
        "Printer not available.\rTo print dockets, press \"Docket + Yes\".";
    verdictOnRun("Ok\r\n");
    CheckDevicesAndPrinterAtStart(state, ports, launcher, dialogs);
    EXPECT_TRUE(state.flags.DocketAutoPrint);
    EXPECT_EQ(launcher.started, std::vector<std::string>{dir.file("Slipjet.exe")});
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(ports.lines.empty()); // no ports configured

    // A disabled printer is not even tested.
    launcher = FakeLauncher();
    state.flags.PrinterDisabled = true;
    CheckDevicesAndPrinterAtStart(state, ports, launcher, dialogs);
    EXPECT_FALSE(state.flags.DocketAutoPrint);
    EXPECT_TRUE(launcher.waited.empty());
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{notAvailable});
}

} // namespace
