// The printer test page through a real CUPS raw queue: a print server of the
// test's own, on 127.0.0.1 only, whose backend keeps each job's bytes in a
// file, so the bytes are those a printer behind such a queue would get.
// Skipped where CUPS is not installed.
#if defined(ZORVI_PRINTER_PATH)

#include "store/Configuration.h"
#include "support/CaseTable.h"
#include "support/TestDir.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char* const Cupsd = "/usr/sbin/cupsd";

bool onPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// A port on 127.0.0.1 that nothing listens on now.
int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof at;
    ::bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&at), &size);
    ::close(s);
    return ntohs(at.sin_port);
}

template <typename Check> bool within(std::chrono::seconds limit, Check check) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!check()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// The print server: its own configuration, spool and logs in `dir`, no
// browsing or sharing, and one backend of its own ("keep:FILE").
struct PrintServer {
    const TestDir& dir;
    std::string server;
    pid_t pid = -1;

    explicit PrintServer(const TestDir& d) : dir(d) {
        const int port = freePort();
        server = "127.0.0.1:" + std::to_string(port);
        for (const char* sub : {"etc", "spool", "tmp", "cache", "state", "log", "bin/backend"})
            fs::create_directories(dir.file(sub));
        fs::create_directory_symlink("/usr/lib/cups/daemon", dir.file("bin/daemon"));
        const TestCase setup = ReadCases("companions/print-server.cases").at(0);
        std::string conf = setup.text("cupsd.conf");
        dir.write("etc/cupsd.conf", conf.replace(conf.find("{server}"), 8, server));
        std::string files;
        for (const auto& [key, sub] : {std::pair{"ServerRoot", "etc"},
                                       {"RequestRoot", "spool"},
                                       {"TempDir", "tmp"},
                                       {"CacheDir", "cache"},
                                       {"StateDir", "state"},
                                       {"ServerBin", "bin"},
                                       {"ErrorLog", "log/error_log"},
                                       {"AccessLog", "log/access_log"},
                                       {"PageLog", "log/page_log"}})
            files += std::string(key) + " " + dir.file(sub) + "\n";
        dir.write("etc/cups-files.conf", files);
        dir.write("bin/backend/keep", setup.text("keep"));
        // A backend only the owner may run is run as the server's own user.
        fs::permissions(dir.file("bin/backend/keep"), fs::perms::owner_all);
        pid = ::fork();
        if (pid == 0) {
            ::execl(Cupsd, Cupsd, "-f", "-c", dir.file("etc/cupsd.conf").c_str(), "-s",
                    dir.file("etc/cups-files.conf").c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~PrintServer() {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
    int run(const std::string& command) const {
        return std::system(
            ("CUPS_SERVER=" + server + " " + command + " >'" + dir.file("log/command") + "' 2>&1")
                .c_str());
    }
};

} // namespace

TEST(CupsQueue, TheTestPagePrintsThroughARawQueue) {
    if (::access(Cupsd, X_OK) != 0 || !onPath("lpadmin") || !onPath("lp") || !onPath("lpstat"))
        GTEST_SKIP() << "CUPS is not installed (cupsd, lpadmin, lp, lpstat)";
    TestDir dir{"cups"};
    PrintServer cups(dir);
    ASSERT_TRUE(within(std::chrono::seconds(20), [&] { return cups.run("lpstat -r") == 0; }))
        << dir.read("log/error_log");
    // A server that has just started may still turn the queue away.
    ASSERT_TRUE(within(std::chrono::seconds(20),
                       [&] {
                           return cups.run("lpadmin -p zorvitest -E -v 'keep:" +
                                           dir.file("printer.out") + "' -m raw") == 0;
                       }))
        << dir.read("log/command") << dir.read("log/error_log");

    Configuration config = DefaultConfiguration();
    config.DocketText[1] = "Corner Shop";
    ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), config));
    dir.write("Printer.dat", "lp:zorvitest\r\ncodepage=19\r\ncut=full\r\n");
    EXPECT_EQ(cups.run(std::string("'") + ZORVI_PRINTER_PATH + "' test '" + dir.path() + "'"), 0);

    const std::string start = "\x1b@\x1bt\x13"
                              "Corner Shop\r\nPrinter test page\r\nPrinter: lp:zorvitest\r\n"
                              "Code page: 19\r\n2x  !\"#$%&'()*+,-./\r\n";
    const std::string cut = "\x1dV\x41";
    std::string printed;
    EXPECT_TRUE(within(std::chrono::seconds(20), [&] {
        printed = dir.read("printer.out");
        return printed.size() >= start.size() + cut.size() + 1;
    })) << dir.read("log/error_log");
    EXPECT_EQ(printed.substr(0, start.size()), start);
    EXPECT_EQ(printed.substr(printed.size() - 4), cut + std::string(1, '\0'));
}

#endif
