#include "store/Configuration.h"
#include "support/CaseTable.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string repeatLine(const std::string& line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += line + "\r\n";
    return out;
}

const std::string DefaultLabels = crlf(
    {"Total", "Subtotal", "Tax", "-Rounding", "Cash paid", "Change", "Credit Tender",
     "Cheque Tender", "Cash Tender", "Credit Refund", "Cheque Refund", "Cash refund", "Served by"});

const std::string DefaultFile =
    "AA\r\nBB\r\nCC\r\nDD\r\nEE\r\n"
    "COM0  0\r\n"
    "COM0     currency-rounding-prnwidth-pushout-stock-tax-discount l m h\r\n"
    "?? N   40   5     0      0.00      0.00   0.00   0.00\r\n" +
    repeatLine("?", 24) + DefaultLabels;

std::string withLine8(const std::string& line8) {
    std::string file = DefaultFile;
    auto start = file.find("?? N");
    auto end = file.find("\r\n", start);
    return file.replace(start, end - start, line8);
}

} // namespace

// Whatever is written reads back to the very same file; the defaults fill the
// forty-five line layout. Rates take five
// columns and push the line when wider; short texts are filled to their widths.
TEST(Configuration, WrittenValuesReadBackUnchanged) {
    Configuration every = DefaultConfiguration();
    every.SalesPersonCode = {"J", "K", "L", "M", "N"};
    every.SalesPersonName = {"Anna", "Benjamin9", "C", "D", ""};
    every.DisplayPort = "COM2";
    every.DisplayWidth = 20;
    every.DrawerPort = "PRN1";
    every.Denomination = "05";
    every.Rounding = "r";
    every.PrintWidth = 34;
    every.PushOut = 0;
    every.LowStockPercent = 15;
    every.TaxRate = 12.5;
    every.DiscountLow = 5;
    every.DiscountMed = 10;
    every.DiscountHigh = 25.25;
    every.DocketCode[1] = "27,33,48";
    every.DocketText[1] = "Corner Store";
    every.DocketRelease[5] = "27,64";
    every.DocketText[9] = std::string(255, 'x');
    every.LabelCashRefund = "Cash back";
    Configuration shortValues = DefaultConfiguration();
    shortValues.SalesPersonCode[0] = "";
    shortValues.SalesPersonName[0] = "Bob";
    shortValues.Denomination = "5";
    shortValues.Rounding = "R";
    shortValues.DrawerPort = "COM";
    shortValues.DisplayPort = "";
    std::string shortFile = withLine8("5  R   40   5     0      0.00      0.00   0.00   0.00");
    shortFile.replace(0, 2, " Bob").replace(shortFile.find("COM0  0"), 7, "      0");
    shortFile.replace(shortFile.find("COM0 "), 4, "COM ");

    struct Case {
        Configuration config;
        std::string file; // empty: the round trip alone
    };
    std::vector<Case> cases = {
        {DefaultConfiguration(), DefaultFile}, {every, ""}, {shortValues, shortFile}};
    for (auto [tax, line8] :
         {std::pair{5.0, "?? N   40   5     0      5.00      0.00   0.00   0.00"},
          {17.5, "?? N   40   5     0     17.50      0.00   0.00   0.00"},
          {100.0, "?? N   40   5     0     100.00      0.00   0.00   0.00"}}) {
        cases.push_back({DefaultConfiguration(), withLine8(line8)});
        cases.back().config.TaxRate = tax;
    }
    TestDir dir;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), c.config));
        const std::string written = dir.read("Configur.dat");
        if (!c.file.empty()) {
            EXPECT_EQ(written, c.file);
        }
        Configuration back;
        ConfigurationReading reading = ReadConfiguration(dir.file("Configur.dat"), back);
        ASSERT_TRUE(reading.found);
        EXPECT_TRUE(reading.notices.empty());
        ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), back));
        EXPECT_EQ(dir.read("Configur.dat"), written) << written;
    }
}

