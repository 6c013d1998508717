#include "pricelist/DoubleEntryCheck.h"

#include "pricelist/PriceList.h"
#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"

#include <string_view>
#include <unordered_map>

namespace {

std::string_view codeOf(std::string_view line) {
    return line.empty() ? line : line.substr(1, 13);
}

} // namespace

DoubleEntryReport FindDoubleEntries(const std::vector<std::string>& lines,
                                    const PriceProgress& progress) {
    // The line numbers (from 1) of every code, in file order.
    std::unordered_map<std::string_view, std::vector<size_t>> linesOf;
    linesOf.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        linesOf[codeOf(lines[i])].push_back(i + 1);

    DoubleEntryReport report;
    size_t shownPercent = 0;
    if (progress) progress(0, lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view code = codeOf(lines[i]);
        const std::vector<size_t>& numbers = linesOf.find(code)->second;
        if (numbers.size() > 1) {
            report.found = true;
            for (size_t k = 1; k < numbers.size(); ++k) {
                if (report.lines.size() == DoubleEntryReportLimit) {
                    report.leftOut += numbers.size() - k;
                    break;
                }
                report.lines.push_back(" " + std::string(code) +
                                       ",  delete line No: " + std::to_string(numbers[k]));
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

DoubleEntryReport CheckDoubleEntries(DataFiles& files, Dialogs& dialogs,
                                     const PriceProgress& progress) {
    // The check once kept its codes in this work file; the map does its work now.
    FileNames::remove(files.pathOf("dcheck.a"));
    std::vector<std::string> lines;
    if (!OpenPriceListOrOfferSample(files, dialogs)) return {};
    std::string line;
    while (files.priceList.readFullLine(line))
        lines.push_back(line);
    bool failed = files.priceList.ioError();
    files.priceList.close();
    if (failed) throw IoError(files.priceList.path(), "Read error");
    return FindDoubleEntries(lines, progress);
}
