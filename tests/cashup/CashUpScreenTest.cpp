#include "cashup/CashUpScreen.h"
#include "app/MainScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QTest>
#include <gtest/gtest.h>

TEST(CashUpScreen, TheDrawerIsCountedBlindThenComparedAndEachCountIsKept) {
    ProgramFixture f;
    f.writeTestShop();
    f.dir.write("Options.dat", "float=100\r\ndenominations=100,1,0.5\r\n");
    // A sale of 4.50 paid with 5.00 before this start.
    f.dir.write("Results.dat",
                "A BREAD             2.00       1.10         2.25         2.25          4.50\r\n"
                "# Total*** 8:10    4.50     0.00     0.00             0.00        4.50        "
                "5.00  0.50\r\n");
    f.dialogs.typed = {""}; // Enter keeps the float
    f.writeConfiguration(f.config);
    f.start();
    CashUpScreen* s = f.program->cashUp;
    probe::click(&f.main(), "menuButton");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_U);
    QApplication::processEvents();
    ASSERT_TRUE(s->isVisible());
    EXPECT_TRUE(probe::widget(s, "denominationField1")->isVisibleTo(s));
    EXPECT_FALSE(probe::widget(s, "denominationField4")->isVisibleTo(s));

    // One 100 note, four 1 coins, one 0.50: the total is the sum, and
    // nothing says what the drawer should hold until the count is given.
    f.type(s, "A1\n4\n1\n");
    EXPECT_EQ(probe::cursor(s), "totalField");
    EXPECT_EQ(probe::text(s, "totalField"), "104.50");
    f.type(s, "\n");
    EXPECT_EQ(probe::cursor(s), "confirmField");
    EXPECT_EQ(probe::text(s, "resultLabel"), "");
    f.type(s, "Y");
    EXPECT_EQ(probe::text(s, "resultLabel"),
              "Float             $100.00\nExpected          $104.50\n"
              "Counted           $104.50\nDifference          $0.00");
    // A second count, as one total, comes out short; both are kept.
    f.type(s, "A\n\n\n100\nY");
    EXPECT_EQ(probe::text(s, "resultLabel"),
              "Float             $100.00\nExpected          $104.50\n"
              "Counted           $100.00\nDifference         -$4.50  short");
    EXPECT_EQ(
        f.dir.read("Cashup.dat"),
        crlf({"O      1 07/12/26 9:05          100.00       100.00       100.00         0.00",
              "X      2 07/12/26 9:05  A       100.00       104.50       104.50         0.00",
              "X      3 07/12/26 9:05  A       100.00       104.50       100.00        -4.50"}));
    f.type(s, "\x1b");
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(f.main().isVisible());
}
