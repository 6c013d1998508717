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
    std::string fault = PrintDocketFile(dir, PrintTimeoutMs);
    try {
        RecordDocketOutcome(dir, fault);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Slipjet: %s\n", e.what());
    }
    if (fault.empty()) return 0;
    std::fprintf(stderr, "Slipjet: %s\n", fault.c_str());
    return 1;
}
