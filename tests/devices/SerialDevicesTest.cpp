#include "devices/SerialDevices.h"
#include "store/ProgramState.h"
#include "support/CaseTable.h"
#include "support/Fakes.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const std::string NoDrawer = " Cecking for a Cashdrawer !\r No device found at serial port COM2\r"
                             " Go to Setup and designate the correct serialport.";
const std::string NoDisplay = " Checking for a Customer display !\r No device found at serial "
                              "port COM3\r Go to Setup and designate the correct serialport.";
const std::string DrawerProblem =
    " A problem with the Cash drawer has ocured, \r Please check the connections and rectify.";
const std::string DisplayProblem = " A problem with the Customer display has ocured, \r Please "
                                   "check the connections and rectify.";

struct SerialFixture : ::testing::Test {
    TestDir dir;
    ProgramState state;
    FakePorts ports;
    SerialFixture() { state.files.setDataDir(dir.path()); }
};

TEST_F(SerialFixture, PortNamesAndTheirDevices) {
    dir.write("com3", "");
    ASSERT_EQ(::symlink("/dev/unplugged-adapter", dir.file("COM4").c_str()), 0);
    struct Case {
        std::string port, device;
    } cases[] = {
        // clang-format off
        {"COM1", "/dev/ttyS0"}, {"COM2", "/dev/ttyS1"}, {"COM3", dir.file("com3")},
        {"COM4", dir.file("COM4")}, {"COM0", ""}, {"com1", ""}, {"COM5", ""}, {"COM1 ", ""},
        {"", ""},
        // clang-format on
    };
    for (const Case& c : cases)
        EXPECT_EQ(SerialDevicePath(c.port, dir.path()), c.device) << c.port;
}

TEST_F(SerialFixture, APortThatTakesNoGreetingIsReported) {
    ports.works = false;
    state.config.DrawerPort = "COM2";
    state.config.DisplayPort = "COM3";
    EXPECT_EQ(noticeTexts(CheckDrawerPort(state, ports)), std::vector<std::string>{NoDrawer});
    EXPECT_EQ(noticeTexts(CheckDisplayPort(state, ports)), std::vector<std::string>{NoDisplay});
    EXPECT_FALSE(state.flags.DrawerAvailable);
    EXPECT_FALSE(state.flags.DisplayAvailable);
    EXPECT_EQ(ports.lines.back(), "/dev/ttyS2|Customer display");
}

TEST_F(SerialFixture, DisplayLines) {
    state.config.DisplayPort = "COM1";
    for (const TestCase& c : ReadTable("devices/display-lines.table")) {
        SCOPED_TRACE(c.where);
        std::vector<std::string> faults;
        state.options = Options::parse("display=" + c["display"], faults);
        state.config.DisplayWidth = static_cast<long>(c.number("width"));
        std::string left = c["left"];
        EXPECT_TRUE(ShowOnCustomerDisplay(left, c["right"], state, ports).empty());
        EXPECT_EQ(left, c["cutLeft"]);
        EXPECT_EQ(ports.written.back(), "/dev/ttyS0|" + c["bytes"]);
    }
    EXPECT_TRUE(CheckDisplayPort(state, ports).empty());
    EXPECT_EQ(ports.written.back(), "/dev/ttyS0|\x0c\x1f$\x01\x01"
                                    "Customer display");
}

TEST_F(SerialFixture, FailedCommandsSwitchTheDeviceOff) {
    state.config.DrawerPort = state.config.DisplayPort = "COM1";
    state.flags.DrawerAvailable = state.flags.DisplayAvailable = true;
    FakeLauncher launcher;
    EXPECT_TRUE(OpenCashDrawer(state, ports, launcher).empty());
    EXPECT_EQ(ports.lines.back(), "/dev/ttyS0|open");
    EXPECT_TRUE(state.flags.DrawerAvailable);

    ports.works = false;
    EXPECT_EQ(noticeTexts(OpenCashDrawer(state, ports, launcher)),
              std::vector<std::string>{DrawerProblem});
    EXPECT_TRUE(launcher.ran.empty());
    std::string left = "Tea";
    EXPECT_EQ(noticeTexts(ShowOnCustomerDisplay(left, "1.00", state, ports)),
              std::vector<std::string>{DisplayProblem});
    EXPECT_FALSE(state.flags.DrawerAvailable);
    EXPECT_FALSE(state.flags.DisplayAvailable);
}

// A drawer on the printer's drawer socket never gets a line on a port; its
// pulse is Slipjet.exe's, and a printer that does not take it is told.
TEST_F(SerialFixture, ADrawerOnThePrinter) {
    FakeLauncher launcher;
    struct Case {
        std::string port;
        int exitCode;
        std::string lastVerdict;
        bool availableAfterCheck;
        std::vector<std::string> notices;
    } cases[] = {
        {"PRN1", 0, "Ok", true, {}},
        {"PRN2", 0, "Ok", true, {}},
        {"PRN1", 1, "Ok", true, {"Drawer not opened: printer not ready"}},
        {"PRN2", -1, "Ok", true, {"Drawer not opened: printer not ready"}},
        {"PRN1", 0, "Printer out of paper", false, {}},
        {"PRN1", 0, "", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port + " " + std::to_string(c.exitCode) + " " + c.lastVerdict);
        state.config.DrawerPort = c.port;
        state.PrinterTestText = c.lastVerdict;
        EXPECT_TRUE(CheckDrawerPort(state, ports).empty());
        EXPECT_EQ(state.flags.DrawerAvailable, c.availableAfterCheck);
        launcher.exitCode = c.exitCode;
        launcher.startResult = c.exitCode < 0 ? 2 : 33;
        state.flags.DrawerAvailable = true;
        EXPECT_EQ(noticeTexts(OpenCashDrawer(state, ports, launcher)), c.notices);
        EXPECT_EQ(launcher.ran.back(), dir.file("Slipjet.exe") + " drawer " + c.port);
        EXPECT_EQ(state.flags.DrawerAvailable, c.notices.empty());
    }
    EXPECT_TRUE(ports.lines.empty());
}

} // namespace
