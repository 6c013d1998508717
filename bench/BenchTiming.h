#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

// Timing for the benchmarks: each figure is the median of several runs, and
// set against one plain sequential read of the files it works on, made in the
// same run, so that the ratio can be compared across machines.

inline double millisecondsOf(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The median of several runs; `prepare` runs untimed before each.
inline double median(
    int runs, const std::function<void()>& work, const std::function<void()>& prepare = [] {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        times.push_back(millisecondsOf(work));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A figure and its plain read, timed side by side in each run: the machine
// may be slower for a while, and a ratio of two medians taken minutes apart
// would carry that. The median of the ratios of the runs, with the median
// times.
struct Paired {
    double work = 0;
    double reference = 0;
    double ratio = 0;
};

inline Paired paired(
    int runs, const std::function<void()>& work, const std::function<void()>& reference,
    const std::function<void()>& prepare = [] {}) {
    std::vector<double> works, references, ratios;
    for (int i = 0; i < runs; ++i) {
        prepare();
        // The reference a few times: one read is short beside the work.
        std::vector<double> reads;
        for (int r = 0; r < 5; ++r)
            reads.push_back(millisecondsOf(reference));
        std::sort(reads.begin(), reads.end());
        const double read = reads[reads.size() / 2];
        const double time = millisecondsOf(work);
        works.push_back(time);
        references.push_back(read);
        ratios.push_back(time / read);
    }
    auto middle = [](std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    return {middle(works), middle(references), middle(ratios)};
}

// One plain pass over a file in the block size the program's reader uses.
inline void readOnce(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    std::vector<char> buffer(1 << 16);
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
}

// One plain line-by-line read of a file (the floor of any pass over its
// lines); the number of lines.
inline size_t lineByLine(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    size_t count = 0;
    while (std::getline(in, line))
        ++count;
    return count;
}

// The time the disk takes to write and sync `bytes` bytes to a new file at
// `probe`, removed afterwards: what no parse or format can win back.
inline double writeAndSyncTime(const std::string& probe, std::uintmax_t bytes) {
    double time = median(7, [&] {
        int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        static std::vector<char> block(1 << 16, ' ');
        for (auto left = bytes; left > 0;) {
            auto n = std::min<std::uintmax_t>(left, block.size());
            if (::write(fd, block.data(), n) < 0) break;
            left -= n;
        }
        ::fsync(fd);
        ::close(fd);
    });
    std::filesystem::remove(probe);
    return time;
}

inline void print(const char* what, double ms, int width = 52) {
    std::printf("%-*s %9.3f ms\n", width, what, ms);
}

// A figure set against its plain read; `limit` 0 means none is set. True
// when the figure is within its limit.
inline bool printRatio(const char* what, double value, double limit = 0, int width = 52) {
    if (limit > 0)
        std::printf("%-*s %9.2f  (at most %.0f)\n", width, what, value, limit);
    else
        std::printf("%-*s %9.2f\n", width, what, value);
    return limit <= 0 || value <= limit;
}

// A fresh directory under the system's temporary one; `leaf` ends in XXXXXX.
// Empty when none could be made.
inline std::string makeBenchDirectory(const char* leaf) {
    std::string root = (std::filesystem::temp_directory_path() / leaf).string();
    if (!::mkdtemp(root.data())) {
        std::perror("mkdtemp");
        return {};
    }
    return root;
}

// A peer program doing the same job, run through the shell with its output
// thrown away; its time in milliseconds, or a negative number when it could
// not run (not installed, or it failed).
inline double timePeer(const std::string& command) {
    int status = -1;
    const double ms = millisecondsOf(
        [&] { status = std::system(("( " + command + " ) >/dev/null 2>&1").c_str()); });
    return status == 0 ? ms : -1;
}

// The median of several runs of a peer; negative when one of them failed.
inline double medianPeer(int runs, const std::string& command) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(timePeer(command));
        if (times.back() < 0) return -1;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A peer's time, or that it could not run.
inline void printPeer(const char* what, double ms, int width = 52) {
    if (ms < 0)
        std::printf("%-*s  not run (missing or failed)\n", width, what);
    else
        print(what, ms, width);
}

// The scale run: with `--scale` on the command line a bench runs a second
// time at ten times its size (1,000,000 articles instead of 100,000, ten
// years of archives instead of one) and prints each figure beside its first
// one: a linear program takes at most 11 times as long.
constexpr int ScaleFactor = 10;

inline bool scaleRequested(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--scale") return true;
    return false;
}

// The heap as it stands after a first run, at every size: the allocator
// hands buffers above 32 MB straight to the system, which then clears each
// of their pages again on every run, while smaller buffers are reused warm.
// Without this the runs at ten times the size would pay work the first runs
// are spared. Called first thing in main().
inline void keepFreedMemory() {
    ::mallopt(M_MMAP_MAX, 0);
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

// A bench's figures by name, in milliseconds, for the scale run to compare;
// the floor and the peer are shown beside them but have no goal. A figure
// that is one pass over a file, as the lookup is, names the plain read of
// the same file (`floor`, its place in the list): it is judged on how much
// faster it grows than that read where that is less than its own growth, as
// reading ten times the bytes costs more than ten times once they no longer
// fit the processor's caches.
struct Figure {
    std::string name;
    double ms = 0;
    bool judged = true;
    int floor = -1;
};
using Figures = std::vector<Figure>;

// Each figure of the scaled run against the same one of the first run. True
// when every judged ratio is within the goal.
inline bool printScale(const Figures& first, const Figures& scaled, double limit = 11) {
    std::printf("\nScale run, %dx the data:\n", ScaleFactor);
    std::printf("%-52s %10s %10s %7s\n", "", "1x ms", "10x ms", "ratio");
    bool within = true;
    for (size_t i = 0; i < first.size() && i < scaled.size(); ++i) {
        const double ratio = scaled[i].ms / first[i].ms;
        const int f = first[i].floor;
        const bool byFloor = f >= 0 && static_cast<size_t>(f) < scaled.size();
        // Growth at the floor's pace, for a pass over the same bytes; a floor
        // that happened to grow less than tenfold does not count against it.
        const double floorRatio = byFloor ? scaled[f].ms / first[f].ms : 0;
        const double pace = byFloor ? ratio * ScaleFactor / floorRatio : ratio;
        const double judgedRatio = std::min(ratio, pace);
        const bool over = first[i].judged && judgedRatio > limit;
        within = within && !over;
        std::printf("%-52s %10.3f %10.3f %7.2f", first[i].name.c_str(), first[i].ms, scaled[i].ms,
                    ratio);
        if (byFloor) std::printf("  (%.2f at the read's pace)", pace);
        std::printf("%s\n", over ? "  (over 11x)" : "");
    }
    return within;
}

// With --scale, the figures of `again` (the same runs at ScaleFactor times
// the data) printed beside the first ones. True when no scale run is asked,
// or when every judged figure grows linearly; a run without figures fails.
inline bool alsoAtScale(int argc, char** argv, const Figures& first,
                        const std::function<Figures()>& again) {
    if (!scaleRequested(argc, argv)) return true;
    const Figures scaled = again();
    return !scaled.empty() && printScale(first, scaled);
}
