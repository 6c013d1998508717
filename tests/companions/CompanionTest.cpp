// The two companion programs, run as the program runs them: from the data
// directory they are installed in.
#if defined(SLIPJET_PATH) && defined(DEVCHECK_PATH)

#include "printer/DocketPrintJob.h"
#include "store/Configuration.h"
#include "support/TestDir.h"

#include <arpa/inet.h>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
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
    // Runs the program with an optional PATH, as the launcher does: no arguments.
    int run(const std::string& program, const std::string& path = {}) {
        std::string command = "cd / && ";
        if (!path.empty()) command += "PATH='" + path + "' ";
        command += "'" + dir.file(program) + "' 2>/dev/null";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string verdict() {
        EXPECT_EQ(run("Devcheck.exe"), 0);
        EXPECT_FALSE(dir.exists("Devcheck.dat.~tmp"));
        return dir.read("Devcheck.dat");
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

TEST_F(CompanionFixture, SlipjetLeavesOutFaultyCodesAndPrintsWithoutConfiguration) {
    dir.write("Printer.dat", "file:printer.out\r\n");
    dir.write("docket.prn", "4Tea\r\n");
    EXPECT_EQ(run("Slipjet.exe"), 0);
    EXPECT_EQ(dir.read("printer.out"), bytes({27, 64}) + "Tea\r\n" + bytes({29, 86, 66, 0}));

    config.DocketCode[4] = "27,x";
    config.DocketRelease[4] = "10";
    writeConfiguration();
    EXPECT_EQ(run("Slipjet.exe"), 1);
    EXPECT_EQ(dir.read("printer.out").substr(11),
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
    EXPECT_EQ(verdict(), "No Printer.dat in " + dir.path() + "\r\n");

    struct Case {
        std::string target, verdict;
    } cases[] = {
        {"file:printer.out", "Ok"},
        {"device:/dev/zorvi-no-printer", "Printer device /dev/zorvi-no-printer not found"},
        {"device:" + dir.file("Configur.dat"),
         dir.file("Configur.dat") + " is not a printer device"},
        {"file:Configur.dat/printer.out",
         "Cannot write to " + dir.file("Configur.dat/printer.out") + ": Not a directory"},
    };
    for (const Case& c : cases) {
        dir.write("Printer.dat", c.target + "\r\n");
        EXPECT_EQ(verdict(), c.verdict + "\r\n");
    }
    // The test writes nothing into a file printer.
    EXPECT_EQ(dir.read("printer.out"), "");

    config.DocketRelease[7] = "27;0";
    writeConfiguration();
    dir.write("Printer.dat", "file:printer.out\r\n");
    EXPECT_EQ(verdict(), "Configur.dat: the release code of docket row 7 is no list of byte "
                         "values: 27;0\r\n");
}

TEST_F(CompanionFixture, DevcheckOnAQueue) {
    dir.write("Printer.dat", "lp:shop\r\n");
    struct Case {
        std::string lpstat, verdict;
    } cases[] = {
        {"echo 'printer shop is idle.  enabled since Mon 07 Dec 2026'\n"
         "echo 'shop accepting requests since Mon 07 Dec 2026'\n",
         "Ok"},
        {"echo 'printer shop disabled since Mon 07 Dec 2026 -'\n", "Print queue shop is disabled"},
        {"echo 'lpstat: Invalid destination name in list \"shop\".' >&2\nexit 1\n",
         "lpstat: Invalid destination name in list \"shop\"."},
        {"/bin/sleep 10\n", "The print system does not answer (time-out)"},
    };
    for (const Case& c : cases) {
        script("lpstat", c.lpstat);
        EXPECT_EQ(run("Devcheck.exe", dir.file("bin")), 0);
        EXPECT_EQ(dir.read("Devcheck.dat"), c.verdict + "\r\n");
    }
    std::filesystem::remove(dir.file("bin/lpstat"));
    EXPECT_EQ(run("Devcheck.exe", dir.file("bin")), 0);
    EXPECT_EQ(dir.read("Devcheck.dat"), "No print system: lpstat is not installed\r\n");
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

} // namespace

#endif
