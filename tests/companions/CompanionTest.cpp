// The two companion programs, run as the program runs them: from the data
// directory they are installed in.
#if defined(SLIPJET_PATH) && defined(DEVCHECK_PATH)

#include "printer/DocketPrintJob.h"
#include "printer/PrinterDetect.h"
#include "store/Configuration.h"
#include "support/CaseTable.h"
#include "support/TestDir.h"

#include <arpa/inet.h>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

struct CompanionFixture : ::testing::Test {
    TestDir dir{"shop"};
    Configuration config = DefaultConfiguration();

    CompanionFixture() {
        for (const char* program : {SLIPJET_PATH, DEVCHECK_PATH}) {
            auto name = std::filesystem::path(program).filename();
            std::filesystem::copy_file(program, dir.path() + name.string());
        }
    }
    void writeConfiguration() { ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), config)); }
    // Runs the program with an optional PATH, as the launcher does.
    int run(const std::string& program, const std::string& path = {},
            const std::string& arguments = {}) {
        std::string command = "cd / && ";
        if (!path.empty()) command += "PATH='" + path + "' ";
        command += "'" + dir.file(program) + "' " + arguments + " 2>/dev/null";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string verdict() {
        EXPECT_EQ(run("Devcheck.exe"), 0);
        EXPECT_FALSE(dir.exists("Devcheck.dat.~tmp"));
        return dir.read("Devcheck.dat");
    }
    // What a command line prints, and its exit code.
    std::pair<std::string, int> output(const std::string& command) {
        std::string out;
        FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
        char buf[256];
        while (size_t n = std::fread(buf, 1, sizeof buf, pipe))
            out.append(buf, n);
        int status = ::pclose(pipe);
        return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }
    // An executable script standing in for a print system command.
    void script(const std::string& name, const std::string& body) {
        std::filesystem::create_directories(dir.file("bin"));
        dir.write("bin/" + name, "#!/bin/sh\n" + body);
        std::filesystem::permissions(dir.file("bin/" + name), std::filesystem::perms::owner_all);
    }
};

const std::string Docket = "1Corner Shop\r\n"
                           "4      Tea  1.00 x  2.50  2.50\r\n"
                           "5Change \xe9\x01\r\n"
                           "9Call again\r\n";

TEST_F(CompanionFixture, SlipjetPrintsTheDocketWithTheRowCodes) {
    config.DocketCode[1] = "27,33,48";
    config.DocketRelease[1] = "27, 33, 0";
    config.DocketCode[4] = "?";
    config.DocketRelease[4] = "";
    config.DocketCode[5] = "27,69,1";
    config.DocketRelease[5] = "27,69,0";
    config.DocketCode[9] = "27,97,1";
    writeConfiguration();
    dir.write("Printer.dat", "file:printer.out\r\n");
    dir.write("docket.prn", Docket);

    EXPECT_EQ(run("Slipjet.exe"), 0);
    const std::string expected = bytes({27, 64}) + bytes({27, 33, 48}) + "Corner Shop\r\n" +
                                 bytes({27, 33, 0}) + "      Tea  1.00 x  2.50  2.50\r\n" +
                                 bytes({27, 69, 1}) + "Change \xe9\x01\r\n" + bytes({27, 69, 0}) +
                                 bytes({27, 97, 1}) + "Call again\r\n" + bytes({29, 86, 66, 0});
    EXPECT_EQ(dir.read("printer.out"), expected);
    EXPECT_EQ(dir.read("docket.prn"), Docket);

    // A file printer collects the dockets one after the other.
    EXPECT_EQ(run("Slipjet.exe"), 0);
    EXPECT_EQ(dir.read("printer.out"), expected + expected);
}

