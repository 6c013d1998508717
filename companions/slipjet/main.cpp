// Slipjet: prints docket.prn of its own directory on the receipt printer.
// "Slipjet.exe drawer PRN1" (or PRN2) opens the drawer on the printer's
// drawer socket instead, and prints nothing.
#include "devices/DocketVerdict.h"
#include "printer/DocketPrintJob.h"
#include "printer/ProgramDirectory.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {
// A receipt printer needs a few seconds for a docket; a stuck one must not
// keep this program alive for ever.
constexpr int PrintTimeoutMs = 20000;
// The cashier waits for the drawer.
constexpr int DrawerTimeoutMs = 2000;

int openDrawer(const std::string& dir, const char* port) {
    int m = -1;
    if (std::strcmp(port, "PRN1") == 0) m = 0;
    if (std::strcmp(port, "PRN2") == 0) m = 1;
    if (m < 0) {
        std::fprintf(stderr, "Slipjet: no drawer socket %s (PRN1 or PRN2)\n", port);
        return 2;
    }
    const std::string fault = KickDrawer(dir, m, DrawerTimeoutMs);
    if (fault.empty()) return 0;
    std::fprintf(stderr, "Slipjet: %s\n", fault.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const std::string dir = ProgramDirectory();
    if (argc == 3 && std::strcmp(argv[1], "drawer") == 0) return openDrawer(dir, argv[2]);
    const DocketPrintResult result = PrintDocketFile(dir, PrintTimeoutMs);
    const std::string& fault = result.fault;
    try {
        // Only a docket that did not reach the printer is worth the cashier's
        // attention; no docket at all, or a faulty printer code left out of
        // one that printed, is not.
        RecordDocketOutcome(dir, result.undelivered ? fault : std::string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Slipjet: %s\n", e.what());
    }
    if (fault.empty()) return 0;
    std::fprintf(stderr, "Slipjet: %s\n", fault.c_str());
    return 1;
}
