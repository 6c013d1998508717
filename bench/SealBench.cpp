// Times the seals: what sealing adds to a sale (three article lines flushed
// and the total record synced, in a shop whose takings and journal already
// hold 200,000 lines), against the same writes without their seals, in the
// same run; then the check over a year of archives (365 days of 2,000
// takings lines each, with their journals) in MB/s, next to a plain
// line-by-line read and sha256sum over the same files. With --scale, the
// check again over ten years of archives, each figure beside its first one.

#include "BenchTiming.h"
#include "store/TextAppender.h"
#include "store/TextLines.h"
#include "takings/SealCheck.h"
#include "takings/SealJournal.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int TakingsLines = 200000;
constexpr int YearDays = 365;
constexpr int LinesPerDay = 2000;
const DateTime At{2026, 12, 7, 9, 5, 30};

std::string takingsLine(int i) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "A %013d    %8.2f %10.2f   %10.2f   %10.2f    %10.2f", i,
                  1.0 + i % 5, (i % 1000) / 10.0, (i % 1000) / 5.0, (i % 1000) / 5.0,
                  (i % 1000) / 5.0);
    return buf;
}

void writeLines(const std::string& path, int from, int count) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    for (int i = from; i < from + count; ++i)
        out << takingsLine(i) << "\r\n";
}

// A shop whose takings file and journal hold `TakingsLines` lines.
void layOutDay(const std::string& dir, bool sealed) {
    std::filesystem::create_directories(dir);
    writeLines(dir + "Results.dat", 0, TakingsLines);
    if (!sealed) return;
    std::vector<std::string> lines;
    for (int i = 0; i < TakingsLines; ++i)
        lines.push_back(takingsLine(i));
    SealJournal(dir).sealTakingsLines(lines, At);
}

struct Sale {
    std::string dir;
    std::optional<TextAppender> takings;
    std::optional<SealJournal> seals;
    int next = TakingsLines;

    Sale(std::string d, bool sealed) : dir(std::move(d)) {
        takings = TextAppender::OpenElseCreate(dir + "Results.dat");
        if (sealed) seals.emplace(dir);
    }
    // What the takings journal does for each record: the line written and
    // flushed (the total synced), then its seal.
    void record(const std::string& line, bool toDisk) {
        takings->writeLine(line);
        if (toDisk)
            takings->sync();
        else
            takings->flush();
        if (seals) seals->sealTakingsLines({line}, At);
    }
    void run() {
        for (int i = 0; i < 3; ++i)
            record(takingsLine(next++), false);
        record("# Total*** 9:05   10.20     0.00     0.00             0.00       10.20       "
               "20.00  9.80",
               true);
    }
};

const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                              "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

// Closed days, a year of them or more: each day's takings archived and
// sealed whole, and its journal archived beside it, as the close leaves them.
void layOutDays(const std::string& dir, int Days) {
    std::filesystem::create_directories(dir);
    SealJournal seals(dir);
    int line = 0;
    for (int d = 0; d < Days; ++d) {
        char name[16];
        const int inYear = d % YearDays;
        std::snprintf(name, sizeof name, "%04d%s.%02d", 2016 + d / YearDays, Months[inYear % 12],
                      inYear / 12 + 1);
        const std::string archive = std::string("Res") + name, journal = std::string("Jnl") + name;
        std::string takings;
        std::vector<std::string> lines;
        for (int i = 0; i < LinesPerDay; ++i) {
            lines.push_back(takingsLine(line++));
            takings += lines.back() + "\r\n";
        }
        seals.sealTakingsLines(lines, At);
        const SealJournal::Close close = seals.closeDay(archive, takings, journal, At);
        std::ofstream(dir + archive, std::ios::binary) << takings;
        std::ofstream(dir + journal, std::ios::binary) << close.archivedJournal;
        std::ofstream(dir + "Journal.dat", std::ios::binary | std::ios::trunc) << close.newJournal;
    }
}

std::vector<std::string> filesOf(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().string());
    return names;
}

