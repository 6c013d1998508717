#include "app/MainScreen.h"
#include "app/StartUp.h"
#include "platform/QtPaths.h"
#include "sales/SalesScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

struct MainScreenFixture : ProgramFixture {
    explicit MainScreenFixture(const std::string& leaf = "shop") : ProgramFixture(leaf) {
        dir.write("hlpf.7", "Main help\r\nline two\r\n");
    }
    std::vector<bool> trading() {
        return {probe::enabled(&main(), "saleButton"), probe::enabled(&main(), "docketButton"),
                probe::enabled(&main(), "expenseButton")};
    }
};

const std::string NoPrinter = "Printer not available.\rTo print dockets, press \"Docket + Yes\".";

} // namespace

const std::string SampleOffer =
    "A Pricelist was not found !\r\nCreate a Price list with a sample line 0?";
const std::string SampleLine =
    " SAMPLE___CODE Sample entry of an article       0.00       0.00  0\r\n";

std::string printerProblem(const TestDir& dir) {
    return "Printer problem :\r" + dir.path() + "Devcheck.dat";
}

TEST(MainScreen, StartsWithoutConfigurationOrPriceListAndKeepsTradingOff) {
    MainScreenFixture f;
    // A work copy left from an earlier list sells nothing once the list is gone.
    f.dir.write("Pricelist.wrk", "x\r\n");
    f.start();
    EXPECT_EQ(f.dialogs.texts(),
              (std::vector<std::string>{
                  "The configur file Configur.dat not found.\r\nPress the Update button(s) and "
                  "configure Zorvi.",
                  printerProblem(f.dir), NoPrinter, SampleOffer, SampleOffer}));
    EXPECT_EQ(f.trading(), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(probe::enabled(&f.main(), "exitButton"));
    EXPECT_EQ(probe::text(&f.main(), "dateLabel"), "07/12/26");
    EXPECT_EQ(f.dir.read("Results.dat"), "* START of SALE   07/12/26 9:05:\r\n");
    EXPECT_FALSE(f.dir.exists("Pricelist.dat"));
    EXPECT_FALSE(f.dir.exists("Pricelist.wrk"));
}

TEST(MainScreen, AcceptedSampleOfferGivesAWorkCopyAndTrading) {
    MainScreenFixture f;
    f.writeConfiguration(f.config);
    f.printerReady();
    f.dialogs.answers = {Dialogs::Answer::Ok};
    f.start();
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{SampleOffer});
    EXPECT_EQ(f.dir.read("Pricelist.wrk"),
              " SAMPLE___CODE Sample entry of an article       0.00       0.00     0    0\r\n");
    EXPECT_EQ(f.trading(), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(f.program->state.flags.DocketAutoPrint);
    EXPECT_EQ(f.launcher.started, std::vector<std::string>{f.dir.path() + "Slipjet.exe"});
}

// The price list's compaction and work copy are PriceList's to check.
TEST(MainScreen, StartWritesTheStartRecordAfterTheEarlierDay) {
    MainScreenFixture f;
    f.writeConfiguration(f.config);
    f.dir.write("Pricelist.dat", SampleLine);
    f.dir.write("Results.dat", "earlier\r\n");
    f.clock.time = {2026, 12, 7, 14, 30, 0};
    f.start();
    EXPECT_EQ(f.dialogs.texts(), (std::vector<std::string>{printerProblem(f.dir), NoPrinter}));
    EXPECT_EQ(f.trading(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(probe::text(&f.main(), "timeLabel"), "14:30");
    EXPECT_EQ(f.dir.read("Results.dat"), "earlier\r\n* START of SALE   07/12/26 14:30\r\n");
    EXPECT_EQ(f.main().pos(), QPoint(1, 1));
}

TEST(MainScreen, ReportsMissingCompanionFilesAndAWideScreen) {
    MainScreenFixture f;
    f.writeConfiguration(f.config);
    f.dir.write("Pricelist.dat", SampleLine);
    f.printerReady();
    std::remove(f.dir.file("hlpf.3").c_str());
    std::remove(f.dir.file("Slipjet.exe").c_str());
    f.screenInfo.w = 800;
    f.start();
    EXPECT_EQ(f.dialogs.texts(),
              (std::vector<std::string>{
                  "The file Hlpf.3 not found.\rZorvi will not run without this file.",
                  "The file Slipjet.exe not found.\rZorvi will not run without this file.",
                  "The best display settings for ZORVI are: \r640 x 480 and the standard font, "
                  "or\r800 x 600 and the large or small font.",
                  "Printer not ready! Errorcode=2"}));
    EXPECT_EQ(f.main().pos(), QPoint(88, 74));
}

TEST(MainScreen, ScreensDrawnLargerOpenAtTheTopLeftWithoutAdvice) {
    MainScreenFixture f;
    f.writeConfiguration(f.config);
    f.dir.write("Pricelist.dat", SampleLine);
    f.printerReady();
    f.screenInfo.w = 960;
    f.screenInfo.h = 540;
    f.screenInfo.factor = 2;
    f.start();
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{});
    EXPECT_EQ(f.main().pos(), QPoint(1, 1));
}

TEST(MainScreen, ALongFolderNameDisablesThePrinter) {
    MainScreenFixture f("longfoldername");
    f.writeConfiguration(f.config);
    f.start();
    ASSERT_FALSE(f.dialogs.texts().empty());
    EXPECT_EQ(f.dialogs.texts()[0], "Warning: Incorrect installation!  " + f.dir.path() +
                                        "\rThe docket printer is disabled.\rIf you need the "
                                        "printer, then reinstall ZORVI as recommended in the "
                                        "Manual.");
    EXPECT_TRUE(f.program->state.flags.PrinterDisabled);
    f.dialogs.shown.clear();
    probe::click(&f.main(), "docketButton");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"Printer disabled!"});
}

