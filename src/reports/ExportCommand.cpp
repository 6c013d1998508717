#include "reports/ExportCommand.h"

#include "reports/CsvExport.h"
#include "reports/HtmlReport.h"
#include "reports/ReportFigures.h"
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

// The seven files written as the records are read, each through a
// temporary name renamed into place at the end. Returns what could not be
// read; `written` gets the files' paths, none when the folder cannot be made.
std::vector<std::string> writeCsv(const RecordsRequest& request, const std::string& out,
                                  std::vector<std::string>& written) {
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (!std::filesystem::is_directory(out, error)) return {};
    std::vector<std::string> paths;
    std::vector<TextRewriter> files;
    for (const std::string& name : CsvFileNames()) {
        paths.push_back(withSlash(out) + name);
        std::optional<TextRewriter> file = TextRewriter::Open(paths.back());
        if (!file) throw IoError(paths.back(), "The file cannot be created");
        files.push_back(std::move(*file));
    }
    CsvTables tables([&](size_t file, std::string_view text) { files[file].write(text); });
    ReadShopRecords(request, tables);
    tables.flush();
    for (TextRewriter& file : files)
        file.commit();
    written = std::move(paths);
    return tables.problems();
}

// The figures are summed as the records are read; only the lasting records
// are kept, for the page's tables.
std::vector<std::string> writeReport(const RecordsRequest& request, const std::string& out,
                                     const std::string& title) {
    ShopRecords lasting;
    RecordsCollector collector(lasting);
    FiguresVisitor figures;
    RecordsFanOut both({&collector, &figures});
    ReadShopRecords(request, both);
    // The page of one archive shows its rows, which a shop's page leaves to
    // the CSV files.
    if (!request.onlyFile.empty()) {
        for (DayByDayRow& row : lasting.days)
            row.archived = false;
        for (SalesPersonRow& row : lasting.persons)
            row.archived = false;
        for (StockRow& row : lasting.stock)
            row.archived = false;
    }
    WriteExportFile(out, MakeHtmlReport(lasting, figures.figures(), title));
    return lasting.problems;
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
        const std::vector<std::string> problems =
            csv ? writeCsv(request, out, result.output)
                : writeReport(request, out, periodTitle(request.range));
        if (csv && result.output.empty()) return refused(out + ": the folder cannot be created.");
        if (!csv) result.output.push_back(out);
        for (const std::string& problem : problems)
            result.errors.push_back(problem + " It is left out.");
        if (!problems.empty()) result.status = 1;
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
    return writeReport(request, outPath, "Zorvi report of " + request.onlyFile);
}
