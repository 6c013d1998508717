#include "store/Configuration.h"
#include "support/Fakes.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

std::string repeatLine(const std::string& line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += line + "\r\n";
    return out;
}

const std::string DefaultLabels = "Total\r\n"
                                  "Subtotal\r\n"
                                  "Tax\r\n"
                                  "-Rounding\r\n"
                                  "Cash paid\r\n"
                                  "Change\r\n"
                                  "Credit Tender\r\n"
                                  "Cheque Tender\r\n"
                                  "Cash Tender\r\n"
                                  "Credit Refund\r\n"
                                  "Cheque Refund\r\n"
                                  "Cash refund\r\n"
                                  "Served by\r\n";

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

TEST(Configuration, DefaultsAreWrittenInTheFortyFiveLineLayout) {
    TestDir dir;
    ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), DefaultConfiguration()));
    EXPECT_EQ(dir.read("Configur.dat"), DefaultFile);
}

TEST(Configuration, RatesAreWrittenWithFiveColumnsAndPushTheLineWhenWider) {
    struct Case {
        double tax;
        std::string line8;
    };
    const Case cases[] = {
        {5, "?? N   40   5     0      5.00      0.00   0.00   0.00"},
        {17.5, "?? N   40   5     0     17.50      0.00   0.00   0.00"},
        {100, "?? N   40   5     0     100.00      0.00   0.00   0.00"},
    };
    for (const Case& c : cases) {
        TestDir dir;
        Configuration config = DefaultConfiguration();
        config.TaxRate = c.tax;
        ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), config));
        EXPECT_EQ(dir.read("Configur.dat"), withLine8(c.line8)) << c.tax;

        Configuration back;
        FakeDialogs dialogs;
        ASSERT_TRUE(ReadConfiguration(dir.file("Configur.dat"), back, dialogs));
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_DOUBLE_EQ(back.TaxRate, c.tax);
        EXPECT_EQ(back.PrintWidth, 40);
        EXPECT_EQ(back.LabelServedBy, "Served by");
    }
}

TEST(Configuration, EveryValueReadsBack) {
    TestDir dir;
    Configuration c = DefaultConfiguration();
    c.SalesPersonCode = {"J", "K", "L", "M", "N"};
    c.SalesPersonName = {"Anna", "Benjamin9", "C", "D", ""};
    c.DisplayPort = "COM2";
    c.DisplayWidth = 20;
    c.DrawerPort = "COM1";
    c.Denomination = "05";
    c.Rounding = "r";
    c.PrintWidth = 34;
    c.PushOut = 0;
    c.LowStockPercent = 15;
    c.TaxRate = 12.5;
    c.DiscountLow = 5;
    c.DiscountMed = 10;
    c.DiscountHigh = 25.25;
    c.DocketCode[1] = "27,33,48";
    c.DocketText[1] = "Corner Store";
    c.DocketRelease[5] = "27,64";
    c.DocketText[9] = std::string(255, 'x');
    c.LabelCashRefund = "Cash back";
    ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), c));
    Configuration back;
    FakeDialogs dialogs;
    ASSERT_TRUE(ReadConfiguration(dir.file("Configur.dat"), back, dialogs));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(back.SalesPersonCode, c.SalesPersonCode);
    EXPECT_EQ(back.SalesPersonName, c.SalesPersonName);
    EXPECT_EQ(back.DisplayPort, "COM2");
    EXPECT_EQ(back.DisplayWidth, 20);
    EXPECT_EQ(back.DrawerPort, "COM1");
    EXPECT_EQ(back.Denomination, "05");
    EXPECT_EQ(back.Rounding, "r");
    EXPECT_EQ(back.PrintWidth, 34);
    EXPECT_EQ(back.PushOut, 0);
    EXPECT_EQ(back.LowStockPercent, 15);
    EXPECT_DOUBLE_EQ(back.DiscountHigh, 25.25);
    EXPECT_EQ(back.DocketCode, c.DocketCode);
    EXPECT_EQ(back.DocketText, c.DocketText);
    EXPECT_EQ(back.DocketRelease, c.DocketRelease);
    EXPECT_EQ(back.LabelCashRefund, "Cash back");
}

TEST(Configuration, ShortFixedWidthValuesAreFilledToTheirWidths) {
    TestDir dir;
    Configuration c = DefaultConfiguration();
    c.SalesPersonCode[0] = "";
    c.SalesPersonName[0] = "Bob";
    c.Denomination = "5";
    c.Rounding = "R";
    c.DrawerPort = "COM";
    c.DisplayPort = "";
    ASSERT_TRUE(WriteConfiguration(dir.file("Configur.dat"), c));
    std::string file = dir.read("Configur.dat");
    EXPECT_EQ(file.substr(0, 6), " Bob\r\n");
    EXPECT_NE(file.find("\r\n      0\r\n"
                        "COM      currency-rounding-prnwidth-pushout-stock-tax-discount l m h\r\n"
                        "5  R   40   5     0"),
              std::string::npos);

    Configuration back;
    FakeDialogs dialogs;
    ASSERT_TRUE(ReadConfiguration(dir.file("Configur.dat"), back, dialogs));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(back.SalesPersonCode[0], "");
    EXPECT_EQ(back.SalesPersonName[0], "Bob");
    EXPECT_EQ(back.Denomination, "5 ");
    EXPECT_EQ(back.Rounding, "R");
    EXPECT_EQ(back.DrawerPort, "COM ");
    EXPECT_EQ(back.DisplayPort, "    ");
    EXPECT_EQ(back.PrintWidth, 40);
}

