#include "backup/Generations.h"

#include <algorithm>
#include <numeric>

namespace {

// Keeps the newest backup of each of the first `count` periods, newest first.
template <typename Period>
void keepNewestOf(const std::vector<BackupStamp>& stamps, const std::vector<size_t>& newestFirst,
                  long count, Period period, std::vector<bool>& kept) {
    long periods = 0;
    bool any = false;
    long last = 0;
    for (size_t i : newestFirst) {
        if (periods >= count) break;
        const long p = period(stamps[i].when);
        if (any && p == last) continue;
        kept[i] = true;
        any = true;
        last = p;
        ++periods;
    }
}

} // namespace

std::vector<bool> KeptGenerations(const std::vector<BackupStamp>& stamps,
                                  const GenerationCounts& counts) {
    std::vector<bool> kept(stamps.size(), false);
    if (stamps.empty()) return kept;
    std::vector<size_t> order(stamps.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return EarlierBackup(stamps[b], stamps[a]); });
    keepNewestOf(
        stamps, order, counts.days,
        [](const DateTime& t) { return (t.year * 100L + t.month) * 100L + t.day; }, kept);
    keepNewestOf(
        stamps, order, counts.months, [](const DateTime& t) { return t.year * 100L + t.month; },
        kept);
    keepNewestOf(
        stamps, order, counts.years, [](const DateTime& t) { return long{t.year}; }, kept);
    kept[order.front()] = true;
    return kept;
}
