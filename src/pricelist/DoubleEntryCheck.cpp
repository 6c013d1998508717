#include "pricelist/DoubleEntryCheck.h"

#include "fast/CodeIndex.h"
#include "pricelist/PriceList.h"
#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"

#include <cstdint>
#include <string_view>

namespace {

std::string_view codeOf(std::string_view line) {
    return line.empty() ? line : line.substr(1, 13);
}

} // namespace

DoubleEntryReport FindDoubleEntries(const std::vector<std::string_view>& lines,
                                    const PriceProgress& progress) {
    // For the first line of each code the chain of its other lines, in file
    // order, and how many there are.
    const uint32_t none = UINT32_MAX;
    std::vector<std::string_view> codes;
    codes.reserve(lines.size());
    for (std::string_view line : lines)
        codes.push_back(codeOf(line));
    CodeIndex index(codes);
    std::vector<uint32_t> count(lines.size(), 0), next(lines.size(), none), last(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t f = index.firstOf(i);
        if (count[f]++ > 0) next[last[f]] = static_cast<uint32_t>(i);
        last[f] = static_cast<uint32_t>(i);
    }

    DoubleEntryReport report;
    size_t shownPercent = 0;
    if (progress) progress(0, lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t f = index.firstOf(i);
        if (count[f] > 1) {
            report.found = true;
            for (uint32_t j = next[f]; j != none; j = next[j]) {
                if (report.lines.size() == DoubleEntryReportLimit) {
                    ++report.leftOut;
                    continue;
                }
                report.lines.push_back(" " + std::string(codeOf(lines[i])) +
                                       ",  delete line No: " + std::to_string(j + 1));
            }
        }
        size_t percent = (i + 1) * 100 / lines.size();
        if (progress && percent != shownPercent) {
            shownPercent = percent;
            progress(i + 1, lines.size());
        }
    }
    return report;
}

DoubleEntryReport CheckDoubleEntries(DataFiles& files, const PriceProgress& progress) {
    // The check once kept its codes in this work file; the index does its work now.
    FileNames::remove(files.pathOf("dcheck.a"));
    // The check follows a save, so a list is there; the offer of a sample
    // list is the start's and the consolidation's to make.
    std::string path;
    {
        const std::optional<TextReader> priceList = OpenPriceList(files);
        if (!priceList) return {};
        path = priceList->path();
    }
    std::string bytes;
    std::vector<std::string_view> lines;
    if (!ReadWholeLines(path, bytes, lines)) throw IoError(path, "Read error");
    return FindDoubleEntries(lines, progress);
}
