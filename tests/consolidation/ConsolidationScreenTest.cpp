#include "consolidation/ConsolidationScreen.h"
#include "app/MainScreen.h"
#include "backup/BackupRestore.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QPushButton>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct ConsolidationFixture : ProgramFixture {
    ConsolidationFixture() {
        config.SalesPersonCode = {"A", "B", "C", "D", "E"};
        config.SalesPersonName = {"ANNA", "BEN", "C", "D", "E"};
        config.LowStockPercent = 10;
        writeConfiguration(config);
        dir.write("Pricelist.dat",
                  " APPLE         Apple                            1.20       2.50 10\r\n");
        dir.write("Inventory.dat", " APPLE                 10        0.0         20.0"
                                   "             0.0            0.00\r\n");
        dir.write("Results.dat",
                  "A APPLE             3.00       1.20         2.50         2.50          7.50\r\n"
                  "# Total*** 9:05    7.50     0.00     0.00             0.00        7.50"
                  "        7.50  0.00\r\n");
    }
    ConsolidationScreen& screen() { return *program->consolidation; }
    void toConsolidation() {
        start();
        dialogs.shown.clear();
        dialogs.answers = {Dialogs::Answer::Yes};
        probe::click(&main(), "exitButton");
        QApplication::setActiveWindow(&screen());
        QApplication::processEvents();
        dialogs.shown.clear();
    }
    std::vector<std::string> memo() {
        return lines(probe::widget<QPlainTextEdit>(&screen(), "reportBox"));
    }
};

} // namespace

