#include "app/MainScreen.h"
#include "app/ProgramBlock.h"
#include "consolidation/ConsolidationScreen.h"
#include "expenses/ExpenseScreen.h"
#include "forms/ZorviScreen.h"
#include "platform/Services.h"
#include "sales/SalesScreen.h"
#include "store/Configuration.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::string Question =
    "  To Consolidate todays results press [ Yes ],   \r  to close ZORVI, press [ No ] !     ";

struct DayFixture : ProgramFixture {
    DayFixture() { writeTestShop(); }
    void start(bool printer) {
        writeConfiguration(config);
        if (printer) printerReady();
        ProgramFixture::start();
        dialogs.shown.clear();
        launcher.started.clear();
    }
    std::vector<std::string> memo() {
        return lines(probe::widget<QPlainTextEdit>(&main(), "infoBox"));
    }
};

std::vector<std::string> totals(const std::vector<std::string>& middle) {
    std::vector<std::string> lines = {" ", " ", " ", "Todays Totals are:", " "};
    lines.insert(lines.end(), middle.begin(), middle.end());
    return lines;
}

} // namespace

TEST(DayClose, ADayWithoutSalesAndNoEndsTheProgram) {
    DayFixture f;
    f.start(false);
    ASSERT_TRUE(f.dir.exists("Pricelist.wrk"));
    std::string lastDocket = "1old docket\r\n";
    f.dir.write("Docket.Prn", lastDocket);
    f.dialogs.answers = {Dialogs::Answer::No};
    probe::click(&f.main(), "exitButton");
    EXPECT_EQ(f.memo(),
              totals({"Takings Cash             $0.00", "Takings Cheque           $0.00",
                      "Takings Credit           $0.00", "Rounding Total           $0.00",
                      "Expense Total            $0.00", " ", "Total takings            $0.00", " ",
                      "Cash in Drawer           $0.00"}));
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, Question);
    ASSERT_TRUE(f.dialogs.shown[0].at.has_value());
    EXPECT_EQ(f.dialogs.shown[0].at->left, 172);
    EXPECT_EQ(f.dialogs.shown[0].at->top, 301);
    EXPECT_FALSE(f.dir.exists("Pricelist.wrk"));
    EXPECT_FALSE(f.main().isVisible());
    // Without docket printing the last docket stays as it was.
    EXPECT_EQ(f.dir.read("Docket.Prn"), lastDocket);
    EXPECT_TRUE(f.launcher.started.empty());
}

TEST(DayClose, TheTotalsAreThoseOfTheTakingsFileSinceTheLastConsolidation) {
    DayFixture f;
    f.config.TaxRate = 10;
    f.screenInfo.w = 800;
    // Two earlier runs: the first left a sale unpaid, the second took a sale
    // and paid out an expense; one line is damaged.
    f.dir.write("Results.dat",
                "* START of SALE   05/12/26 17:00\r\n"
                "A MILK1             2.00       0.70         1.50         1.50          3.00\r\n"
                "* START of SALE   06/12/26 8:00:\r\n"
                "A BREAD             1.00      50.00        90.91        90.91         90.91\r\n"
                "# Total*** 8:10  100.00     0.00     0.00             9.09      100.00      "
                "100.00  0.00\r\n"
                "A BREAD   damaged\r\n"
                "$ EXP1              1.00       0.00       -30.00       -30.00        -30.00\r\n"
                "# Total*** 8:20    0.00     0.00     0.00             0.00      -30.00      "
                "-30.00  0.00\r\n");
    f.start(true);
    f.dialogs.answers = {Dialogs::Answer::Yes};
    probe::click(&f.main(), "exitButton");
    std::vector<std::string> expected =
        totals({"Takings Cash           $100.00", "Takings Cheque           $0.00",
                "Takings Credit           $0.00", "Rounding Total           $0.00",
                "Expense Total          -$30.00", "Tax of tak/exp           $9.09", " ",
                "Total takings          $100.00", " ", "Cash in Drawer          $70.00",
                "1 unreadable line left out of the totals"});
    expected.insert(expected.begin() + 4, "(since 05/12/26)");
    EXPECT_EQ(f.memo(), expected);
    std::string docket;
    for (const std::string& line : expected)
        docket += "4 " + line + "\r\n";
    EXPECT_EQ(f.dir.read("Docket.Prn"), docket);
    EXPECT_EQ(f.launcher.started, std::vector<std::string>{f.dir.path() + "Slipjet.exe"});
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].at->left, 88 + 175);
    EXPECT_EQ(f.dialogs.shown[0].at->top, 74 + 290);

    // Yes hands over to the consolidation, which ends the program when left.
    EXPECT_FALSE(f.main().isVisible());
    EXPECT_TRUE(f.program->consolidation->isVisible());
    EXPECT_TRUE(f.dir.exists("Pricelist.wrk"));
    f.program->consolidation->close();
    QApplication::processEvents();
    EXPECT_TRUE(f.program->state.flags.QuitAfterConsolidation);
    EXPECT_FALSE(f.main().isVisible());
    EXPECT_FALSE(f.program->consolidation->isVisible());
}