TEST_F(CompanionFixture, SlipjetPrintsAsPrinterDatSays) {
    for (const TestCase& c : ReadCases("companions/slipjet.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        dir.write("Printer.dat", c.crlf("Printer.dat"));
        std::filesystem::remove(dir.file("docket.prn"));
        if (c.sections.count("docket.prn")) dir.write("docket.prn", c.crlf("docket.prn"));
        std::filesystem::remove(dir.file("printer.out"));
        EXPECT_EQ(run("Slipjet.exe", {}, c.get("arguments", "")), c.number("exit"));
        EXPECT_EQ(dir.read("printer.out"), c.sections.count("printed") ? c.crlf("printed") : "");
    }
    // Without Printer.dat the drawer fails, leaving no fault for the next docket.
    dir.write("docket.prn", "4Tea\r\n");
    std::filesystem::remove(dir.file("Printer.dat"));
    EXPECT_EQ(run("Slipjet.exe", {}, "drawer PRN1"), 1);
    EXPECT_FALSE(dir.exists("Slipjet.dat"));
}

// A serial printer: a pseudo-terminal stands in for the port; its line
// settings are read back after the docket (a pseudo-terminal keeps no
// parity, so that is not read back).
TEST_F(CompanionFixture, ASerialPrinterGetsItsLineSettings) {
    struct Case {
        std::string settings;
        speed_t speed;
        tcflag_t flow;
    } cases[] = {
        {"", B9600, 0},
        {"speed=19200\r\nparity=even\r\nflow=rtscts\r\n", B19200, CRTSCTS},
        {"speed=115200\r\nparity=odd\r\n", B115200, 0},
    };
    dir.write("docket.prn", "4Tea\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ::grantpt(master);
        ::unlockpt(master);
        const std::string slavePath = ::ptsname(master);
        int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
        dir.write("Printer.dat", "serial:" + slavePath + "\r\ncut=none\r\n" + c.settings);
        EXPECT_EQ(run("Slipjet.exe"), 0);
        termios t{};
        ASSERT_EQ(::tcgetattr(slave, &t), 0);
        EXPECT_EQ(::cfgetospeed(&t), c.speed);
        EXPECT_EQ(t.c_cflag & CRTSCTS, c.flow);
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        char got[16] = {};
        EXPECT_EQ(::read(master, got, sizeof got), 7);
        EXPECT_EQ(std::string(got, 7), bytes({27, 64}) + "Tea\r\n");
        ::close(slave);
        ::close(master);
    }
}

TEST_F(CompanionFixture, SlipjetLeavesOutFaultyCodes) {
    dir.write("Printer.dat", "file:printer.out\r\n");
    dir.write("docket.prn", "4Tea\r\n");
    config.DocketCode[4] = "27,x";
    config.DocketRelease[4] = "10";
    writeConfiguration();
    EXPECT_EQ(run("Slipjet.exe"), 1);
    EXPECT_EQ(dir.read("printer.out"),
              bytes({27, 64}) + "Tea\r\n" + bytes({10}) + bytes({29, 86, 66, 0}));
}

TEST_F(CompanionFixture, SlipjetPrintsOnAQueueRaw) {
    script("lp", "/bin/cat > \"$0.job\"\necho \"$@\" > \"$0.args\"\n");
    dir.write("Printer.dat", "lp:shop\r\n");
    dir.write("docket.prn", "4Tea\r\n");
    EXPECT_EQ(run("Slipjet.exe", dir.file("bin")), 0);
    EXPECT_FALSE(dir.exists("Slipjet.dat"));
    EXPECT_EQ(dir.read("bin/lp.args"), "-d shop -o raw\n");
    EXPECT_EQ(dir.read("bin/lp.job"), bytes({27, 64}) + "Tea\r\n" + bytes({29, 86, 66, 0}));

    script("lp", "echo 'lp: The printer or class does not exist.' >&2\nexit 1\n");
    EXPECT_EQ(run("Slipjet.exe", dir.file("bin")), 1);
    // The program hears of it before the next docket.
    const std::string fault = dir.read("Slipjet.dat");
    EXPECT_NE(fault.find("lp: The printer or class does not exist."), std::string::npos) << fault;
    // No docket at all (the reprint at start) is nothing to tell.
    std::remove(dir.file("docket.prn").c_str());
    EXPECT_EQ(run("Slipjet.exe", dir.file("bin")), 1);
    EXPECT_FALSE(dir.exists("Slipjet.dat"));
}

TEST_F(CompanionFixture, DevcheckVerdicts) {
    writeConfiguration();
    auto inDir = [this](std::string text) {
        for (size_t at; (at = text.find("{dir}")) != std::string::npos;)
            text.replace(at, 5, dir.path());
        return text;
    };
    for (const TestCase& c : ReadCases("companions/devcheck.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        std::filesystem::remove(dir.file("Printer.dat"));
        if (c.sections.count("Printer.dat")) dir.write("Printer.dat", inDir(c.crlf("Printer.dat")));
        std::filesystem::remove(dir.file("bin/lpstat"));
        if (c.sections.count("lpstat")) script("lpstat", c.text("lpstat"));
        EXPECT_EQ(run("Devcheck.exe", dir.file("bin")), 0);
        EXPECT_FALSE(dir.exists("Devcheck.dat.~tmp"));
        EXPECT_EQ(dir.read("Devcheck.dat"), inDir(c["verdict"]) + "\r\n");
    }
    // The test writes nothing into a file printer.
    EXPECT_EQ(dir.read("printer.out"), "");

    config.DocketRelease[7] = "27;0";
    writeConfiguration();
    dir.write("Printer.dat", "file:printer.out\r\n");
    EXPECT_EQ(verdict(), "Configur.dat: the release code of docket row 7 is no list of byte "
                         "values: 27;0\r\n");
}

// A loopback socket: a free port nobody listens on, a printer whose buffer
// is full (it takes the connection, then no data), or a printer that answers
// each status request with the next scripted byte.
class LoopbackPrinter {
  public:
    enum Kind { Refusing, Full, Answering };
    explicit LoopbackPrinter(Kind kind, std::vector<unsigned char> answers = {}) {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        int tiny = 1;
        if (kind == Full) ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &tiny, sizeof tiny);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &length);
        m_port = ntohs(a.sin_port);
        if (kind == Refusing) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        ::listen(m_fd, 1);
        if (kind == Answering) m_thread = std::thread([this, answers] { serve(answers); });
    }
    ~LoopbackPrinter() {
        if (m_thread.joinable()) m_thread.join();
        if (m_fd >= 0) ::close(m_fd);
    }
    std::string target() const { return "tcp:127.0.0.1:" + std::to_string(m_port); }
    // What the printer got, once the test program has hung up.
    std::string received() {
        if (m_thread.joinable()) m_thread.join();
        return m_received;
    }

  private:
    void serve(const std::vector<unsigned char>& answers) {
        int c = ::accept(m_fd, nullptr, nullptr);
        if (c < 0) return;
        char buf[3];
        size_t next = 0;
        ssize_t n;
        while ((n = ::recv(c, buf, sizeof buf, MSG_WAITALL)) > 0) {
            m_received.append(buf, static_cast<size_t>(n));
            if (next < answers.size()) ::send(c, &answers[next++], 1, MSG_NOSIGNAL);
        }
        ::close(c);
    }
    std::string m_received;
    int m_fd = -1;
    int m_port = 0;
    std::thread m_thread;
};