TEST(ConsolidationScreen, ThreePressesOfNextConsolidateTheDay) {
    ConsolidationFixture f;
    f.toConsolidation();
    ConsolidationScreen& s = f.screen();
    ASSERT_TRUE(s.isVisible());
    EXPECT_EQ(probe::text(&s, "dateLabel"), "07/12/26");
    EXPECT_FALSE(probe::enabled(&s, "stockButton"));

    // No printing, no period end; the day report follows at once.
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    QTest::keyClick(&s, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(f.dialogs.texts(),
              (std::vector<std::string>{
                  "  If you want the Results printed,  \r  then switch the Printer on and press  "
                  "[ Yes ] ! ",
                  "Do a end of week, month ect. consolitate,\rpress the [ Yes ] Button ! "}));
    // A period end cannot be undone: Enter out of habit answers No.
    EXPECT_EQ(f.dialogs.shown[1].buttons, Dialogs::Buttons::YesNoDefaultNo);
    EXPECT_EQ(s.ConsolidationStep, 2);
    EXPECT_FALSE(probe::enabled(&s, "exitButton"));
    std::vector<std::string> report = f.memo();
    ASSERT_EQ(report.size(), 17u);
    EXPECT_EQ(report[1], "Results of        07/12/26 9:05:");
    // The day's Z number stands under the heading; without a float or a
    // count today nobody is asked to count.
    EXPECT_EQ(report[2], "Z 1");

    // The letter alone works while a button has the focus.
    probe::widget<QPushButton>(&s, "nextButton")->setFocus();
    QTest::keyClick(probe::widget<QPushButton>(&s, "nextButton"), Qt::Key_N);
    EXPECT_EQ(f.memo()[6], "ANNA             0     $0.00        3     $7.50");

    QTest::keyClick(probe::widget<QPushButton>(&s, "nextButton"), Qt::Key_N);
    EXPECT_EQ(f.memo(), (std::vector<std::string>{" ", " ", "F I N I S H"}));
    EXPECT_FALSE(probe::enabled(&s, "nextButton"));
    EXPECT_TRUE(probe::enabled(&s, "exitButton"));
    EXPECT_FALSE(f.dir.exists("Results.dat"));
    EXPECT_TRUE(f.dir.exists("Res2026Dez.07"));
    EXPECT_EQ(f.dialogs.shown.size(), 2u);
    // The counts go with the takings into the day's archive.
    EXPECT_FALSE(f.dir.exists("Cashup.dat"));
    EXPECT_EQ(f.dir.read("Csh2026Dez.07"),
              crlf({"O      1 07/12/26 9:05            0.00         0.00         0.00         0.00",
                    "Z      1 07/12/26 9:05            0.00         7.50" + std::string(26, ' ')}));
    // The closed day is copied into Backup/, and the copy checked.
    const std::string backup = "zorvi-20261207-0905-Z1.tar.zst";
    EXPECT_EQ(probe::text(&s, "backupLabel"), "Backup written and checked: " + backup);
    EXPECT_TRUE(VerifyBackup(f.dir.file("Backup/" + backup)).ok);

    QTest::keyClick(&s, Qt::Key_X, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_TRUE(f.program->state.flags.QuitAfterConsolidation);
    EXPECT_FALSE(s.isVisible());
    EXPECT_FALSE(f.main().isVisible());
    EXPECT_FALSE(f.dir.exists("Consolid.lck"));
}

TEST(ConsolidationScreen, AShopWithAFloatCountsTheDrawerForTheCloseAndGetsTheNextZ) {
    ConsolidationFixture f;
    f.dir.write("Options.dat", "float=50\r\n");
    f.dir.write("Csh2026Dez.05", crlf({"Z     41 05/12/26 18:00          50.00        80.00" +
                                       std::string(26, ' ')}));
    f.dialogs.typed = {""}; // the float is confirmed at start
    f.toConsolidation();
    ConsolidationScreen& s = f.screen();
    // No printing, no period end, Yes to the count: 57.00 where 57.50 was due.
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No, Dialogs::Answer::Yes};
    f.dialogs.typed = {"57"};
    QTest::keyClick(&s, Qt::Key_N, Qt::AltModifier);
    ASSERT_EQ(f.dialogs.shown.size(), 4u);
    EXPECT_EQ(f.dialogs.shown[2].buttons, Dialogs::Buttons::YesNoDefaultNo);
    const std::vector<std::string> report = f.memo();
    ASSERT_EQ(report.size(), 21u);
    EXPECT_EQ(report[2], "Z 42");
    EXPECT_EQ(std::vector<std::string>(report.end() - 3, report.end()),
              (std::vector<std::string>{"Cash expected             $57.50",
                                        "Cash counted              $57.00",
                                        "Difference                -$0.50"}));
    QTest::keyClick(probe::widget<QPushButton>(&s, "nextButton"), Qt::Key_N);
    QTest::keyClick(probe::widget<QPushButton>(&s, "nextButton"), Qt::Key_N);
    EXPECT_EQ(
        f.dir.read("Csh2026Dez.07"),
        crlf({"O      1 07/12/26 9:05           50.00        50.00        50.00         0.00",
              "Z     42 07/12/26 9:05           50.00        57.50        57.00        -0.50"}));
}

TEST(ConsolidationScreen, FaultyTakingsLineAnsweredNoEndsWithoutChanges) {
    ConsolidationFixture f;
    f.dir.write("Results.dat", "A APPLE   3.00\r\n");
    f.toConsolidation();
    std::string takings = f.dir.read("Results.dat");
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No, Dialogs::Answer::No};
    QTest::keyClick(&f.screen(), Qt::Key_N, Qt::AltModifier);
    ASSERT_EQ(f.dialogs.shown.size(), 3u);
    EXPECT_EQ(f.dialogs.shown[2].text, "The file " + f.dir.file("Results.dat") +
                                           " has 1 line(s) that cannot be read; the first is "
                                           "line 1:\rA APPLE   3.00\rConsolidate the day "
                                           "without them?");
    EXPECT_TRUE(f.program->state.flags.QuitAfterConsolidation);
    EXPECT_FALSE(f.screen().isVisible());
    EXPECT_EQ(f.dir.read("Results.dat"), takings);
    EXPECT_FALSE(f.dir.exists("Spersons.dat"));
}

