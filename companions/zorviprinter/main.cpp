// zorvi-printer: finds the printers this PC could print dockets on, and
// prints a test page through a shop's Printer.dat.
//
//   zorvi-printer detect [HOST[:PORT]...]
//   zorvi-printer test [SHOPDIR]
#include "printer/PrinterDetect.h"
#include "printer/TestPage.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int DetectTimeoutMs = 5000;
constexpr int TestTimeoutMs = 5000;

int usage() {
    std::fprintf(stderr, "usage: zorvi-printer detect [HOST[:PORT]...]\n"
                         "       zorvi-printer test [SHOPDIR]\n");
    return 2;
}

int detect(const std::vector<std::string>& hosts) {
    // The device tree may be elsewhere, for trying this out.
    const char* root = std::getenv("ZORVI_DEVICE_ROOT");
    const PrinterSearch search =
        FindPrinters(root && *root ? root : "/", hosts, Deadline(DetectTimeoutMs));
    if (!search.couldLook) {
        std::fprintf(stderr, "zorvi-printer: no device tree to look in\n");
        return 2;
    }
    if (search.found.empty()) std::printf("no printer found\n");
    for (const PrinterCandidate& c : search.found)
        std::printf("%s\n", CandidateLine(c).c_str());
    return 0;
}

int test(std::string dir) {
    if (dir.empty()) dir = ".";
    if (dir.back() != '/') dir += '/';
    const std::string verdict = PrintTestPage(dir, TestTimeoutMs);
    std::printf("%s\n", verdict.c_str());
    return verdict == "Ok" ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    if (argc < 2) return usage();
    std::vector<std::string> rest(argv + 2, argv + argc);
    if (std::strcmp(argv[1], "detect") == 0) return detect(rest);
    if (std::strcmp(argv[1], "test") == 0 && rest.size() <= 1)
        return test(rest.empty() ? std::string() : rest[0]);
    return usage();
}