TEST(DayClose, AWholeDayAddsUpToItsTakingsFile) {
    DayFixture f;
    f.start(false);
    SalesScreen* sales = f.program->sales;
    ExpenseScreen* expense = f.program->expense;

    probe::click(&f.main(), "saleButton");
    f.type(sales, "AMILK1\n2\nYBREAD\n1\nYF\nC10\n\n");
    f.type(sales, "BBREAD\n3\nYF\nQ6.75\n\n");
    QTest::keyClick(sales->activeControl(), Qt::Key_Escape);
    ASSERT_TRUE(f.main().isVisible());

    probe::click(&f.main(), "expenseButton");
    f.type(expense, "AEXP1\n4.50\nyF\n\n");
    expense->close();
    ASSERT_TRUE(f.main().isVisible());

    f.dialogs.answers = {Dialogs::Answer::Yes};
    probe::click(&f.main(), "exitButton");
    // 5.25 paid with 10.00 in cash, 6.75 by cheque, 4.50 paid out.
    EXPECT_EQ(f.memo(),
              totals({"Takings Cash             $5.25", "Takings Cheque           $6.75",
                      "Takings Credit           $0.00", "Rounding Total           $0.00",
                      "Expense Total           -$4.50", " ", "Total takings           $12.00", " ",
                      "Cash in Drawer           $0.75"}));
}

TEST(DayClose, TheXReportShowsAndPrintsTheTotalsSoFarAndChangesNothingElse) {
    DayFixture f;
    const std::string takings =
        "* START of SALE   07/12/26 8:00:\r\n"
        "A BREAD             2.00       1.10         2.25         2.25          4.50\r\n"
        "# Total*** 8:10    4.50     0.00     0.00             0.00        4.50        5.00  "
        "0.50\r\n"
        "A BREAD            -1.00      -1.10        -2.25        -2.25         -2.25\r\n"
        "# Total*** 8:15   -2.25     0.00     0.00             0.00       -2.25       -2.25  "
        "0.00\r\n";
    f.dir.write("Results.dat", takings);
    f.start(true);
    const std::string started = f.dir.read("Results.dat");
    probe::click(&f.main(), "menuButton");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T);
    QApplication::processEvents();
    // A sale of 4.50 paid with 5.00 (0.50 change), a refund of 2.25.
    std::vector<std::string> expected = {"X REPORT 07/12/26 9:05:30"};
    for (const std::string& line :
         totals({"Takings Cash             $2.25", "Takings Cheque           $0.00",
                 "Takings Credit           $0.00", "Rounding Total           $0.00",
                 "Expense Total            $0.00", " ", "Total takings            $2.25", " ",
                 "Cash in Drawer           $2.25", " ", "Sales                        1",
                 "Refunds                      1", "Expenses                     0"}))
        expected.push_back(line);
    EXPECT_EQ(f.memo(), expected);
    std::string docket;
    for (const std::string& line : expected)
        docket += "4 " + line + "\r\n";
    EXPECT_EQ(f.dir.read("Docket.Prn"), docket);
    EXPECT_EQ(f.dir.read("Results.dat"), started);
    EXPECT_TRUE(f.dialogs.shown.empty());
}
