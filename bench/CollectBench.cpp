// Times zorvi-collect on an office that has received a year from many tills:
// by default 20 tills x 365 days x 2,000 takings lines (about 1 GB; give
// smaller numbers as TILLS DAYS LINES to try it on less). Beside it, in the
// same run: one plain line-by-line read of the same files (the floor: every
// byte has to be read to check its digest), and mawk summing the takings of
// the same files (the peer, which checks nothing and writes nothing).

#include "BenchTiming.h"
#include "store/FileNames.h"
#include "tills/Collect.h"
#include "tills/DayManifest.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string takingsOfDay(int lines, unsigned seed) {
    std::string text = "* START of SALE   05/12/26 09:00\r\n";
    char line[160];
    for (int n = 0; n < lines; ++n) {
        seed = seed * 1103515245 + 12345;
        const double amount = (seed >> 8) % 5000 / 100.0;
        if (n % 4 == 3)
            std::snprintf(line, sizeof line,
                          "# Total*** %2d:%02d %7.2f     0.00     0.00             0.00 %11.2f"
                          " %11.2f %5.2f\r\n",
                          9 + n / 250 % 10, n % 60, amount, amount, amount + 5, 5.0);
        else
            std::snprintf(line, sizeof line, "A A%012u %8.2f %10.2f %12.2f %12.2f %13.2f\r\n",
                          seed % 100000, 1.0, amount / 2, amount, amount, amount);
        text += line;
    }
    return text;
}

const std::string DayByDay = "*    05/12/26 09:00    ***   05/12/26\r\n"
                             "#500.0    6000.00    12000.00    12000.00    11000.00"
                             "        0.00      1000.00\r\n"
                             "&                        0.00        0.00     12000.00"
                             "        0.00     12000.00  \r\n";

const std::string SalesPersons =
    "*       05/12/26          Services                 Sales\r\n"
    "A   ANNA             0.00        0.00      500.00    12000.00\r\n";

void layOut(const std::string& office, int tills, int days, int lines, std::uintmax_t& bytes) {
    std::ofstream(office + "Configur.dat", std::ios::binary);
    for (int t = 1; t <= tills; ++t) {
        char tillDir[16];
        std::snprintf(tillDir, sizeof tillDir, "T%02d/", t);
        for (int d = 0; d < days; ++d) {
            char date[32];
            std::snprintf(date, sizeof date, "2026%02d%02d", d / 28 % 12 + 1, d % 28 + 1);
            const std::string name = DayFolderName(t, date, d + 1);
            const std::string dir = office + "Tills/" + tillDir + name + "/";
            fs::create_directories(dir);
            DayManifest manifest{t, date, d + 1, {}};
            const std::string takings = takingsOfDay(lines, static_cast<unsigned>(t * 1000 + d));
            for (const auto& [file, content] :
                 {std::pair<std::string, const std::string&>{"Daybyday.dat", DayByDay},
                  {"Spersons.dat", SalesPersons},
                  {"Res2026Dez.05a", takings}}) {
                std::ofstream(dir + file, std::ios::binary) << content;
                manifest.files.push_back(ManifestEntry(file, content));
                bytes += content.size();
            }
            std::ofstream(dir + std::string(ManifestName), std::ios::binary)
                << ManifestText(manifest);
        }
    }
}

void freshOffice(const std::string& office) {
    for (const char* name :
         {"Collected.dat", "Daybyday.dat", "Spersons.dat", "Balance.dat", "Balance.Tot"})
        fs::remove(office + name);
    fs::remove_all(office + "Acks");
}

// The processor time this process has used, in ms: on a machine that other
// work shares, the part of the time that is the collect's own.
double cpuMilliseconds() {
    rusage used{};
    ::getrusage(RUSAGE_SELF, &used);
    auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(used.ru_utime) + ms(used.ru_stime);
}

void readLines(const std::string& office) {
    std::string line;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(office + "Tills")) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        while (std::getline(in, line)) {
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const int tills = argc > 1 ? std::atoi(argv[1]) : 20;
    const int days = argc > 2 ? std::atoi(argv[2]) : 365;
    const int lines = argc > 3 ? std::atoi(argv[3]) : 2000;
    if (tills < 1 || tills > 99 || days < 1 || lines < 1) {
        std::fprintf(stderr, "Usage: collect_bench [TILLS [DAYS [LINES]]]\n");
        return 2;
    }
    const std::string root = makeBenchDirectory("zcollectXXXXXX");
    if (root.empty()) return 2;
    const std::string office = root + "/office/";
    fs::create_directories(office);
    std::uintmax_t bytes = 0;
    layOut(office, tills, days, lines, bytes);
    std::printf("%d tills x %d days x %d lines: %.1f MB received\n", tills, days, lines,
                static_cast<double>(bytes) / 1e6);
    const std::string mawk = "mawk '/^# Total/ { t += $(NF-2) } END { printf \"%.2f\\n\", t }' " +
                             office + "Tills/*/*/Res*";
    std::vector<double> collects, reads, peers, cpus;
    bool clean = true;
    for (int run = 0; run < 3; ++run) {
        freshOffice(office);
        reads.push_back(millisecondsOf([&] { readLines(office); }));
        peers.push_back(timePeer(mawk));
        const double cpuBefore = cpuMilliseconds();
        collects.push_back(millisecondsOf([&] {
            const CollectResult result = Collect(office, "20261231");
            clean = clean && !result.unusable && result.merged.size() > 0;
        }));
        cpus.push_back(cpuMilliseconds() - cpuBefore);
    }
    auto middle = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    print("plain line-by-line read of the received files (floor)", middle(reads), 56);
    printPeer("mawk summing the takings of the same files (peer)", middle(peers), 56);
    print("zorvi-collect: check every manifest, merge, write", middle(collects), 56);
    print("zorvi-collect: processor time (user + system)", middle(cpus), 56);
    printRatio("collect / plain read", middle(collects) / middle(reads), 0, 56);
    const bool within = printRatio("collect, seconds", middle(collects) / 1000, 30, 56);
    fs::remove_all(root);
    if (!clean) std::fprintf(stderr, "collect did not merge the days\n");
    return clean && within ? 0 : 1;
}
