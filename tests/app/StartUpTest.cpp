#include "app/StartUp.h"
#include "store/Configuration.h"
#include "store/ProgramState.h"
#include "support/Fakes.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

TEST(StartUp, AFolderItCannotWriteIsSaidOnce) {
    TestDir dir;
    ::chmod(dir.path().c_str(), 0555);
    // Permissions do not stop root; a folder of the kernel's does.
    const std::string dataDir = ::geteuid() == 0 ? "/proc/" : dir.path();
    FakeServices fakes;
    ProgramState state;
    RunStartUp(state, fakes.services, dataDir);
    ::chmod(dir.path().c_str(), 0755);
    const std::string said = "Zorvi cannot write in its folder " + dataDir +
                             "\rNo sale can be recorded and no article found until it can.";
    const auto texts = fakes.dialogs.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), said), 1);
}

namespace {

// A shop where nothing is missing but what a test leaves out, an empty price
// list unless asked.
struct QuietShop {
    TestDir dir;
    FakeServices fakes;
    ProgramState state;
    explicit QuietShop(bool priceList = true) {
        if (priceList) dir.write("Pricelist.dat", "");
        for (const char* name : {"Hlpf.1", "Hlpf.2", "Hlpf.3", "Hlpf.4", "Hlpf.5", "Hlpf.6",
                                 "Hlpf.7", "Devcheck.exe", "Slipjet.exe"})
            dir.write(name, "");
        WriteConfiguration(dir.file("Configur.dat"), DefaultConfiguration());
        fakes.launcher.onRun = [this] { dir.write("Devcheck.dat", "Ok\r\n"); };
    }
    StartUpOutcome start() { return RunStartUp(state, fakes.services, dir.path()); }
};

const std::string SampleOffer =
    "A Pricelist was not found !\r\nCreate a Price list with a sample line 0?";

} // namespace

// The start offers a sample list when it finds none, and once more when there
// is still none; a list accepted only then serves from the next start.
TEST(StartUp, AMissingPriceListIsOfferedAtMostTwice) {
    using A = Dialogs::Answer;
    struct Case {
        std::deque<A> answers;
        size_t offers;
        bool listMade, workCopy;
    } cases[] = {
        {{A::Cancel, A::Cancel}, 2, false, false},
        {{A::Ok}, 1, true, true},
        {{A::Cancel, A::Ok}, 2, true, false},
    };
    for (const Case& c : cases) {
        QuietShop shop(false);
        shop.fakes.dialogs.answers = c.answers;
        const StartUpOutcome outcome = shop.start();
        EXPECT_EQ(shop.fakes.dialogs.texts(), std::vector<std::string>(c.offers, SampleOffer))
            << c.offers;
        EXPECT_EQ(shop.dir.exists("Pricelist.dat"), c.listMade) << c.offers;
        if (c.listMade) {
            EXPECT_EQ(shop.dir.read("Pricelist.dat"),
                      " SAMPLE___CODE Sample entry of an article       0.00       0.00  0\r\n");
        }
        EXPECT_EQ(shop.dir.exists("Pricelist.wrk"), c.workCopy) << c.offers;
        EXPECT_EQ(outcome.tradingDisabled, !c.workCopy) << c.offers;
    }
}

TEST(StartUp, APrinterTestThatCannotRunIsRetriedUntilTheOperatorGivesUp) {
    QuietShop shop;
    shop.fakes.launcher.startResult = 2;
    shop.fakes.launcher.onRun = nullptr;
    shop.fakes.dialogs.answers = {Dialogs::Answer::Retry, Dialogs::Answer::Cancel};
    shop.start();
    const std::string notFound =
        "The file " + shop.dir.file("Devcheck.exe") +
        " not found!\rPress \"Help\" and see the paragraph \"Instalation\".";
    EXPECT_EQ(shop.fakes.dialogs.texts(),
              (std::vector<std::string>{
                  notFound, notFound, "Printer problem :\r" + shop.dir.file("Devcheck.dat"),
                  "Printer not available.\rTo print dockets, press \"Docket + Yes\"."}));
    EXPECT_EQ(shop.fakes.launcher.waited.size(), 2u);
    EXPECT_FALSE(shop.state.flags.DocketAutoPrint);
}

TEST(StartUp, AStartRecordThatCannotBeWrittenStillLeavesTradingOffWithoutAPriceList) {
    QuietShop shop(false);
    const TestDir& dir = shop.dir;
    // A full disk: every write to the takings file fails.
    ASSERT_EQ(::symlink("/dev/full", dir.file("Results.dat").c_str()), 0);
    shop.fakes.dialogs.answers = {Dialogs::Answer::Cancel}; // no sample price list
    StartUpOutcome outcome;
    ASSERT_NO_THROW(outcome = shop.start());
    EXPECT_TRUE(outcome.tradingDisabled);
    EXPECT_EQ(outcome.dateText, "07/12/26");
    const auto texts = shop.fakes.dialogs.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "I/O error in file " + dir.path() +
                                "Results.dat\r\nWrite error (No space left on device): " +
                                dir.path() + "Results.dat");
}

