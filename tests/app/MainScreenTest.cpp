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

} // namespace

const std::string SampleLine =
    " SAMPLE___CODE Sample entry of an article       0.00       0.00  0\r\n";

// The sample list and its work copy are StartUp's to check; here the screen.
TEST(MainScreen, AcceptedSampleOfferGivesAWorkCopyAndTrading) {
    MainScreenFixture f;
    f.writeConfiguration(f.config);
    f.printerReady();
    f.dialogs.answers = {Dialogs::Answer::Ok};
    f.start();
    EXPECT_EQ(f.trading(), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(f.program->state.flags.DocketAutoPrint);
    EXPECT_EQ(f.launcher.started, std::vector<std::string>{f.dir.path() + "Slipjet.exe"});
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

// An underlined letter presses its button: the sales screen takes over.
TEST(MainScreen, ALetterPressesItsButton) {
    MainScreenFixture f;
    f.writeConfiguration(f.config);
    f.start();
    probe::widget<QPushButton>(&f.main(), "menuButton")->setFocus();
    QTest::keyClick(probe::widget<QPushButton>(&f.main(), "menuButton"), Qt::Key_S);
    EXPECT_FALSE(f.main().isVisible());
    EXPECT_TRUE(f.program->sales->isVisible());
}
