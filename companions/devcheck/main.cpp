// Devcheck: tests the receipt printer and leaves its verdict in Devcheck.dat.
#include "printer/PrinterCheck.h"
#include "printer/ProgramDirectory.h"

#include <csignal>

namespace {
// The program waits 3 seconds for the verdict.
constexpr int CheckTimeoutMs = 2000;
} // namespace

int main() {
    std::signal(SIGPIPE, SIG_IGN);
    const std::string dir = ProgramDirectory();
    return WriteVerdict(dir, CheckPrinter(dir, CheckTimeoutMs)) ? 0 : 1;
}