TEST_F(CompanionFixture, ADocketThePrinterNeverTakesIsAFailure) {
    LoopbackPrinter printer(LoopbackPrinter::Full);
    dir.write("Printer.dat", printer.target() + "\r\n");
    const std::string docket = "4" + std::string(12000, 'x') + "\r\n";
    dir.write("docket.prn", docket);
    EXPECT_EQ(PrintDocketFile(dir.path(), 300).fault, "Printer takes no data (time-out)");
    EXPECT_EQ(dir.read("docket.prn"), docket);
}

TEST_F(CompanionFixture, TheDrawerPulseReachesANetworkPrinter) {
    LoopbackPrinter printer(LoopbackPrinter::Answering);
    dir.write("Printer.dat", printer.target() + "\r\npulse=40,200\r\n");
    EXPECT_EQ(run("Slipjet.exe", {}, "drawer PRN2"), 0);
    EXPECT_EQ(printer.received(), bytes({27, 112, 1, 40, 200}));

    LoopbackPrinter gone(LoopbackPrinter::Refusing);
    dir.write("Printer.dat", gone.target() + "\r\n");
    EXPECT_EQ(run("Slipjet.exe", {}, "drawer PRN1"), 1);
}

TEST_F(CompanionFixture, DevcheckOnANetworkPrinter) {
    struct Case {
        LoopbackPrinter::Kind kind;
        std::vector<unsigned char> answers;
        std::string verdict;
        std::string requests;
    } cases[] = {
        {LoopbackPrinter::Refusing, {}, "Connection refused by printer 127.0.0.1:", ""},
        {LoopbackPrinter::Answering, {0x12, 0x12}, "Ok", bytes({16, 4, 2, 16, 4, 4})},
        {LoopbackPrinter::Answering, {}, "Ok", bytes({16, 4, 2})},
        {LoopbackPrinter::Answering, {0x16}, "Printer cover open", bytes({16, 4, 2})},
        {LoopbackPrinter::Answering,
         {0x12, 0x72},
         "Printer out of paper",
         bytes({16, 4, 2, 16, 4, 4})},
    };
    for (const Case& c : cases) {
        LoopbackPrinter printer(c.kind, c.answers);
        std::string expected = c.verdict;
        if (c.kind == LoopbackPrinter::Refusing) expected += printer.target().substr(14);
        dir.write("Printer.dat", printer.target() + "\r\n");
        EXPECT_EQ(verdict(), expected + "\r\n");
        EXPECT_EQ(printer.received(), c.requests);
    }
}