// A power cut in the middle of a sale: its last line half written, the file
// grown by NUL bytes. The start ends the line, cuts the bytes, books the sale
// back and only then writes its own record.
TEST(StartUp, ASaleCutOffByAPowerCutIsCancelledBeforeTheStartRecord) {
    QuietShop shop;
    const std::string start = "* START of SALE   07/12/26 8:00:\r\n";
    const std::string bread =
        "A BREAD             2.00       1.10         2.25         2.25          4.50\r\n";
    shop.dir.write("Results.dat", start + bread + bread + "A MILK1      " + std::string(9, '\0'));
    shop.start();
    EXPECT_EQ(shop.dir.read("Results.dat"),
              start + bread + bread + "A MILK1      \r\n" +
                  "A BREAD            -2.00      -1.10        -2.25        -2.25         -4.50\r\n"
                  "A BREAD            -2.00      -1.10        -2.25        -2.25         -4.50\r\n"
                  "# Total*** 9:05    0.00     0.00     0.00             0.00        0.00        "
                  "0.00  0.00\r\n"
                  "* START of SALE   07/12/26 9:05:\r\n");
    const std::string file = shop.dir.file("Results.dat");
    EXPECT_EQ(shop.fakes.dialogs.texts(),
              (std::vector<std::string>{
                  "The takings file " + file +
                      " ended in 9 empty bytes left by a power cut; they are cut off.",
                  "The last line of the takings file " + file +
                      " was cut short by a power cut; it is ended, and the next record starts on "
                      "a line of its own.",
                  "The last sale was not finished (2 lines, $9.00); it is cancelled"}));
}

// The day's first start records the float, asked for only when the shop keeps one.
TEST(StartUp, TheFirstStartOfADayRecordsTheOpeningFloat) {
    QuietShop shop;
    shop.start();
    const std::string none =
        "O      1 07/12/26 9:05            0.00         0.00         0.00         0.00\r\n";
    EXPECT_EQ(shop.dir.read("Cashup.dat"), none);
    EXPECT_TRUE(shop.fakes.dialogs.texts().empty());

    QuietShop keeper;
    keeper.dir.write("Options.dat", "float=100\r\n");
    keeper.fakes.dialogs.typed = {"-5", "120.5"};
    keeper.start();
    const std::string ask =
        "Cash in the drawer to start the day: 100.00\rPress Enter to keep it, or type the amount "
        "there is.";
    EXPECT_EQ(keeper.fakes.dialogs.texts(),
              (std::vector<std::string>{ask,
                                        "The float takes an amount from 0 to 100000 with at "
                                        "most 2 decimals, or nothing, not \"-5\".",
                                        ask}));
    const std::string opening =
        "O      1 07/12/26 9:05          120.50       120.50       120.50         0.00\r\n";
    EXPECT_EQ(keeper.dir.read("Cashup.dat"), opening);
    // A second start the same day asks nothing and adds nothing.
    keeper.fakes.dialogs.shown.clear();
    keeper.start();
    EXPECT_TRUE(keeper.fakes.dialogs.texts().empty());
    EXPECT_EQ(keeper.dir.read("Cashup.dat"), opening);
}

// Taxes.dat is read at start; a faulty one is named line by line and not used.
TEST(StartUp, TaxClassesAreTakenOrRefusedWithTheirLines) {
    struct Case {
        const char* file;
        double breadRate;
        std::vector<std::string> said;
    };
    const std::string intro = "The tax classes in ";
    const Case cases[] = {
        {"=R  5.00\r\nBREAD         R\r\n", 5, {}},
        {"=R 105.00\r\nBREAD         R\r\n", 10, {"line 1", "line 2"}},
        {"=R  5.00\r\nBREAD         R\r\nBREAD         R\r\n", 10, {"line 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        QuietShop shop;
        shop.dir.write("Taxes.dat", c.file);
        shop.start();
        EXPECT_EQ(shop.state.taxes.rateOf("BREAD", 10), c.breadRate);
        const std::vector<std::string> texts = shop.fakes.dialogs.texts();
        if (c.said.empty()) {
            EXPECT_TRUE(texts.empty());
            continue;
        }
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].rfind(intro + shop.dir.file("Taxes.dat"), 0), 0u) << texts[0];
        for (const std::string& line : c.said)
            EXPECT_NE(texts[0].find("\r" + line + ": "), std::string::npos) << texts[0];
    }
}
