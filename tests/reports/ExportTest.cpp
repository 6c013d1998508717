#include "reports/CsvExport.h"
#include "reports/ExportCommand.h"
#include "reports/ReportFigures.h"
#include "support/CaseTable.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

// The takings file's records, laid out column by column.
std::string lineRecord(char marker, const char* code, double qty, double wholesale, double list,
                       double unit, double amount) {
    char text[128];
    std::snprintf(text, sizeof text, "%c %-13s %8.2f %10.2f %12.2f %12.2f %13.2f", marker, code,
                  qty, wholesale, list, unit, amount);
    return text;
}

std::string totalRecord(const char* clock, double cash, double cheque, double credit, double tax,
                        double total, double received, double change) {
    char text[128];
    std::snprintf(text, sizeof text, "# Total***%5s %7.2f %8.2f %8.2f%10s%7.2f %11.2f %11.2f %5.2f",
                  clock, cash, cheque, credit, "", tax, total, received, change);
    return text;
}

const std::string Start = "* START of SALE   30.11.26 08:5";

// Two archived days and the live day: a sale with a service and an expense;
// a line never paid, then a sale on credit; a refund under an awkward code.
void writeShop(const TestDir& dir) {
    dir.write("Res2026Nov.30", crlf({Start, lineRecord('A', "ART1", 3, 0.05, 0.10, 0.10, 0.30),
                                     lineRecord('a', "/SERV", 1, 0, 0.20, 0.20, 0.20),
                                     totalRecord("9:05", 0.50, 0, 0, 0, 0.50, 1.00, 0.50),
                                     lineRecord('$', "EXP1", 0, 0, 0, -40, -40),
                                     totalRecord("9:10", 0, 0, 0, 0, -40, -40, 0)}));
    dir.write("res2026dez.01", crlf({Start, lineRecord('B', "ART1", 1, 0.05, 0.10, 0.10, 0.10),
                                     Start, lineRecord('B', "ART2", 2, 0.30, 0.70, 0.70, 1.40),
                                     totalRecord("14:30", 0, 0, 1.40, 0, 1.40, 1.40, 0)}));
    dir.write("Results.dat",
              crlf({Start, lineRecord('A', "ART,\"Q\"", -1, -0.05, -0.10, -0.10, -0.10),
                    totalRecord("10:00", -0.10, 0, 0, 0, -0.10, -0.10, 0)}));
    dir.write("Spersons.dat", crlf({"*         07/12/26          Services                 Sales",
                                    "A   Ann              1.00        0.20        2.00        0.20",
                                    "B   Bob              oops"}));
}

std::vector<std::string> exportArgs(const TestDir& shop, const std::string& kind,
                                    const std::string& out, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{kind};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(shop.path());
    args.push_back(out);
    return args;
}

constexpr DayNumber Today = 20261207;

} // namespace

TEST(CsvExport, FieldsAreQuotedOnlyWhereTheyMustBe) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ART1", "ART1"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\n", "\"lf\n\""},
        {" padded ", " padded "},
    };
    for (const auto& [field, expected] : cases) {
        std::string out;
        AppendCsvField(out, field);
        EXPECT_EQ(out, expected) << field;
    }
}

TEST(CsvExport, EachRecordIsARowNamingItsFileAndLine) {
    TestDir shop;
    writeShop(shop);
    TestDir out("zo");
    const ExportResult result = RunExport(exportArgs(shop, "csv", out.path()), Today);
    // The faulty sales person line is named and left out; the rest is written.
    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0], "Line 3 of Spersons.dat cannot be read. It is left out.");
    const TestCase expected = ReadCases("reports/shop-export.cases").at(0);
    for (const char* csv : {"sales.csv", "expenses.csv", "sales-persons.csv"})
        EXPECT_EQ(out.read(csv), expected.crlf(csv)) << csv;
    const std::string lines = out.read("sales-lines.csv");
    for (const std::string& row : expected.lines("among sales-lines.csv"))
        EXPECT_NE(lines.find(row + "\r\n"), std::string::npos) << row;

    // A second export into the same folder replaces nothing unasked.
    const ExportResult again = RunExport(exportArgs(shop, "csv", out.path()), Today);
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.errors[0].find("add --force"), std::string::npos);
    EXPECT_EQ(RunExport(exportArgs(shop, "csv", out.path(), {"--force"}), Today).status, 1);
}