TEST(Configuration, NumbersOutsideTheirRangeMakeTheLineFaulty) {
    const std::pair<std::string, bool> lines8[] = {
        {"?? N   20   0     0      0.00      0.00   0.00   0.00", false},
        {"?? N  255  99   100    100.00    100.00 100.00 100.00", false},
        {"?? N   19   5     0      0.00      0.00   0.00   0.00", true},
        {"?? N   40   100     0      0.00      0.00   0.00   0.00", true},
        {"?? N   40   99999999999     0      0.00      0.00   0.00   0.00", true},
        {"?? N   40   5   101      0.00      0.00   0.00   0.00", true},
        {"?? N   40   5     0     -1.00      0.00   0.00   0.00", true},
        {"?? N   40   5     0      0.00      0.00   0.00 100.01", true},
    };
    TestDir dir;
    for (auto [line8, faulty] : lines8) {
        dir.write("Configur.dat", withLine8(line8));
        Configuration c;
        FakeDialogs dialogs;
        ReadConfiguration(dir.file("Configur.dat"), c, dialogs);
        EXPECT_EQ(dialogs.shown.size(), faulty ? 1u : 0u) << line8;
        EXPECT_EQ(c.LabelTotal, faulty ? "" : "Total") << line8;
    }
    std::string wideDisplay = DefaultFile;
    dir.write("Configur.dat", wideDisplay.replace(wideDisplay.find("COM0  0"), 7, "COM0  81"));
    FakeDialogs dialogs;
    Configuration c;
    ReadConfiguration(dir.file("Configur.dat"), c, dialogs);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Faulty file Configur.dat!"});
    EXPECT_EQ(c.DisplayWidth, 0);
}

TEST(Configuration, AFaultyLineEndsTheReadingAndKeepsWhatWasRead) {
    TestDir dir;
    dir.write("Configur.dat", withLine8("?? N   4x   5     0      0.00      0.00   0.00   0.00"));
    Configuration c;
    c.PushOut = 77;
    c.DocketText[1] = "before";
    c.LabelTotal = "before";
    FakeDialogs dialogs;
    ASSERT_TRUE(ReadConfiguration(dir.file("Configur.dat"), c, dialogs));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Faulty file Configur.dat!"});
    EXPECT_EQ(c.SalesPersonName[4], "E");
    EXPECT_EQ(c.Denomination, "??");
    EXPECT_EQ(c.Rounding, "N");
    EXPECT_EQ(c.PushOut, 77);
    EXPECT_EQ(c.DocketText[1], "before");
    EXPECT_EQ(c.LabelTotal, "before");
}

TEST(Configuration, AMissingFileChangesNothing) {
    TestDir dir;
    Configuration c;
    c.PrintWidth = 12;
    FakeDialogs dialogs;
    EXPECT_FALSE(ReadConfiguration(dir.file("Configur.dat"), c, dialogs));
    EXPECT_EQ(c.PrintWidth, 12);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(Configuration, ATruncatedFileIsReportedAtEveryLengthButTheFullOne) {
    TestDir dir;
    for (size_t cut = 0; cut < DefaultFile.size(); ++cut) {
        dir.write("Configur.dat", DefaultFile.substr(0, cut));
        Configuration c;
        FakeDialogs dialogs;
        ASSERT_TRUE(ReadConfiguration(dir.file("Configur.dat"), c, dialogs));
        // Only a cut inside the last line's text or its line end can pass unnoticed.
        bool inLastLine = cut >= DefaultFile.size() - std::string("Served by\r\n").size() + 1;
        if (!inLastLine) {
            EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Faulty file Configur.dat!"})
                << "cut at " << cut;
        }
        if (cut > 2) {
            EXPECT_EQ(c.SalesPersonCode[0], "A");
        }
    }
}

TEST(Configuration, GarbageLongLinesAndBareLineFeedsNeverCrash) {
    TestDir dir;
    std::string garbage;
    for (int i = 0; i < 4000; ++i)
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    std::string longLines = repeatLine(std::string(300, 'Q'), 50);
    std::string bareLf = DefaultFile;
    for (size_t at; (at = bareLf.find("\r\n")) != std::string::npos;)
        bareLf.erase(at, 1);

    for (const std::string& content : {garbage, longLines}) {
        dir.write("Configur.dat", content);
        Configuration c;
        FakeDialogs dialogs;
        ASSERT_TRUE(ReadConfiguration(dir.file("Configur.dat"), c, dialogs));
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Faulty file Configur.dat!"});
    }
    dir.write("Configur.dat", bareLf);
    Configuration c;
    FakeDialogs dialogs;
    ASSERT_TRUE(ReadConfiguration(dir.file("Configur.dat"), c, dialogs));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(c.LabelServedBy, "Served by");
    EXPECT_EQ(c.PrintWidth, 40);
}

TEST(Configuration, DerivedSwitches) {
    struct Case {
        std::string rounding;
        double tax;
        long stock, width;
        bool roundingOn, taxOn, inventoryOn;
        long extra;
    };
    const Case cases[] = {
        {"r", 0, 0, 30, true, false, false, 0},
        {"R", 0.01, 1, 40, true, true, true, 6},
        {"N", 5, 0, 34, false, true, false, 0},
        {" ", -1, -3, 39, false, false, false, 5},
    };
    for (const Case& k : cases) {
        Configuration c;
        c.Rounding = k.rounding;
        c.TaxRate = k.tax;
        c.LowStockPercent = k.stock;
        c.PrintWidth = k.width;
        DeriveSwitches(c);
        EXPECT_EQ(c.RoundingOn, k.roundingOn);
        EXPECT_EQ(c.TaxOn, k.taxOn);
        EXPECT_EQ(c.InventoryOn, k.inventoryOn);
        EXPECT_EQ(c.DocketExtraWidth, k.extra);
    }
}
