// Times the consolidation on a generated data directory of 100,000 price list
// lines (5% services, 5% expense codes), the matching inventory and a day of
// 200,000 takings lines, next to one plain read of the same files; then what a
// period end adds (30 days in Daybyday.dat, a balance sheet of 12 columns with
// 10,000 item rows) and a stocktake from the same takings. The day's reading
// is also set against mawk summing quantity and amount per code over the
// same Results.dat (the peer). With --scale, everything again at ten times
// the articles, each figure beside its first one: a day of takings stays a
// day of 200,000 lines, as a shop ten times larger does not sell ten times
// as much in a day.

#include "BenchTiming.h"
#include "consolidation/DayCommit.h"
#include "consolidation/DayResults.h"
#include "consolidation/PeriodEnd.h"
#include "consolidation/Stocktake.h"
#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "store/TextLines.h"
#include "store/TextReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The shop's size: 100,000 articles and 200,000 takings lines, times the
// scale.
struct Size {
    int items = 100000;
    int takings = 200000;
};

std::string codeOf(int i) {
    char code[16];
    std::snprintf(code, sizeof code, i % 20 == 1 ? "/%012d" : "%013d", i);
    return code;
}
char markerOf(int i) {
    return i % 20 == 2 ? '$' : ' ';
}

std::string fmt(const char* format, auto... values) {
    char buf[160];
    std::snprintf(buf, sizeof buf, format, values...);
    return buf;
}

void writeFile(const std::string& path, const std::function<void(std::ofstream&)>& body) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    body(out);
}

void layOut(const std::string& dir, Size size) {
    const int ItemCount = size.items;
    writeFile(dir + "Pricelist.dat", [&](std::ofstream& out) {
        for (int i = 1; i <= ItemCount; ++i)
            out << fmt("%c%-13s %-26s %10.2f %10.2f %2d\r\n", markerOf(i), codeOf(i).c_str(),
                       "Article", (i % 1000) / 10.0, (i % 1000) / 5.0 + 0.99, i % 100);
    });
    writeFile(dir + "Inventory.dat", [&](std::ofstream& out) {
        for (int i = 1; i <= ItemCount; ++i)
            out << fmt("%c%-13s %5d %10.1f %12.1f %15.1f %15.2f\r\n",
                       markerOf(i) == '$' ? '$' : (i % 20 == 1 ? '!' : ' '), codeOf(i).c_str(),
                       i % 100, 1.0, (i % 37) * 1.0, 12.0, (i % 1000) / 10.0);
    });
    writeFile(dir + "Results.dat", [&](std::ofstream& out) {
        out << "* START of SALE   05/12/26 09:00\r\n";
        unsigned seed = 7;
        for (int n = 0; n < size.takings; ++n) {
            seed = seed * 1103515245 + 12345;
            int i = static_cast<int>(seed >> 8) % ItemCount + 1;
            if (n % 4 == 3) {
                out << "# Total*** 9:05   10.20     0.00     0.00             0.00       10.20"
                       "       20.00  9.80\r\n";
                continue;
            }
            char who = markerOf(i) == '$' ? '$' : (i % 20 == 1 ? 'a' : 'A');
            out << fmt("%c %-13s %8.2f %10.2f %12.2f %12.2f %13.2f\r\n", who, codeOf(i).c_str(),
                       1.0 + n % 3, 1.2, 2.5, 2.5, 2.5 * (1 + n % 3));
        }
    });
}

void layOutPeriod(const std::string& dir, int ItemCount) {
    writeFile(dir + "Daybyday.dat", [](std::ofstream& out) {
        for (int day = 1; day <= 30; ++day) {
            out << fmt("*    %02d/11/26 08:00    ***   %02d/11/26\r\n", day, day);
            out << "#  1.0       1.00        2.00        2.00         2.00        0.00         "
                   "0.00\r\n";
            out << "&                        0.00        0.00         2.00        0.00         "
                   "2.00  \r\n";
        }
    });
    writeFile(dir + "Balance.dat", [&](std::ofstream& out) {
        const char* labels[] = {"CASH TOTAL   ", "CHEQUE TOTAL ", "CREDIT TOTAL ", "TOTAL        ",
                                "TAX TOTAL    "};
        out << "BALANCE SHEET";
        for (int c = 0; c < 12; ++c)
            out << "      Jan2025";
        out << "\r\n";
        auto row = [&](const std::string& label) {
            out << label;
            for (int c = 0; c < 12; ++c)
                out << fmt(" %12.2f", c * 10.5);
            out << "\r\n";
        };
        for (const char* label : labels)
            row(label);
        for (int i = 1; i <= ItemCount; ++i)
            if (i % 20 == 1 || i % 20 == 2) row(codeOf(i));
    });
}

