// Slipjet: prints docket.prn of its own directory on the receipt printer.
#include "devices/DocketVerdict.h"
#include "printer/DocketPrintJob.h"
#include "printer/ProgramDirectory.h"

#include <csignal>
#include <cstdio>

namespace {
// A receipt printer needs a few seconds for a docket; a stuck one must not
// keep this program alive for ever.
constexpr int PrintTimeoutMs = 20000;
} // namespace

int main() {
    std::signal(SIGPIPE, SIG_IGN);
    const std::string dir = ProgramDirectory();
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
