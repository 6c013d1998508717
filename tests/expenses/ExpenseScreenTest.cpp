#include "expenses/ExpenseScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

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