TEST(MainScreen, PathComponentsAreCountedFromSeparatorsAndDots) {
    EXPECT_FALSE(HasLongPathComponent("/tmp/abcdefgh.ijk/"));
    EXPECT_TRUE(HasLongPathComponent("/tmp/abcdefghi/"));
    EXPECT_TRUE(HasLongPathComponent("/home/shopkeeper/z/"));
    // Letters, not bytes: "Bäckerei" is eight letters in nine bytes.
    EXPECT_FALSE(HasLongPathComponent("/home/jörg/Bäckerei/"));
    EXPECT_TRUE(HasLongPathComponent("/home/jörg/Bäckereien/"));
}

TEST(MainScreen, AShopInAFolderNamedInAnyAlphabetFindsItsFilesAndRecordsTheStart) {
    // An o-umlaut that Windows-1252 has, an l-stroke it has not.
    MainScreenFixture f("jörg ł");
    f.writeConfiguration(f.config);
    f.dir.write("Pricelist.dat", SampleLine);
    f.printerReady();
    std::string programDir = f.dir.path();
    programDir.pop_back();
    f.program = std::make_unique<ProgramBlock>(
        f.services, DataDirectoryOf(QString::fromUtf8(programDir.c_str())));
    EXPECT_EQ(f.program->state.files.DataDir(), f.dir.path());
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{});
    EXPECT_EQ(f.trading(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(f.dir.read("Results.dat"), "* START of SALE   07/12/26 9:05:\r\n");
}

TEST(MainScreen, MenuHelpAndTheButtonsOfOtherEditions) {
    MainScreenFixture f;
    f.writeConfiguration(f.config);
    f.start();
    f.dialogs.shown.clear();
    probe::click(&f.main(), "menuButton");
    EXPECT_TRUE(probe::visible(&f.main(), "menuBox"));
    EXPECT_FALSE(probe::visible(&f.main(), "viewPrintButton"));
    EXPECT_EQ(probe::focus(), "menuBox");
    // Outside inventory mode the inventory cannot be updated.
    probe::widget<QRadioButton>(&f.main(), "inventoryEntry")->setFocus();
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{
                                     " Zorvi is running in statistic mode.\r Update the Inventory "
                                     "is blocked !"});
    f.dialogs.shown.clear();
    QTest::keyClick(probe::widget<QGroupBox>(&f.main(), "menuBox"), Qt::Key_Escape);
    EXPECT_FALSE(probe::visible(&f.main(), "menuBox"));
    EXPECT_TRUE(probe::visible(&f.main(), "viewPrintButton"));
    EXPECT_EQ(probe::focus(), "menuButton");

    // Help shows its text until Q, with trading off meanwhile.
    probe::click(&f.main(), "helpButton");
    EXPECT_TRUE(probe::visible(&f.main(), "infoBox"));
    EXPECT_EQ(probe::text(&f.main(), "infoBox"), "Main help\nline two");
    EXPECT_TRUE(probe::visible(&f.main(), "exitHintLabel"));
    EXPECT_FALSE(probe::enabled(&f.main(), "saleButton"));
    EXPECT_TRUE(probe::enabled(&f.main(), "exitButton"));
    QTest::keyClick(probe::widget<QPlainTextEdit>(&f.main(), "infoBox"), Qt::Key_Q);
    EXPECT_FALSE(probe::visible(&f.main(), "infoBox"));
    EXPECT_FALSE(probe::visible(&f.main(), "exitHintLabel"));
    EXPECT_TRUE(probe::enabled(&f.main(), "saleButton"));
    // Without its text the way out stays shown.
    std::filesystem::remove(f.dir.file("hlpf.7"));
    probe::click(&f.main(), "helpButton");
    EXPECT_EQ(f.dialogs.texts(), (std::vector<std::string>{"Error!\r\nthe file " +
                                                           f.dir.file("hlpf.7") + " not found!"}));
    EXPECT_TRUE(probe::visible(&f.main(), "exitHintLabel"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(probe::visible(&f.main(), "exitHintLabel"));
    EXPECT_TRUE(probe::enabled(&f.main(), "saleButton"));
    f.dialogs.shown.clear();

    probe::click(&f.main(), "debtorButton");
    probe::click(&f.main(), "laybyButton");
    probe::click(&f.main(), "creditorButton");
    EXPECT_EQ(f.dialogs.texts(),
              (std::vector<std::string>{
                  "The Debtor functions are available in \r    TALLYBOX and LEDGERPRO !",
                  " The Layby function is available in \r  TALLYBOX and LEDGERPRO !",
                  "The Creditors functions are available in \r               LEDGERPRO only !"}));

    // An underlined letter presses its button: the sales screen takes over.
    probe::widget<QPushButton>(&f.main(), "menuButton")->setFocus();
    QTest::keyClick(probe::widget<QPushButton>(&f.main(), "menuButton"), Qt::Key_S);
    EXPECT_FALSE(f.main().isVisible());
    EXPECT_TRUE(f.program->sales->isVisible());
}

TEST(MainScreen, UpdateInventoryOfAnEmptyInventorySaysSo) {
    Configuration c = DefaultConfiguration();
    c.LowStockPercent = 10;
    MainScreenFixture g;
    g.writeConfiguration(c);
    g.dir.write("Inventory.dat", "");
    g.start();
    g.dialogs.shown.clear();
    g.menu("inventoryEntry");
    EXPECT_EQ(g.dialogs.texts(),
              std::vector<std::string>{"The file " + g.dir.path() + "Inventory.dat is empty !"});
    EXPECT_TRUE(g.main().isVisible());
}