// The check over `days` days of archives, next to a plain line-by-line read
// and sha256sum of the same files, median of `runs`; its figures for the
// scale run.
Figures checkDays(const std::string& root, int Days, int runs, size_t& findings) {
    const std::string year = root + "/days" + std::to_string(Days) + "/";
    layOutDays(year, Days);
    std::uintmax_t bytes = 0;
    const std::vector<std::string> files = filesOf(year);
    for (const std::string& file : files)
        bytes += std::filesystem::file_size(file);
    // Named by the shell in the folder: ten years of paths are too long for
    // one command line.
    const std::string sha256sum = "cd " + year + " && sha256sum -- *";
    std::vector<double> checks, reads, sums, ratios;
    for (int run = 0; run < runs; ++run) {
        reads.push_back(millisecondsOf([&] {
            size_t count = 0;
            for (const std::string& file : files)
                ForEachLine(ReadWholeFile(file), [&count](std::string_view, size_t) { ++count; });
            if (count == 0) std::abort();
        }));
        sums.push_back(timePeer(sha256sum));
        checks.push_back(millisecondsOf([&] { findings += CheckSeals(year).findings.size(); }));
        ratios.push_back(checks.back() / sums.back());
    }
    for (auto* v : {&checks, &reads, &sums, &ratios})
        std::sort(v->begin(), v->end());
    const size_t middle = checks.size() / 2;
    const double mb = static_cast<double>(bytes) / 1e6;
    std::printf("The check over %d days x %d lines: %zu files, %.1f MB, %zu findings\n", Days,
                LinesPerDay, files.size(), mb, findings);
    std::printf("  check       %8.1f ms  %7.1f MB/s (goal >= 200)\n", checks[middle],
                mb / checks[middle] * 1e3);
    std::printf("  line read   %8.1f ms  %7.1f MB/s (floor)\n", reads[middle],
                mb / reads[middle] * 1e3);
    if (sums[0] < 0) {
        std::printf("  sha256sum   not run (missing or failed)\n");
    } else {
        std::printf("  sha256sum   %8.1f ms  %7.1f MB/s (peer)\n", sums[middle],
                    mb / sums[middle] * 1e3);
        std::printf("  check / sha256sum %.2f (goal <= 1.5)\n", ratios[middle]);
    }
    std::filesystem::remove_all(year);
    return {{"check", checks[middle]},
            {"  plain line-by-line read (floor)", reads[middle], false},
            {"  sha256sum (peer)", sums[middle], false}};
}

} // namespace

int main(int argc, char** argv) {
    const std::string root = makeBenchDirectory("zsealXXXXXX");
    if (root.empty()) return 2;

    // A sale with and without its seals, alternating, median of each.
    const std::string plainDir = root + "/plain/", sealedDir = root + "/sealed/";
    layOutDay(plainDir, false);
    layOutDay(sealedDir, true);
    Sale plain(plainDir, false), sealed(sealedDir, true);
    sealed.run(); // the journal is read once, at the first seal
    plain.run();
    std::vector<double> plainTimes, sealedTimes;
    for (int run = 0; run < 201; ++run) {
        plainTimes.push_back(millisecondsOf([&] { plain.run(); }));
        sealedTimes.push_back(millisecondsOf([&] { sealed.run(); }));
    }
    std::sort(plainTimes.begin(), plainTimes.end());
    std::sort(sealedTimes.begin(), sealedTimes.end());
    const double p = plainTimes[plainTimes.size() / 2], s = sealedTimes[sealedTimes.size() / 2];
    std::printf("A sale (3 lines and the total), %d takings lines before it:\n", TakingsLines);
    std::printf("  without seals %8.3f ms   sealed %8.3f ms   ratio %.2f (goal <= 2)\n", p, s,
                s / p);

    size_t findings = 0;
    const Figures first = checkDays(root, YearDays, 5, findings);
    const bool within = alsoAtScale(
        argc, argv, first, [&] { return checkDays(root, YearDays * ScaleFactor, 3, findings); });
    std::filesystem::remove_all(root);
    return findings == 0 && within ? 0 : 1;
}