// The whole bench on a shop of `size`; its figures for the scale run. The
// runs of each figure are fewer at scale, where each takes seconds.
Figures runBench(const std::string& dir, Size size, int scale) {
    auto runs = [scale](int n) { return scale > 1 ? 3 : n; };
    std::printf("%d articles, %d takings lines\n", size.items, size.takings);
    layOut(dir, size);
    Configuration config;
    config.SalesPersonCode = {"A", "B", "C", "D", "E"};
    config.SalesPersonName = {"ANNA", "B", "C", "D", "E"};
    const RunDates dates{"05/12/26", "2026", "Dez", "05", false};

    DayResults day;
    const Paired reading = paired(
        runs(9), [&] { ReadDayResults(dir + "Results.dat", config, dates.DateText, day); },
        [&] { readOnce(dir + "Results.dat"); });
    // The least any reading of the takings line by line does: find each
    // line in the read buffer, and look at nothing in it.
    size_t bytesSeen = 0;
    const Paired linesAlone = paired(
        runs(9),
        [&] {
            std::optional<TextReader> file = TextReader::Open(dir + "Results.dat");
            std::string_view line;
            while (file->readLineView(line))
                bytesSeen += line.size();
        },
        [&] { readOnce(dir + "Results.dat"); });
    // The peer: mawk summing quantity and amount per code over the same
    // takings (article lines only; the start and total records skipped).
    const std::string mawk = "mawk '$1 != \"#\" && $1 != \"*\" { q[$2] += $3; a[$2] += $NF } "
                             "END { for (c in q) printf \"%s %.2f %.2f\\n\", c, q[c], a[c] }' " +
                             dir + "Results.dat";
    const double peer = medianPeer(runs(5), mawk);
    auto readAll = [&] {
        readOnce(dir + "Pricelist.dat");
        readOnce(dir + "Inventory.dat");
        readOnce(dir + "Results.dat");
    };

    // Step 4 on a fresh copy of the directory each time; the takings file
    // goes back to its name afterwards.
    size_t repaints = 0;
    auto restore = [&] {
        for (const char* name : {"Daybyday.dat", "Spersons.dat"})
            std::filesystem::remove(dir + name);
        if (std::filesystem::exists(dir + "Res2026Dez.05"))
            std::filesystem::rename(dir + "Res2026Dez.05", dir + "Results.dat");
        layOut(dir, size);
        ReadDayResults(dir + "Results.dat", config, dates.DateText, day);
        repaints = 0;
        // The files just written go to disk first, so that their writing
        // is not timed with the step.
        ::sync();
    };
    auto step4 = [&](bool sync) {
        DayCommitOptions options;
        options.sync = sync;
        options.progress = [&](size_t, size_t) { ++repaints; };
        CommitDay({dir, config, true, false, dates, day}, options);
    };
    const Paired withoutSync = paired(
        runs(7), [&] { step4(false); }, readAll, restore);
    double withSync = median(
        runs(3), [&] { step4(true); }, restore);
    // Even without syncs, the commit's rename of the new Inventory.dat over
    // the old one makes the file system start writing the new file out
    // (ext4 does so for every file replaced by a rename): disk work that no
    // parse or format can win back, timed here apart on as many bytes.
    const std::string probe = dir + "Probe.dat";
    const std::string bytes(std::filesystem::file_size(dir + "Inventory.dat"), ' ');
    auto writeProbe = [&](const std::string& path) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    };
    double renameOver = median(
        runs(5), [&] { std::filesystem::rename(probe + ".new", probe); },
        [&] {
            writeProbe(probe);
            ::sync();
            writeProbe(probe + ".new");
        });
    std::filesystem::remove(probe);

    // What a period end adds to the run: its files prepared from the day's and
    // staged beside them.
    layOut(dir, size);
    layOutPeriod(dir, size.items);
    const std::string dayByDay = ReadWholeFile(dir + "Daybyday.dat");
    const std::string inventory = ReadWholeFile(dir + "Inventory.dat");
    const std::string persons = "*       30/11/26          Services                 Sales\r\n";
    const RunDates november{"30/11/26", "2026", "Nov", "30", true};
    auto readPeriod = [&] {
        readOnce(dir + "Inventory.dat");
        readOnce(dir + "Balance.dat");
        readOnce(dir + "Daybyday.dat");
    };
    const Paired periodEnd = paired(
        runs(7),
        [&] {
            FileCommit commit(dir);
            commit.skipSyncs();
            StagePeriodEnd(commit, PreparePeriodEnd({dir, november, dayByDay, persons, inventory}),
                           inventory);
        },
        readPeriod);
    // Of that, the composing alone: the rest is the writing of the staged
    // files, some 20 MB, which no parse or format can win back.
    const Paired periodEndPrepare = paired(
        runs(7),
        [&] {
            PreparePeriodEnd({dir, november, dayByDay, persons, inventory});
        },
        readPeriod);

    // Of that, the writing alone of the files it stages, composed beforehand.
    const PeriodEndFiles composed = PreparePeriodEnd({dir, november, dayByDay, persons, inventory});
    const Paired periodEndStaging = paired(
        runs(7),
        [&] {
            FileCommit commit(dir);
            commit.skipSyncs();
            StagePeriodEnd(commit, composed, inventory);
        },
        readPeriod);

    // The stocktake, reading of the takings included, on a directory
    // without inventory.
    auto unStocktake = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::string name = entry.path().filename().string();
            if (name.rfind("Stocktake.", 0) == 0)
                std::filesystem::rename(entry.path(), dir + "Results.dat");
            else if (name.rfind("Inventory.", 0) == 0)
                std::filesystem::remove(entry.path());
        }
    };
    auto readStocktake = [&] {
        readOnce(dir + "Pricelist.dat");
        readOnce(dir + "Results.dat");
    };
    const Paired stocktake = paired(
        runs(7),
        [&] {
            DayResults counted;
            ReadDayResults(dir + "Results.dat", config, dates.DateText, counted);
            DayCommitOptions options;
            options.sync = false;
            CommitStocktake({dir, true, dates, counted}, options);
        },
        readStocktake, unStocktake);
    unStocktake();

    print("read Results.dat once", reading.reference);
    print("read Pricelist.dat + Inventory.dat + Results.dat", withoutSync.reference);
    print("reading the day's takings (ReadDayResults)", reading.work);
    printPeer("mawk summing quantity and amount per code (peer)", peer);
    print("step 4 without sync", withoutSync.work);
    print("step 4 with sync", withSync);
    printRatio("ratio reading / read Results.dat", reading.ratio, 3);
    printRatio("  finding its lines alone / read Results.dat", linesAlone.ratio);
    if (peer > 0)
        std::printf("%-52s %9.2f  (at least 4)\n", "ratio mawk / reading", peer / reading.work);
    print("  of which the rename over the old Inventory.dat", renameOver);
    printRatio("ratio step 4 without sync / read of the files", withoutSync.ratio, 8);
    printRatio("ratio step 4 less that rename / read of the files",
               (withoutSync.work - renameOver) / withoutSync.reference);
    std::printf("%-52s %9zu (about 100)\n", "progress bar repaints", repaints);
    print("read Inventory.dat + Balance.dat + Daybyday.dat", periodEnd.reference);
    print("period end additions without sync", periodEnd.work);
    print("  of which composing the files (no writing)", periodEndPrepare.work);
    print("read Pricelist.dat + Results.dat", stocktake.reference);
    print("stocktake without sync", stocktake.work);
    printRatio("ratio period end / read of its files", periodEnd.ratio, 6);
    printRatio("ratio period end composing / read of its files", periodEndPrepare.ratio);
    printRatio("ratio period end staging alone / read of its files", periodEndStaging.ratio);
    printRatio("ratio stocktake / read of its files", stocktake.ratio, 8);
    if (bytesSeen == 0) std::fprintf(stderr, "the takings were not read\n");
    return {{"reading the day's takings", reading.work},
            {"  plain line-by-line read (floor)", linesAlone.work, false},
            {"  mawk per code (peer)", peer, false},
            {"step 4 without sync", withoutSync.work},
            {"step 4 with sync", withSync},
            {"period end additions without sync", periodEnd.work},
            {"stocktake without sync", stocktake.work}};
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory();
    const std::string root = makeBenchDirectory("zorviconsXXXXXX");
    if (root.empty()) return 1;
    const std::string dir = root + "/";
    const Figures first = runBench(dir, Size{}, 1);
    const bool within = alsoAtScale(argc, argv, first, [&] {
        return runBench(dir, Size{Size{}.items * ScaleFactor, Size{}.takings}, ScaleFactor);
    });
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return within ? 0 : 1;
}
