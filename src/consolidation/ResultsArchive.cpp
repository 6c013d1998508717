#include "consolidation/ResultsArchive.h"

#include "store/FileNames.h"

std::optional<std::string> ResultsArchiveName(const std::string& dataDir, const RunDates& dates) {
    const std::string base = "Res" + dates.YearText + dates.MonthText + "." + dates.DayText;
    auto taken = [&](const std::string& name) {
        return FileNames::exists(FileNames::resolve(dataDir, name));
    };
    if (!taken(base)) return base;
    for (char letter = 'a'; letter <= 'z'; ++letter)
        if (!taken(base + letter)) return base + letter;
    return std::nullopt;
}
