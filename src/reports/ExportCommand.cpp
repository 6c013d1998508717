#include "reports/ExportCommand.h"

#include "reports/CsvExport.h"
#include "reports/HtmlReport.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/TextRewriter.h"

#include <filesystem>

namespace {

constexpr const char* Usage =
    "Usage: zorvi-export csv  [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--force] SHOPDIR OUTDIR\n"
    "       zorvi-export html [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--force] SHOPDIR OUTFILE";

ExportResult refused(std::string message) {
    ExportResult result;
    result.status = 2;
    result.errors.push_back(std::move(message));
    return result;
}

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string periodTitle(const ReportRange& range) {
    std::string title = "Zorvi report";
    if (range.from != 0) title += " from " + IsoDateText(range.from);
    if (range.to != 99999999) title += " to " + IsoDateText(range.to);
    return title;
}

} // namespace

void WriteExportFile(const std::string& path, const std::string& content) {
    std::optional<TextRewriter> file = TextRewriter::Open(path);
    if (!file) throw IoError(path, "The file cannot be created");
    file->write(content);
    file->commit();
}

ExportResult RunExport(const std::vector<std::string>& args, DayNumber today) {
    if (args.empty() || (args[0] != "csv" && args[0] != "html")) return refused(Usage);
    const bool csv = args[0] == "csv";
    RecordsRequest request;
    request.today = today;
    bool force = false;
    std::vector<std::string> places;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--force") {
            force = true;
        } else if (arg == "--from" || arg == "--to") {
            if (i + 1 == args.size()) return refused(arg + " needs a date (YYYY-MM-DD).");
            const DayNumber day = ParseIsoDate(args[++i]);
            if (day == 0) return refused(arg + " " + args[i] + ": not a date (YYYY-MM-DD).");
            (arg == "--from" ? request.range.from : request.range.to) = day;
        } else if (arg.starts_with("-")) {
            return refused(Usage);
        } else {
            places.push_back(arg);
        }
    }
    if (places.size() != 2) return refused(Usage);
    if (request.range.from > request.range.to)
        return refused("--from " + IsoDateText(request.range.from) + " is after --to " +
                       IsoDateText(request.range.to) + ".");
    request.shopDir = withSlash(places[0]);
    std::error_code error;
    if (!std::filesystem::is_directory(places[0], error))
        return refused(places[0] + ": no such shop folder.");
    const std::string& out = places[1];

    // Nothing is replaced unasked.
    std::vector<std::string> targets;
    if (csv) {
        for (const std::string& name : CsvFileNames())
            targets.push_back(withSlash(out) + name);
    } else {
        targets.push_back(out);
    }
    for (const std::string& target : targets)
        if (!force && FileNames::named(target))
            return refused(target + " already exists; add --force to replace it.");

    ExportResult result;
    try {
        const ShopRecords records = ReadShopRecords(request);
        for (const std::string& problem : records.problems)
            result.errors.push_back(problem + " It is left out.");
        if (csv) {
            std::filesystem::create_directories(out, error);
            if (!std::filesystem::is_directory(out, error))
                return refused(out + ": the folder cannot be created.");
            for (const CsvFile& file : MakeCsvFiles(records)) {
                WriteExportFile(withSlash(out) + file.name, file.content);
                result.output.push_back(withSlash(out) + file.name);
            }
        } else {
            WriteExportFile(out, MakeHtmlReport(records, ComputeReportFigures(records),
                                                periodTitle(request.range)));
            result.output.push_back(out);
        }
        if (!records.problems.empty()) result.status = 1;
    } catch (const IoError& e) {
        result.errors.push_back(e.message());
        result.status = 2;
    }
    return result;
}

std::vector<std::string> WriteFileReport(const std::string& path, DayNumber today,
                                         const std::string& outPath) {
    RecordsRequest request;
    request.shopDir = FileNames::directoryOf(path);
    request.onlyFile = std::filesystem::path(path).filename().string();
    request.today = today;
    const ShopRecords records = ReadShopRecords(request);
    WriteExportFile(outPath, MakeHtmlReport(records, ComputeReportFigures(records),
                                            "Zorvi report of " + request.onlyFile));
    return records.problems;
}