TEST(ConsolidationScreen, StocktakeSetsTheInventoryUpFromTheTakings) {
    ConsolidationFixture f;
    ::unlink(f.dir.file("Inventory.dat").c_str());
    f.toConsolidation();
    ConsolidationScreen& s = f.screen();
    EXPECT_FALSE(probe::enabled(&s, "nextButton"));
    ASSERT_TRUE(probe::enabled(&s, "stockButton"));
    QTest::keyClick(&s, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(f.dialogs.shown.size(), 0u);
    EXPECT_EQ(f.memo(), (std::vector<std::string>{" ", " ", "F I N I S H"}));
    EXPECT_FALSE(probe::enabled(&s, "stockButton") || probe::enabled(&s, "nextButton"));
    EXPECT_TRUE(probe::enabled(&s, "exitButton"));
    EXPECT_TRUE(f.dir.exists("Stocktake.26A"));
    EXPECT_TRUE(f.dir.exists("Inventory.26A"));
    EXPECT_TRUE(f.dir.exists("Inventory.dat"));
    QTest::keyClick(&s, Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(f.program->state.flags.QuitAfterConsolidation);
    EXPECT_FALSE(f.dir.exists("Consolid.lck"));
}

TEST(ConsolidationScreen, AFailedBackupLeavesTheCloseCompleteAndSaysSo) {
    ConsolidationFixture f;
    // The backup folder is a file: a stick's folder name taken by a file.
    f.dir.write("Stick", "");
    f.dir.write("Options.dat", "backup-dir=Stick\r\n");
    f.toConsolidation();
    ConsolidationScreen& s = f.screen();
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    for (int press = 0; press < 3; ++press)
        QTest::keyClick(&s, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(f.memo(), (std::vector<std::string>{" ", " ", "F I N I S H"}));
    EXPECT_FALSE(f.dir.exists("Results.dat"));
    EXPECT_TRUE(f.dir.exists("Res2026Dez.07"));
    const std::string text = "BACKUP FAILED: the backup folder " + f.dir.path() +
                             "Stick/ is a file; the day's close itself is complete";
    EXPECT_EQ(probe::text(&s, "backupLabel"), text);
    EXPECT_EQ(f.dialogs.texts().back(), text);
    EXPECT_TRUE(probe::enabled(&s, "exitButton"));
}

TEST(ConsolidationScreen, AChangeTheCheckFindsIsShownBeforeTheCloseAndTheAnswerRecorded) {
    struct Case {
        Dialogs::Answer answer;
        const char* action;
        bool closed;
    };
    for (const Case& c : {Case{Dialogs::Answer::No, "check: stopped  ", false},
                          Case{Dialogs::Answer::Yes, "check: go on    ", true}}) {
        ConsolidationFixture f;
        f.toConsolidation();
        // A plain editor changes a sealed line of the day.
        std::string takings = f.dir.read("Results.dat");
        takings.replace(takings.find("1.20"), 4, "1.30");
        f.dir.write("Results.dat", takings);
        f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No, c.answer};
        for (int press = 0; press < 3; ++press)
            QTest::keyClick(&f.screen(), Qt::Key_N, Qt::AltModifier);
        ASSERT_GE(f.dialogs.shown.size(), 3u);
        EXPECT_EQ(f.dialogs.shown[2].text,
                  "The check of the sealed books found changes that Audit.dat does not explain:\r"
                  "Results.dat line 1: changed (expected "
                  "41867cab555607b2549b5d7a3041694efbbe1c4716629229ee7b82e8a38e7b8e, found "
                  "7bbad136816716e25518324c36e5a9c8d63791050b6c8258c1ca399dffd866ef)\r"
                  "Go on with the consolidation?");
        EXPECT_EQ(f.dialogs.shown[2].buttons, Dialogs::Buttons::YesNoDefaultNo);
        EXPECT_EQ(f.dir.exists("Results.dat"), !c.closed);
        EXPECT_EQ(f.dir.exists("Res2026Dez.07"), c.closed);
        if (!c.closed) {
            EXPECT_EQ(f.dialogs.texts().back(),
                      "The consolidation was not made. Nothing was changed.");
        }
        const std::string trail = f.dir.read("Audit.dat");
        ASSERT_GE(trail.size(), 130u);
        EXPECT_EQ(trail.substr(20, 110), "owner        " + std::string(c.action) +
                                             " Results.dat    " + std::string(64, '0') + " ");
    }
}
