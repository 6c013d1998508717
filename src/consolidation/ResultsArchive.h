#pragma once

#include "consolidation/RunDates.h"

#include <optional>
#include <string>

// ArchiveResults' name for the day's takings file: "Res" + year + month + "."
// + day, then the first letter "a".."z" that makes it free. Nothing when all
// 27 names are taken. An existing file is found whatever the case of its name.
std::optional<std::string> ResultsArchiveName(const std::string& dataDir, const RunDates& dates);
