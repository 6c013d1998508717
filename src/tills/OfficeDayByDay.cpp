#include "tills/OfficeDayByDay.h"

#include "consolidation/DayResults.h"
#include "consolidation/PeriodArchives.h"
#include "store/Padding.h"
#include "store/TextLines.h"
#include "tills/DayManifest.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

namespace {

constexpr std::string_view TotalMark = " all tills    ***";

std::optional<DayManifest> tagOf(std::string_view line) {
    if (line.size() < 2 || line[0] != ' ' || line[1] == ' ') return std::nullopt;
    return ParseDayFolderName(line.substr(1));
}

// The date as the tills' own headings write it, from the first of them.
std::string dateTextOf(const std::string& lines, const std::string& date) {
    std::string found;
    ForEachLine(lines, [&](std::string_view line, size_t) {
        const size_t stars = line.find("***");
        if (found.empty() && line.starts_with("*") && stars != std::string_view::npos)
            found = BlankTrimmed(line.substr(stars + 3));
    });
    if (!found.empty()) return found;
    return date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
}

} // namespace

OfficeDayLines ReadOfficeDayLines(std::string_view text) {
    OfficeDayLines read;
    std::string* current = nullptr;
    bool inTotal = false;
    ForEachLine(text, [&](std::string_view line, size_t) {
        if (tagOf(line)) {
            current = &read.tills[std::string(line.substr(1))];
            current->clear();
            inTotal = false;
            return;
        }
        if (current && !line.empty() && line[0] == ' ') {
            *current += std::string(line.substr(1)) + "\r\n";
            return;
        }
        current = nullptr;
        // A date's total: its heading and the "#" and "&" lines after it.
        if (line.starts_with("*") && line.find(TotalMark) != std::string_view::npos) {
            inTotal = true;
            return;
        }
        if (inTotal && (line.starts_with("#") || line.starts_with("&"))) return;
        inTotal = false;
        read.own += std::string(line) + "\r\n";
    });
    return read;
}

std::string OfficeDayByDay(const OfficeDayLines& lines, const std::string& path) {
    struct Entry {
        DayManifest day;
        const std::string* name;
        const std::string* lines;
    };
    std::vector<Entry> order;
    for (const auto& [name, till] : lines.tills)
        if (const std::optional<DayManifest> day = ParseDayFolderName(name))
            order.push_back({*day, &name, &till});
    std::sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.day.date, a.day.till, a.day.z) <
               std::tie(b.day.date, b.day.till, b.day.z);
    });
    std::string text = lines.own;
    for (size_t first = 0; first < order.size();) {
        size_t end = first;
        std::string dateLines;
        for (; end < order.size() && order[end].day.date == order[first].day.date; ++end) {
            text += " " + *order[end].name + "\r\n";
            ForEachLine(*order[end].lines, [&](std::string_view line, size_t) {
                if (line.empty()) return;
                text += " " + std::string(line) + "\r\n";
                dateLines += std::string(line) + "\r\n";
            });
        }
        const ConsolidationTotals sums = ArchiveDayByDay(dateLines, path, {}).period;
        const std::string dateText = dateTextOf(dateLines, order[first].day.date);
        text += "*    " + dateText + std::string(TotalMark) + "   " + dateText + "\r\n";
        text += DayQuantitiesLine(sums) + "\r\n" + DayAmountsLine(sums) + "\r\n";
        first = end;
    }
    return text;
}