// A folder laid out like the system's device tree: a USB receipt printer on
// lp0, a USB mouse receiver, two built-in serial ports of which one has a
// UART, and a USB serial adapter.
TEST_F(CompanionFixture, DetectListsEveryKindOfPrinter) {
    const std::string root = dir.file("root");
    auto put = [&](const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(root + path).parent_path());
        dir.write("root" + path, text + "\n");
    };
    put("/sys/bus/usb/devices/1-1/idVendor", "04b8");
    put("/sys/bus/usb/devices/1-1/idProduct", "0E15");
    put("/sys/bus/usb/devices/1-1/manufacturer", "EPSON");
    put("/sys/bus/usb/devices/1-1/product", "TM-T20II");
    put("/sys/bus/usb/devices/1-1/1-1:1.0/bInterfaceClass", "07");
    put("/sys/bus/usb/devices/1-2/idVendor", "046d");
    put("/sys/bus/usb/devices/1-2/idProduct", "c52b");
    put("/sys/bus/usb/devices/1-2/1-2:1.0/bInterfaceClass", "03");
    std::filesystem::create_directories(root + "/sys/class/usbmisc/lp0");
    std::filesystem::create_directory_symlink(root + "/sys/bus/usb/devices/1-1/1-1:1.0",
                                              root + "/sys/class/usbmisc/lp0/device");
    put("/dev/usb/lp0", "");
    put("/dev/ttyS0", "");
    put("/dev/ttyS1", "");
    put("/dev/ttyUSB0", "");
    put("/sys/class/tty/ttyS0/type", "4");
    put("/sys/class/tty/ttyS1/type", "0");
    script("lpstat", "[ \"$1\" = -e ] && printf 'shop\\nkitchen\\n'\n");

    EXPECT_EQ(UsbPrinterDevice(root, "04B8:0e15"), "/dev/usb/lp0");
    EXPECT_EQ(UsbPrinterDevice(root, "04b8:0e16"), std::nullopt);

    LoopbackPrinter network(LoopbackPrinter::Answering);
    LoopbackPrinter gone(LoopbackPrinter::Refusing);
    const std::string detect = "ZORVI_DEVICE_ROOT='" + root + "' PATH='" + dir.file("bin") + "' '" +
                               ZORVI_PRINTER_PATH + "' detect ";
    const std::string networkHost = network.target().substr(4);
    auto [listed, code] = output(detect + networkHost + " " + gone.target().substr(4));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(listed, "usb:04b8:0e15  # EPSON TM-T20II\n"
                      "device:/dev/usb/lp0  # EPSON TM-T20II\n"
                      "lp:shop  # print queue\n"
                      "lp:kitchen  # print queue\n"
                      "serial:/dev/ttyS0  # serial port\n"
                      "serial:/dev/ttyUSB0  # serial port\n"
                      "tcp:" +
                          networkHost + "  # network printer\n");
    network.received();

    // Each line goes into Printer.dat as it is.
    dir.write("Printer.dat", "serial:/dev/ttyUSB0  # serial port\r\n");
    EXPECT_EQ(verdict(), "Printer device /dev/ttyUSB0 not found\r\n");

    std::filesystem::remove_all(root);
    std::filesystem::remove(dir.file("bin/lpstat"));
    std::filesystem::create_directories(root + "/sys");
    EXPECT_EQ(output(detect), std::make_pair(std::string("no printer found\n"), 0));
    std::filesystem::remove_all(root);
    EXPECT_EQ(output(detect).second, 2);
}

TEST_F(CompanionFixture, TheTestPageAndTheDrawer) {
    const std::string test = std::string("'") + ZORVI_PRINTER_PATH + "' test '" + dir.path() + "'";
    EXPECT_EQ(output(test), std::make_pair("No Printer.dat in " + dir.path() + "\n", 1));

    config.DocketText[1] = "Caf\xe9 Corner";
    config.DrawerPort = "PRN2";
    writeConfiguration();
    dir.write("Printer.dat", "file:printer.out\r\ncodepage=19\r\ncut=full\r\npulse=30,60\r\n");
    EXPECT_EQ(output(test), std::make_pair(std::string("Ok\n"), 0));

    EXPECT_EQ(dir.read("printer.out"),
              ReadCases("companions/test-page.cases").at(0).crlf("printed"));
}

} // namespace

#endif
