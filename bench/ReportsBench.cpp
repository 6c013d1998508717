// Times the reports on a year of takings: 365 archives of 2,001 lines each.
// The graphs screen's figures (every record read and summed) and
// zorvi-export csv are set against one plain read of the same files, and the
// export against Python's csv module writing the same rows from the same
// files (bench/export_peer.py). Then the price list import of a 100,000-row
// CSV file against counting its lines, and against Python's csv module
// reading it. With --scale, again on ten years of archives and a CSV file of
// 1,000,000 rows, each figure beside its first one.

#include "BenchTiming.h"
#include "pricelist/PriceImport.h"
#include "reports/ExportCommand.h"
#include "reports/ReportFigures.h"
#include "store/CsvReader.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr int Days = 365;
constexpr int SalesPerDay = 400; // four lines and a total each: 2,000 lines and the start
constexpr int Rows = 100000;
constexpr const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
constexpr int MonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The archives of `years` years, the last one 2026.
std::vector<std::string> writeYears(const std::string& dir, int years) {
    std::vector<std::string> paths;
    int month = 0, day = 1, year = 2027 - years;
    for (int d = 0; d < Days * years; ++d) {
        char name[32];
        std::snprintf(name, sizeof name, "/Res%d%s.%02d", year, Months[month], day);
        paths.push_back(dir + name);
        std::string text = "* START of SALE   01.01.26 08:0\r\n";
        char line[160];
        for (int s = 0; s < SalesPerDay; ++s) {
            double total = 0;
            for (int l = 0; l < 4; ++l) {
                const int article = (s * 7 + l * 13 + d) % 500;
                const double qty = 1 + (s + l) % 3, price = 0.5 + article % 40 * 0.25;
                total += qty * price;
                std::snprintf(
                    line, sizeof line, "%c ART%-10d %8.2f %10.2f %12.2f %12.2f %13.2f\r\n",
                    'A' + (s + l) % 5, article, qty, price / 2, price, price, qty * price);
                text += line;
            }
            std::snprintf(line, sizeof line,
                          "# Total***%2d:%02d %7.2f %8.2f %8.2f%10s%7.2f %11.2f %11.2f %5.2f\r\n",
                          8 + s % 11, s % 60, total, 0.0, 0.0, "", 0.0, total, total, 0.0);
            text += line;
        }
        std::ofstream(paths.back(), std::ios::binary) << text;
        if (++day > MonthDays[month]) {
            day = 1;
            if (++month == 12) {
                month = 0;
                ++year;
            }
        }
    }
    return paths;
}

std::string writeImport(const std::string& dir, int ImportRows) {
    const std::string path = dir + "/supplier.csv";
    std::string text = "code;description;wholesale;sale;stock\r\n";
    char row[128];
    for (int i = 0; i < ImportRows; ++i) {
        std::snprintf(row, sizeof row, "%d;\"Article %d, boxed\";%d,%02d;%d,%02d;%d\r\n",
                      100000 + i, i, i % 90 + 1, i % 100, i % 90 + 2, i % 100, i % 50);
        text += row;
    }
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The whole bench on `years` years of archives and `ImportRows` rows to
// import; its figures for the scale run, and whether they kept the limits.
Figures runBench(const std::string& peer, int years, int ImportRows, bool& ok) {
    const std::string dir = makeBenchDirectory("zorvi-reports-XXXXXX");
    if (dir.empty()) {
        ok = false;
        return {};
    }
    const bool first = years == 1;
    const std::vector<std::string> archives = writeYears(dir, years);
    auto plainRead = [&] {
        for (const std::string& path : archives)
            readOnce(path);
    };
    bool within = true;

    std::printf("%d year(s) of takings: %zu archives of %d lines\n", years, archives.size(),
                SalesPerDay * 5 + 1);
    const Paired charts = paired(
        5,
        [&] {
            RecordsRequest request;
            request.shopDir = dir + "/";
            ReadReportFigures(request);
        },
        plainRead);
    print("graphs' figures (read and summed)", charts.work);
    print("plain read of the archives", charts.reference);
    within &= !first || charts.work < 1000;
    printRatio("  ratio", charts.ratio);

    const std::string out = dir + "/csv";
    const double exportTime = median(first ? 3 : 1, [&] {
        RunExport({"csv", "--force", dir + "/", out}, 0);
    });
    const double python =
        medianPeer(first ? 3 : 1, "python3 " + peer + " " + dir + " " + dir + "/peer");
    print("zorvi-export csv", exportTime);
    printPeer("Python's csv module, the same rows (peer)", python);
    within &= printRatio("  Python / zorvi-export (at least 5)", python / exportTime);
    within &= python / exportTime >= 5;

    const std::string csvPath = writeImport(dir, ImportRows);
    const std::string bytes = slurp(csvPath);
    const double import = median(3, [&] {
        CsvFault fault;
        std::optional<CsvTable> table = ReadCsv(bytes, fault);
        ImportColumns columns;
        if (table) ImportPriceRows(*table, columns, {}, true);
    });
    const double lines = median(5, [&] {
        size_t count = 0;
        for (const char* p = bytes.data();
             (p = static_cast<const char*>(std::memchr(p, '\n', bytes.data() + bytes.size() - p)));
             ++p)
            ++count;
        if (count == 0) std::puts("no lines");
    });
    const double pythonRead =
        medianPeer(3, "python3 -c 'import csv,sys; sum(1 for _ in csv.reader(open(sys.argv[1], "
                      "newline=\"\"), delimiter=\";\"))' " +
                          csvPath);
    std::printf("Import of %d CSV rows\n", ImportRows);
    print("import into the editor's lines (at most 2000)", import);
    print("counting the file's lines", lines);
    print("Python's csv module reading it", pythonRead);
    within &= !first || import < 2000;

    std::filesystem::remove_all(dir);
    std::puts(within ? "within the limits" : "OUTSIDE the limits");
    ok = ok && within;
    return {{"graphs' figures (read and summed)", charts.work, true, 3},
            {"zorvi-export csv", exportTime},
            {"import into the editor's lines", import},
            {"  plain read of the archives (floor)", charts.reference, false},
            {"  Python's csv module, the same rows (peer)", python, false},
            {"  counting the CSV file's lines (floor)", lines, false},
            {"  Python's csv module reading it (peer)", pythonRead, false}};
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory();
    // The peer's script: the first argument that is not an option.
    std::string peer = "bench/export_peer.py";
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-') peer = argv[i];
    bool ok = true;
    const Figures first = runBench(peer, 1, Rows, ok);
    ok = alsoAtScale(argc, argv, first,
                     [&] { return runBench(peer, ScaleFactor, Rows * ScaleFactor, ok); }) &&
         ok;
    return ok ? 0 : 1;
}
