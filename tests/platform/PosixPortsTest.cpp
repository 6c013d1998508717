#include "platform/PosixPorts.h"
#include "devices/SerialDevices.h"
#include "store/ProgramState.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal standing in for a serial device: the program writes to
// the slave side, the test reads what arrived from the master side. The
// slave is set raw, as the system's settings of a real port would be.
class FakeSerialLine {
  public:
    FakeSerialLine() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(m_master);
        ::unlockpt(m_master);
        m_slavePath = ::ptsname(m_master);
        m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios t{};
        ::tcgetattr(m_slave, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(m_slave, TCSANOW, &t);
    }
    ~FakeSerialLine() {
        ::close(m_slave);
        ::close(m_master);
    }
    const std::string& path() const { return m_slavePath; }
    termios settings() const {
        termios t{};
        ::tcgetattr(m_slave, &t);
        return t;
    }
    std::string received() {
        std::string out;
        char buf[256];
        pollfd p{m_master, POLLIN, 0};
        while (::poll(&p, 1, 100) > 0) {
            ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0) break;
            out.append(buf, static_cast<size_t>(n));
        }
        return out;
    }
    void set(const termios& t) { ::tcsetattr(m_slave, TCSANOW, &t); }
    // Fills the line's buffer as a device with stalled flow control would.
    void stall() {
        // The terminal layer moves bytes on behind the writer's back: full
        // means still full a while later.
        char block[1024] = {};
        for (int idle = 0; idle < 3;) {
            if (::write(m_slave, block, sizeof block) > 0) {
                idle = 0;
                continue;
            }
            ++idle;
            ::usleep(50000);
        }
    }

  private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

struct PortFixture : ::testing::Test {
    TestDir dir;
    ProgramState state;
    PosixPorts ports;
    FakeSerialLine drawer, display;

    PortFixture() {
        state.files.setDataDir(dir.path());
        std::filesystem::create_symlink(drawer.path(), dir.file("COM1"));
        std::filesystem::create_symlink(display.path(), dir.file("com2"));
        state.config.DrawerPort = "COM1";
        state.config.DisplayPort = "COM2";
        state.config.DisplayWidth = 20;
    }
};

// The greetings arrive; a port with line settings in Options.dat is set to
// them when it is used;
// one without keeps what the system gave it. (A pseudo-terminal keeps the
// speed and stop bits it is given, but always reads back 8 bits, no parity.)
TEST_F(PortFixture, LineSettingsFromTheOptions) {
    std::vector<std::string> faults;
    state.options = Options::parse("COM1=19200,8N2\r\n", faults);
    termios before = display.settings();
    ::cfsetspeed(&before, B2400);
    display.set(before);
    EXPECT_TRUE(CheckDrawerPort(state, ports).empty());
    EXPECT_TRUE(CheckDisplayPort(state, ports).empty());
    EXPECT_TRUE(state.flags.DrawerAvailable && state.flags.DisplayAvailable);
    EXPECT_EQ(drawer.received(), "open\r\n");
    EXPECT_EQ(display.received(), "Customer display\r\n");
    struct Case {
        const char* port;
        termios got;
        speed_t speed;
        tcflag_t stop;
    } cases[] = {
        {"COM1", drawer.settings(), B19200, CSTOPB},
        {"COM2", display.settings(), B2400, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        EXPECT_EQ(::cfgetospeed(&c.got), c.speed);
        EXPECT_EQ(c.got.c_cflag & CSTOPB, c.stop);
    }
    // Settings asked of what is no serial port: nothing is sent.
    EXPECT_FALSE(ports.writeLine("/dev/null", "open", SerialLine{}));
}

TEST_F(PortFixture, WhatIsNoDeviceTakesNothing) {
    dir.write("plain", "untouched");
    std::filesystem::create_directory(dir.file("folder"));
    // A COM link to an unplugged adapter.
    std::filesystem::create_symlink(dir.file("gone"), dir.file("COM3"));
    for (const std::string& path : {dir.file("plain"), dir.file("folder"), dir.file("missing"),
                                    dir.file("COM3"), std::string("/nonexistent/tty")}) {
        EXPECT_FALSE(ports.writeLine(path, "open")) << path;
    }
    EXPECT_EQ(dir.read("plain"), "untouched");
    EXPECT_FALSE(dir.exists("missing"));
    EXPECT_FALSE(dir.exists("gone"));
}

TEST_F(PortFixture, StalledDeviceFailsWithinTheDeadline) {
    drawer.stall();
    auto start = std::chrono::steady_clock::now();
    const Notices told = CheckDrawerPort(state, ports);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(state.flags.DrawerAvailable);
    EXPECT_LT(took, std::chrono::milliseconds(2500));
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_EQ(noticeTexts(told), std::vector<std::string>{
                                     " Cecking for a Cashdrawer !\r No device found at serial port "
                                     "COM1\r Go to Setup and designate the correct serialport."});
}

} // namespace
