#pragma once

#include "reports/ShopRecords.h"

#include <string>
#include <vector>

// zorvi-export: the shop's records as CSV files or as a one-page HTML
// report, for a spreadsheet or a phone.
//   zorvi-export csv  [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--force] SHOPDIR OUTDIR
//   zorvi-export html [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--force] SHOPDIR OUTFILE
// Exit status 0 when all is written, 1 when lines of the shop's files could not
// be read (the rest is written), 2 when nothing was written.

struct ExportResult {
    int status = 0;
    std::vector<std::string> output; // for stdout
    std::vector<std::string> errors; // for stderr
};

ExportResult RunExport(const std::vector<std::string>& args, DayNumber today);

// Writes `content` to `path` through a temporary file renamed over it.
// Throws IoError.
void WriteExportFile(const std::string& path, const std::string& content);

// The report of the one file of a shop at `path` (the viewer's export),
// written to `outPath`. Returns what was left out as it could not be read.
// Throws IoError.
std::vector<std::string> WriteFileReport(const std::string& path, DayNumber today,
                                         const std::string& outPath);