TEST(ReportFigures, TotalsAreTheSumsOfTheRecordsToTheCent) {
    struct Case {
        std::vector<std::string> range;
        std::string takings, expenses, net;
        size_t sales, refunds;
    };
    const std::vector<Case> cases = {
        {{}, "1.80", "40.00", "-38.20", 2, 1},
        {{"--from", "2026-12-01", "--to", "2026-12-01"}, "1.40", "0.00", "1.40", 1, 0},
        {{"--from", "2026-12-02"}, "-0.10", "0.00", "-0.10", 0, 1},
        {{"--to", "2026-11-29"}, "0.00", "0.00", "0.00", 0, 0},
    };
    TestDir shop;
    writeShop(shop);
    for (const Case& c : cases) {
        TestDir out("zh");
        ASSERT_EQ(RunExport(exportArgs(shop, "html", out.file("r.html"), c.range), Today).status,
                  1);
        const std::string html = out.read("r.html");
        EXPECT_NE(html.find("<th>Takings</th><td class=\"n\">" + c.takings + "</td>"),
                  std::string::npos)
            << html;
        EXPECT_NE(html.find("<th>Expenses</th><td class=\"n\">" + c.expenses + "</td>"),
                  std::string::npos);
        EXPECT_NE(html.find("<th>Net</th><td class=\"n\">" + c.net + "</td>"), std::string::npos);
        EXPECT_EQ(html.find(NoSalesText) != std::string::npos, c.sales + c.refunds == 0);
    }

    // Ten sales of 0.10 and 0.20: summed as doubles they miss 3.00.
    TestDir many;
    std::string records = Start + "\r\n";
    for (int i = 0; i < 10; ++i)
        records += crlf({lineRecord('A', "ART1", 1, 0, 0.10, 0.10, 0.10),
                         lineRecord('B', "ART2", 1, 0, 0.20, 0.20, 0.20),
                         totalRecord("11:59", 0.30, 0, 0, 0, 0.30, 0.30, 0)});
    many.write("Res2026Dez.02", records);
    const ReportFigures f = ReadReportFigures({many.path(), {}, Today, {}});
    EXPECT_EQ(CentsText(f.totals.takings), "3.00");
    EXPECT_EQ(CentsText(f.totals.cash), "3.00");
    EXPECT_EQ(CentsText(f.perHour[11]), "3.00");
    ASSERT_EQ(f.perDay.size(), 1u);
    EXPECT_EQ(CentsText(f.perDay[0].value), "3.00");
    ASSERT_EQ(f.perPerson.size(), 2u);
    EXPECT_EQ(CentsText(f.perPerson[0].value) + " " + CentsText(f.perPerson[1].value), "1.00 2.00");
    ASSERT_EQ(f.topByAmount.size(), 2u);
    EXPECT_EQ(f.topByAmount[0].label, "ART2");
    EXPECT_EQ(CentsText(f.topByQuantity[0].value), "10.00");
}

TEST(ReportFigures, ThePeriodStartsAfterTheLastPeriodEnd) {
    TestDir shop;
    writeShop(shop);
    auto cents = [](const std::vector<ChartBar>& bars, const std::vector<long long>& balance) {
        std::string text;
        for (size_t i = 0; i < bars.size(); ++i)
            text +=
                bars[i].label + " " + CentsText(bars[i].value) + " " + CentsText(balance[i]) + ";";
        return text;
    };
    // Before the first period end every day is the period's; the expense of
    // 40.00 on the first day runs through the balance.
    ReportFigures f = ReadReportFigures({shop.path(), {}, Today, {}});
    EXPECT_EQ(cents(f.periodDays, f.periodBalance),
              "2026-11-30 0.50 -39.50;2026-12-01 1.40 -38.10;2026-12-07 -0.10 -38.20;");
    ASSERT_EQ(f.perMonth.size(), 12u);
    EXPECT_EQ(cents(f.perMonth, f.monthBalance).substr(0, 20), "Jan 2026 0.00 0.00;F");
    EXPECT_EQ(f.perMonth[10].label + " " + CentsText(f.perMonth[10].value) + " " +
                  CentsText(f.monthBalance[10]) + " " + CentsText(f.perMonth[11].value) + " " +
                  CentsText(f.monthBalance[11]),
              "Nov 2026 0.50 -39.50 1.30 -38.20");

    // A period end after the first day: one consolidation since (the
    // archive of 1 December) and the live day make the period.
    shop.write("Balance.dat", crlf({"BALANCE SHEET      Nov2026", "CASH TOTAL           0.50"}));
    shop.write("Daybyday.dat", crlf({"* START of SALE   01.12.26 08:5    ***   01.12.26",
                                     "#  1.0  0.05  0.10  0.10  0.00  0.00  1.40",
                                     "&  0.00  0.00  1.40  0.00  1.40  "}));
    f = ReadReportFigures({shop.path(), {}, Today, {}});
    EXPECT_EQ(cents(f.periodDays, f.periodBalance), "2026-12-01 1.40 1.40;2026-12-07 -0.10 1.30;");
    // The day-by-day lines take the date of the archive their run made.
    TestDir out("zd");
    RunExport(exportArgs(shop, "csv", out.path()), Today);
    const std::string days = out.read("days.csv");
    EXPECT_NE(days.find("\r\nDaybyday.dat,3,2026-12-01,amounts,01.12.26,,,,,,,,0.00,0.00,1.40,"
                        "0.00,1.40\r\n"),
              std::string::npos)
        << days;
    // The other charts still cover every day.
    EXPECT_EQ(CentsText(f.perHour[9]) + " " + CentsText(f.perHour[14]) + " " +
                  CentsText(f.perHour[10]),
              "0.50 1.40 -0.10");
}

TEST(CsvExport, ClosedPeriodsArchivesAreRowsOfTheirKind) {
    for (const TestCase& c : ReadCases("reports/archives.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        TestDir shop;
        shop.write(c["file"], c.crlf("input"));
        TestDir out("za");
        std::vector<std::string> range;
        std::istringstream words(c.get("range", ""));
        for (std::string word; words >> word;)
            range.push_back(word);
        const ExportResult result = RunExport(exportArgs(shop, "csv", out.path(), range), Today);
        EXPECT_EQ(result.status, 0) << (result.errors.empty() ? "" : result.errors[0]);
        const std::string csv = out.read(c["csv"]);
        if (c.sections.count("csv"))
            EXPECT_EQ(csv, c.crlf("csv"));
        else
            EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1) << csv;
    }
}
