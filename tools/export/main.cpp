// zorvi-export: the shop's records as CSV files or a one-page HTML report.
#include "platform/LocalClock.h"
#include "reports/ExportCommand.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const DateTime now = LocalClock().now();
    const ExportResult result = RunExport(args, now.year * 10000 + now.month * 100 + now.day);
    for (const std::string& line : result.output)
        std::printf("%s\n", line.c_str());
    for (const std::string& line : result.errors)
        std::fprintf(stderr, "%s\n", line.c_str());
    return result.status;
}
