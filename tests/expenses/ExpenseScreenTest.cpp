#include "expenses/ExpenseScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

const std::string StartRecord = "* START of SALE   07/12/26 9:05:\r\n";

struct ExpenseFixture : ProgramFixture {
    ExpenseFixture() { writeTestShop(); }
    // Starts the program, opens the expense screen from the main screen and
    // accepts sales person A.
    void open() {
        writeConfiguration(config);
        start();
        ProgramFixture::open("expenseButton", &screen());
        dialogs.shown.clear();
        ports.lines.clear();
        type("A");
    }
    ExpenseScreen& screen() { return *qobject_cast<ExpenseScreen*>(program->expense); }
    QWidget* at() { return screen().activeControl(); }
    // Types into whichever field has the cursor; \r is Enter, \x1b is Esc.
    void type(const std::string& keys) { ProgramFixture::type(&screen(), keys); }
    std::string journal() { return probe::text(&screen(), "journalBox"); }
};

const std::string StationeryLine =
    sp(9) + "EXP1" + sp(13) + "Stationery" + sp(16) + sp(5) + sp(4) + "-$40.00";

} // namespace

TEST(ExpenseScreen, BooksAnExpenseWithTaxAsOneLineRecord) {
    ExpenseFixture f;
    f.config.TaxRate = 10;
    f.open();
    EXPECT_TRUE(probe::enabled(&f.screen(), "taxLabel"));
    f.type("EXP1\r40\ry4\rF\r");
    EXPECT_EQ(probe::text(&f.screen(), "taxField"), "-$4.00");
    EXPECT_EQ(probe::text(&f.screen(), "payField"), "-$44.00");
    f.type("\r");
    EXPECT_EQ(
        f.dir.read("Results.dat"),
        StartRecord +
            crlf({"$ EXP1              0.00       0.00         0.00       -40.00        -44.00",
                  "# Total*** 9:05    0.00     0.00     0.00            -4.00      -44.00      "
                  "-44.00  0.00"}));
}

TEST(ExpenseScreen, AFailedTakingsWriteLeavesTheExpenseAsItWasAndClosingWaitsForIt) {
    ExpenseFixture f;
    f.dir.write("Docket.Prn", "last docket\r\n");
    f.open();
    EXPECT_TRUE(f.program->till.docketOpen());
    f.type("EXP1\r40\r");
    // The takings file vanishes while the line waits for its confirmation.
    std::remove(f.dir.file("Results.dat").c_str());
    f.type("y");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_NE(f.dialogs.texts()[0].find(f.dir.path() + "Results.dat"), std::string::npos);
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "confirmField"));
    EXPECT_EQ(f.journal(), "");
    EXPECT_EQ(f.program->till.sale().ExpenseSum, 0);
    f.type("y");
    EXPECT_EQ(f.journal(), StationeryLine);
    EXPECT_EQ(f.program->till.sale().ExpenseSum, -40);
    f.dialogs.shown.clear();

    // The close button waits for the expense to be paid.
    f.screen().close();
    EXPECT_TRUE(f.screen().isVisible());
    f.type("F\r\r");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "salesPersonField"));
    // A sales person accepted, then Esc back: the docket begun is dropped on leaving.
    f.type("A\x1b");
    f.screen().close();
    EXPECT_TRUE(f.program->main->isVisible());
    EXPECT_FALSE(f.screen().isVisible());
    EXPECT_FALSE(f.program->till.takingsOpen());
    EXPECT_FALSE(f.program->till.docketOpen());
    EXPECT_FALSE(f.program->till.sale().InExpenseScreen);
    // The paid expense's docket stays for a reprint.
    EXPECT_NE(f.dir.read("Docket.Prn").find("Expense Total"), std::string::npos);
    EXPECT_TRUE(f.dialogs.texts().empty());
}

// The key rules themselves are EntryRules'; here what the expense screen does
// with an amount it cannot book and with a code.
TEST(ExpenseScreen, AmountAndCodeFieldsAskAgainForWhatTheyCannotBook) {
    struct Case {
        const char* name;
        std::string keys;
        std::vector<std::string> messages;
        bool confirms;
    } cases[] = {
        {"not a number", "12a\r", {"12a is a faulty Number or to big!"}, false},
        {"above the limit", "99999999\r", {"99999999 is a faulty Number or to big!"}, false},
        {"minus and dollar dropped", "-$12.50\r", {}, true},
    };
    ExpenseFixture f;
    f.open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.screen().moveTo(probe::widget<EntryField>(&f.screen(), "codeField"));
        f.type("EXP1\r");
        f.dialogs.shown.clear();
        f.type(c.keys);
        EXPECT_EQ(f.dialogs.texts(), c.messages);
        EXPECT_EQ(f.at(), c.confirms ? probe::widget<EntryField>(&f.screen(), "confirmField")
                                     : probe::widget<EntryField>(&f.screen(), "amountField"));
    }
    EXPECT_EQ(f.program->till.sale().ExpenseAmount, 12.5);
    f.type("n");
    EXPECT_EQ(f.journal(), "");

    f.dialogs.shown.clear();
    f.type("4006381333931");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"e6"});
    EXPECT_EQ(probe::text(&f.screen(), "articleField"), "e12");
    f.dialogs.shown.clear();
    f.type("F\r");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"e11"});
    f.type("/exp1\r");
    EXPECT_EQ(probe::text(&f.screen(), "codeField"), "EXP1") << "no services among expenses";
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "amountField"));
    f.type("\x1b\x1b");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "salesPersonField"));
}

TEST(ExpenseScreen, WritesTheExpenseDocketAndDrivesTheDevices) {
    ExpenseFixture f;
    Configuration& c = f.config;
    c.SalesPersonName[0] = "Anna";
    c.DrawerPort = "COM1";
    c.DisplayPort = "COM2";
    c.DisplayWidth = 20;
    f.dir.write("COM1", "");
    f.dir.write("COM2", "");
    f.launcher.onRun = [&] { f.dir.write("Devcheck.dat", "Ok\r\n"); };
    f.open();
    const size_t printed = f.launcher.started.size();
    EXPECT_FALSE(probe::enabled(&f.screen(), "taxLabel")) << "no tax field without tax";
    f.type("exp1\r40\ryf\r");
    EXPECT_EQ(probe::text(&f.screen(), "payField"), "-$40.00");
    f.type("\r");
    EXPECT_EQ(probe::text(&f.screen(), "paidField"), "ok");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "salesPersonField"));
    // The docket names who paid out, not the "$" of the records.
    EXPECT_NE(f.dir.read("Docket.Prn").find("6 Served by Anna      at 9:05 07/12/26\r\n"),
              std::string::npos);
    ASSERT_EQ(f.launcher.started.size(), printed + 1);
    EXPECT_EQ(f.launcher.started.back(), f.dir.path() + "Slipjet.exe");
    const std::string drawer = f.dir.path() + "COM1|";
    const std::string display = f.dir.path() + "COM2|";
    EXPECT_EQ(f.ports.lines,
              (std::vector<std::string>{display + "Stationery   -$40.00", drawer + "open",
                                        display + "Total        -$40.00"}));
    EXPECT_TRUE(f.dialogs.texts().empty());
}