TEST(Configuration, NumbersOutsideTheirRangeMakeTheLineFaulty) {
    TestDir dir;
    for (const TestCase& k : ReadTable("store/configuration-line8.table")) {
        dir.write("Configur.dat", withLine8(k["line8"]));
        Configuration c;
        EXPECT_EQ(ReadConfiguration(dir.file("Configur.dat"), c).notices.size(),
                  k.flag("faulty") ? 1u : 0u)
            << k.where;
        EXPECT_EQ(c.LabelTotal, k.flag("faulty") ? "" : "Total") << k.where;
    }
    std::string wideDisplay = DefaultFile;
    dir.write("Configur.dat", wideDisplay.replace(wideDisplay.find("COM0  0"), 7, "COM0  81"));
    Configuration c;
    EXPECT_EQ(noticeTexts(ReadConfiguration(dir.file("Configur.dat"), c).notices),
              std::vector<std::string>{"Faulty file Configur.dat!"});
    EXPECT_EQ(c.DisplayWidth, 0);
}

TEST(Configuration, AFaultyLineEndsTheReadingAndKeepsWhatWasRead) {
    TestDir dir;
    dir.write("Configur.dat", withLine8("?? N   4x   5     0      0.00      0.00   0.00   0.00"));
    Configuration c;
    c.PushOut = 77;
    c.LabelTotal = "before";
    ConfigurationReading reading = ReadConfiguration(dir.file("Configur.dat"), c);
    ASSERT_TRUE(reading.found);
    EXPECT_EQ(noticeTexts(reading.notices), std::vector<std::string>{"Faulty file Configur.dat!"});
    EXPECT_EQ(c.SalesPersonName[4], "E");
    EXPECT_EQ(c.Denomination, "??");
    EXPECT_EQ(c.Rounding, "N");
    EXPECT_EQ(c.PushOut, 77);
    EXPECT_EQ(c.LabelTotal, "before");

    // A missing file is not found, quietly: start-up tells the operator itself.
    std::filesystem::remove(dir.file("Configur.dat"));
    reading = ReadConfiguration(dir.file("Configur.dat"), c);
    EXPECT_FALSE(reading.found);
    EXPECT_TRUE(reading.notices.empty());
    EXPECT_EQ(c.LabelTotal, "before");
}

TEST(Configuration, ATruncatedOrGarbledFileIsReportedAndNeverCrashes) {
    TestDir dir;
    for (size_t cut = 0; cut < DefaultFile.size(); ++cut) {
        dir.write("Configur.dat", DefaultFile.substr(0, cut));
        Configuration c;
        ConfigurationReading reading = ReadConfiguration(dir.file("Configur.dat"), c);
        ASSERT_TRUE(reading.found);
        // Only a cut inside the last line's text or its line end can pass unnoticed.
        bool inLastLine = cut >= DefaultFile.size() - std::string("Served by\r\n").size() + 1;
        if (!inLastLine) {
            EXPECT_EQ(noticeTexts(reading.notices),
                      std::vector<std::string>{"Faulty file Configur.dat!"})
                << "cut at " << cut;
        }
        if (cut > 2) {
            EXPECT_EQ(c.SalesPersonCode[0], "A");
        }
    }
    // Garbage, long lines and bare line feeds never crash.
    std::string garbage;
    for (int i = 0; i < 4000; ++i)
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    std::string longLines = repeatLine(std::string(300, 'Q'), 50);
    std::string bareLf = DefaultFile;
    for (size_t at; (at = bareLf.find("\r\n")) != std::string::npos;)
        bareLf.erase(at, 1);

    for (const std::string& content : {garbage, longLines, bareLf}) {
        dir.write("Configur.dat", content);
        Configuration c;
        ConfigurationReading reading = ReadConfiguration(dir.file("Configur.dat"), c);
        ASSERT_TRUE(reading.found);
        const bool faulty = content != bareLf;
        EXPECT_EQ(reading.notices.size(), faulty ? 1u : 0u);
        EXPECT_EQ(c.LabelServedBy, faulty ? "" : "Served by");
    }
}

TEST(Configuration, DerivedSwitches) {
    for (const TestCase& k : ReadTable("store/derived-switches.table")) {
        SCOPED_TRACE(k.where);
        Configuration c;
        c.Rounding = k["rounding"];
        c.TaxRate = k.number("tax");
        c.LowStockPercent = static_cast<long>(k.number("stock"));
        c.PrintWidth = static_cast<long>(k.number("width"));
        DeriveSwitches(c);
        EXPECT_EQ(c.RoundingOn, k.flag("roundingOn"));
        EXPECT_EQ(c.TaxOn, k.flag("taxOn"));
        EXPECT_EQ(c.InventoryOn, k.flag("inventoryOn"));
        EXPECT_EQ(c.DocketExtraWidth, static_cast<long>(k.number("extra")));
    }
}
