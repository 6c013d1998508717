#include "sales/SalesScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "forms/FieldColours.h"
#include "inventory/InventoryScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QInputMethodEvent>
#include <gtest/gtest.h>

namespace {

struct SalesFixture : ProgramFixture {
    SalesFixture() {
        writeTestShop();
        config.DiscountLow = 15;
    }
    // Starts the program with a ready printer and opens the sales screen.
    void start() {
        writeConfiguration(config);
        printerReady();
        ProgramFixture::start();
        open("saleButton", sales());
        dialogs.shown.clear();
        launcher.started.clear();
        // Start records from here on are the test's business.
        dir.write("Results.dat", "");
    }
    SalesScreen* sales() { return program->sales; }
    QWidget* cursor() { return sales()->activeControl(); }
    void type(const std::string& keys) { ProgramFixture::type(sales(), keys); }
};

} // namespace

TEST(SalesScreen, TwoArticlesWithTaxDiscountAndRoundingPaidShortThenByCheque) {
    SalesFixture f;
    f.config.TaxRate = 10;
    f.config.Rounding = "R";
    f.start();
    SalesScreen* s = f.sales();
    EXPECT_EQ(probe::cursor(s), "salesPersonField");
    EXPECT_EQ(FieldColours::of(probe::widget<EntryField>(s, "salesPersonField")),
              FieldColours::Entry);

    // Each step's field is proven by the keys that follow landing in it.
    f.type("A");
    EXPECT_EQ(probe::text(s, "promptLabel"), "H3");
    EXPECT_FALSE(probe::enabled(s, "exitButton"));
    f.type("4006381333931");
    EXPECT_EQ(probe::text(s, "articleField"), "Ballpoint pen blue                  $20.00");
    f.type("1\n");
    EXPECT_EQ(FieldColours::of(probe::widget<EntryField>(s, "confirmField")),
              FieldColours::Confirm);
    // The total so far, with its tax, stands large after each line: 17.00
    // + 1.70, then 19.36 + 1.93 more; rounded at F.
    auto big = [s] {
        return probe::text(s, "bigCaptionLabel") + " " + probe::text(s, "bigFigureLabel");
    };
    f.type("L");
    EXPECT_EQ(big(), "Total so far $18.70");
    EXPECT_GE(probe::widget<QLabel>(s, "bigFigureLabel")->font().pixelSize(),
              2 * probe::widget<EntryField>(s, "totalField")->font().pixelSize());
    f.type("5000000000017\n1\nY");
    EXPECT_EQ(big(), "Total so far $39.99");
    f.type("F\n");
    EXPECT_EQ(probe::text(s, "totalField"), "$40.00");
    EXPECT_EQ(big(), "Total $40.00");
    f.type("C15\n");
    EXPECT_EQ(big(), "Balance to pay $25.00");
    EXPECT_EQ(probe::cursor(s), "tenderField");
    EXPECT_EQ(probe::text(s, "articleField"), "  Payment is short");
    EXPECT_EQ(probe::text(s, "quantityLabel"), "  Balance to pay");
    EXPECT_EQ(probe::text(s, "quantityField"), "-$25.00");
    // A cheque over the balance would give cash back: asked, No by default,
    // and No goes back to the tender with nothing taken.
    f.dialogs.shown.clear();
    f.type("Q30\n");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text,
              "Cheque payment is 5.00 more than due: give 5.00 cash back? Y/N");
    EXPECT_EQ(f.dialogs.shown[0].buttons, Dialogs::Buttons::YesNoDefaultNo);
    EXPECT_EQ(probe::cursor(s), "tenderField");
    EXPECT_EQ(probe::text(s, "receivedField"), "$15.00");
    f.type("Q25\n");
    EXPECT_EQ(probe::cursor(s), "changeField");
    EXPECT_EQ(probe::text(s, "changeField"), "$0.00");
    EXPECT_EQ(big(), "Change due $0.00");
    EXPECT_EQ(probe::text(s, "receivedField"), "$40.00");
    EXPECT_EQ(probe::text(s, "quantityLabel"), "Sales Quantity");
    // The docket is finished and printed when the payments cover the total.
    EXPECT_EQ(f.launcher.started, std::vector<std::string>{f.dir.path() + "Slipjet.exe"});
    f.type("\n");
    EXPECT_EQ(probe::cursor(s), "salesPersonField");
    EXPECT_EQ(f.dir.read("Results.dat"),
              "A 4006381333931     1.00       0.40        20.00        17.00         17.00\r\n"
              "A 5000000000017     1.00       3.10        19.36        19.36         19.36\r\n"
              "# Total*** 9:05   15.00    25.00     0.00             3.63       40.00       "
              "40.00  0.00\r\n");
    const DayTotals& day = f.program->till.day();
    EXPECT_DOUBLE_EQ(day.TaxTotal, 3.63);
    EXPECT_NEAR(day.RoundingTotal, 0.01, 1e-9);
    EXPECT_FALSE(f.program->till.takingsOpen());
}

// The key rules themselves are EntryRules'; here what the sales screen does with a code.
TEST(SalesScreen, CodeFieldRefusedQuantityAndLowStock) {
    SalesFixture f;
    f.config.LowStockPercent = 50;
    f.dir.write("Inventory.dat", " 4006381333931       10.00       12.00       4.00\r\n");
    f.start();
    SalesScreen* s = f.sales();
    f.type("A");
    // Shift alone is refused already, and so is the letter typed with it;
    // the hint stands in the prompt line, so the next keys still type.
    QTest::keyClick(f.cursor(), Qt::Key_A, Qt::ShiftModifier);
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{});
    EXPECT_EQ(probe::text(s, "promptLabel"), "H15");
    EXPECT_EQ(probe::text(s, "codeField"), "");

    // A code that is not listed, and an expense code, are not sold.
    f.dialogs.shown.clear();
    f.type("NOSUCH\nEXP1\n");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"H14"});
    EXPECT_EQ(probe::text(s, "articleField"), "H19");
    // F with no line yet; Esc before the first line goes back to the sales person.
    f.dialogs.shown.clear();
    f.type("F\n");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"H20"});
    f.type("\x1b");
    EXPECT_EQ(probe::cursor(s), "salesPersonField");

    // Services are sold like articles; after a line, Esc in the code field does nothing.
    f.type("A/REPAIR\n1\nY\x1b");
    EXPECT_EQ(f.dir.read("Results.dat"),
              "a /REPAIR           1.00       0.00        12.34        12.34         12.34\r\n");

    // A scanned code completes itself; the scanner's Enter does not answer the quantity.
    f.type("4006381333931\n");
    f.dialogs.shown.clear();
    f.type("1000\n");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"H18"});
    QTest::keyClick(f.cursor(), Qt::Key_Delete);
    f.type("2\n");
    // Low stock is a note in the prompt line, never a box that takes the next keys.
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"H18"});
    EXPECT_EQ(probe::cursor(s), "confirmField");
    EXPECT_EQ(probe::text(s, "promptLabel"),
              "<font color=\"red\">Ballpoint pen blue on stock 4, reference level 10</font>");

    // Without a work copy nothing is found.
    f.type("Y");
    std::remove(f.dir.file("Pricelist.wrk").c_str());
    f.type("MILK1\n");
    EXPECT_EQ(probe::text(s, "articleField"), "H19");
    EXPECT_EQ(probe::cursor(s), "codeField");
}

TEST(SalesScreen, ReturnAndNewArticleModesAndARefundPaysItsExactTotal) {
    SalesFixture f;
    f.start();
    SalesScreen* s = f.sales();
    f.type("A");
    QTest::keyClick(f.cursor(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(f.program->till.sale().ReturnMode);
    EXPECT_EQ(probe::text(s, "codeLabel"), "Return Article code");
    EXPECT_TRUE(probe::visible(s, "returnBanner"));
    // Pressed twice the mode is off again.
    QTest::keyClick(f.cursor(), Qt::Key_R, Qt::AltModifier);
    EXPECT_FALSE(f.program->till.sale().ReturnMode);
    EXPECT_EQ(probe::text(s, "codeLabel"), "Article Code or  F");
    EXPECT_FALSE(probe::visible(s, "returnBanner"));

    f.type("MILK1\n2\nY");
    QTest::keyClick(f.cursor(), Qt::Key_R, Qt::AltModifier);
    f.type("MILK1\n2\nY");
    EXPECT_FALSE(f.program->till.sale().ReturnMode);
    f.type("F\n");
    EXPECT_EQ(probe::text(s, "totalField"), "$0.00");
    f.type("C0\n\n");
    EXPECT_EQ(f.dir.read("Results.dat"),
              "A MILK1             2.00       0.70         1.50         1.50          3.00\r\n"
              "A MILK1            -2.00      -0.70        -1.50        -1.50         -3.00\r\n"
              "# Total*** 9:05    0.00     0.00     0.00             0.00        0.00        "
              "0.00  0.00\r\n");

    // A refund takes only its exact total.
    f.dir.write("Results.dat", "");
    f.type("A");
    QTest::keyClick(f.cursor(), Qt::Key_R, Qt::AltModifier);
    f.type("/REPAIR\n1\nYF\n");
    EXPECT_EQ(probe::text(s, "totalLabel"), "Return Total");
    EXPECT_EQ(probe::text(s, "paidLabel"), "Pay to Customer");
    f.type("C");
    EXPECT_EQ(probe::text(s, "promptLabel"), "H21");
    f.type("12\n");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"H22"});
    f.type("12.34\n\n");
    EXPECT_EQ(f.dir.read("Results.dat"),
              "a /REPAIR          -1.00       0.00       -12.34       -12.34        -12.34\r\n"
              "# Total*** 9:05  -12.34     0.00     0.00             0.00      -12.34      "
              "-12.34  0.00\r\n");

    f.dir.write("Results.dat", "");
    f.dialogs.shown.clear();
    f.type("A");
    QTest::keyClick(f.cursor(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(probe::text(s, "codeLabel"), "New Article code");
    EXPECT_EQ(probe::text(s, "receivedLabel"), "Wholesale Price");
    EXPECT_TRUE(probe::visible(s, "newArticleBanner"));
    EXPECT_EQ(FieldColours::of(probe::widget<EntryField>(s, "codeField")),
              FieldColours::NewArticle);
    // A listed code is not searched in this mode: it sells at the typed price.
    f.type("MILK1\n");
    EXPECT_EQ(probe::text(s, "promptLabel"), "H11");
    f.type("\n");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"H17"});
    f.type("widget\n");
    EXPECT_EQ(probe::text(s, "articleField"), "Widget                    ");
    EXPECT_EQ(probe::cursor(s), "receivedField");
    f.type("1.25\n");
    // Esc steps back through the fields.
    QTest::keyClick(f.cursor(), Qt::Key_Escape);
    EXPECT_EQ(probe::cursor(s), "receivedField");
    QTest::keyClick(f.cursor(), Qt::Key_Escape);
    EXPECT_EQ(probe::cursor(s), "articleField");
    f.type("widget\n1.25\n2.50\n");
    EXPECT_EQ(FieldColours::of(probe::widget<EntryField>(s, "quantityField")),
              FieldColours::NewArticle);
    f.type("2\nY");
    EXPECT_FALSE(f.program->till.sale().NewArticleMode);
    EXPECT_FALSE(probe::visible(s, "newArticleBanner"));
    EXPECT_EQ(probe::text(s, "receivedLabel"), "Total Sum received");

    // Both modes: a new article taken back.
    QTest::keyClick(f.cursor(), Qt::Key_R, Qt::AltModifier);
    QTest::keyClick(f.cursor(), Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(probe::visible(s, "newArticleBanner"));
    EXPECT_TRUE(probe::visible(s, "returnBanner"));
    f.type("GIZMO\ngizmo\n1\n3\n1\nY");
    EXPECT_EQ(f.dir.read("Results.dat"),
              "A MILK1             2.00       1.25         2.50         2.50          5.00\r\n"
              "A GIZMO            -1.00      -1.00        -3.00        -3.00         -3.00\r\n");

    // Alt+N then Esc before any line leaves the mode and returns to the sales person.
    f.type("F\nC2\n\n");
    f.type("A");
    QTest::keyClick(f.cursor(), Qt::Key_N, Qt::AltModifier);
    f.type("\x1b");
    EXPECT_EQ(probe::cursor(s), "salesPersonField");
    EXPECT_FALSE(f.program->till.sale().NewArticleMode);
    EXPECT_FALSE(probe::visible(s, "newArticleBanner"));
}

TEST(SalesScreen, ClosingTheWindowNeverLeavesHalfASaleAndXLeaves) {
    SalesFixture f;
    f.start();
    f.type("AMILK1\n1\nY");
    f.sales()->close();
    EXPECT_TRUE(f.sales()->isVisible());
    EXPECT_TRUE(f.program->till.docketOpen());
    f.type("F\nC2\n\n");
    f.sales()->close();
    EXPECT_FALSE(f.sales()->isVisible());
    EXPECT_TRUE(f.program->main->isVisible());
    EXPECT_FALSE(f.program->till.takingsOpen());

    // Back on the sales screen the sales person field starts afresh; X leaves.
    SalesScreen* s = f.sales();
    probe::widget<QLabel>(s, "promptLabel")->clear();
    f.open("saleButton", s);
    EXPECT_EQ(probe::text(s, "promptLabel"), "H1");
    f.dialogs.shown.clear();
    f.type("x");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"XH2"});
    EXPECT_TRUE(s->isVisible());
    f.type("X");
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(f.program->main->isVisible());

    // The maximise box is the close box: the screen is left, never enlarged.
    f.open("saleButton", s);
    s->setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    EXPECT_FALSE(s->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(f.program->main->isVisible());
}

TEST(SalesScreen, PastedTextObeysTheKeyRules) {
    SalesFixture f;
    f.start();
    SalesScreen* s = f.sales();
    f.type("AMILK1\n");
    QInputMethodEvent pasted;
    pasted.setCommitString("-5\n");
    QApplication::sendEvent(probe::widget<EntryField>(s, "quantityField"), &pasted);
    EXPECT_EQ(probe::text(s, "quantityField"), "5");
    f.type("\nYF\nC");
    pasted.setCommitString("1e2");
    QApplication::sendEvent(probe::widget<EntryField>(s, "paidField"), &pasted);
    EXPECT_EQ(probe::text(s, "paidField"), "12");
    EXPECT_FALSE(probe::widget<EntryField>(s, "quantityField")->acceptDrops());
    EXPECT_EQ(probe::widget<EntryField>(s, "quantityField")->contextMenuPolicy(),
              Qt::NoContextMenu);
}

TEST(SalesScreen, AFailedTakingsWriteLosesNothing) {
    SalesFixture f;
    f.start();
    SalesScreen* s = f.sales();
    f.type("AMILK1\n1\n");
    // The takings file vanishes while the sale is on screen.
    std::remove(f.dir.file("Results.dat").c_str());
    f.type("Y");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_NE(f.dialogs.texts()[0].find(f.dir.path() + "Results.dat"), std::string::npos);
    EXPECT_EQ(probe::cursor(s), "confirmField");
    EXPECT_TRUE(probe::text(s, "journalBox").empty());
    // Pressing the key again records the line once, in a new takings file.
    f.type("Y");
    EXPECT_EQ(probe::cursor(s), "codeField");
    EXPECT_EQ(f.lines(probe::widget<QPlainTextEdit>(s, "journalBox")).size(), 1u);
    EXPECT_EQ(f.dir.read("Results.dat"),
              "A MILK1             1.00       0.70         1.50         1.50          1.50\r\n");

    // The total is written as the payment covers the sale; when it cannot be,
    // the payment is not taken and the drawer stays shut.
    f.type("F\nC2");
    std::remove(f.dir.file("Results.dat").c_str());
    f.dialogs.shown.clear();
    f.type("\n");
    EXPECT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(probe::cursor(s), "paidField");
    EXPECT_EQ(probe::text(s, "paidField"), "2");
    EXPECT_DOUBLE_EQ(f.program->till.day().TotalTakings, 0);
    EXPECT_TRUE(f.ports.lines.empty());
    f.type("\n");
    EXPECT_EQ(probe::cursor(s), "changeField");
    EXPECT_DOUBLE_EQ(f.program->till.day().TotalTakings, 1.5);
    EXPECT_DOUBLE_EQ(f.program->till.day().TakingsCash, 1.5);
    EXPECT_EQ(f.dir.read("Results.dat"), "# Total*** 9:05    1.50     0.00     0.00             "
                                         "0.00        1.50        2.00  0.50\r\n");
    // Enter on the change only clears the screen.
    f.type("\n");
    EXPECT_EQ(probe::cursor(s), "salesPersonField");
    EXPECT_EQ(f.dir.read("Results.dat").size(), 88u + 2);
}

TEST(SalesScreen, ADocketThatDidNotPrintIsSaidBeforeTheNextOneReplacesIt) {
    SalesFixture f;
    f.start();
    f.dir.write("Slipjet.dat", "Printer takes no data (time-out)\r\n");
    f.dir.write("docket.prn", "4Tea\r\n");
    f.type("A");
    EXPECT_EQ(f.dialogs.texts(),
              std::vector<std::string>{"The last docket was not printed: Printer takes no data "
                                       "(time-out)\rPress Docket on the main screen to print it "
                                       "again."});
    EXPECT_EQ(probe::cursor(f.sales()), "salesPersonField");
    EXPECT_EQ(f.dir.read("docket.prn"), "4Tea\r\n");
    f.type("A");
    EXPECT_EQ(probe::cursor(f.sales()), "codeField");
    EXPECT_FALSE(f.dir.exists("Slipjet.dat"));
}

TEST(SalesScreen, TheLowStockNoteFollowsTheStockAsItIsNow) {
    SalesFixture f;
    f.config.LowStockPercent = 50; // low below 5 of 10
    f.writeNumberedHelp("hlpf.6", "i", 8);
    f.dir.write("Inventory.dat",
                " 4006381333931    10        0.0          8.0             0.0            0.40\r\n");
    // Three pens sold before this start, not yet consolidated.
    f.dir.write("Results.dat", "A 4006381333931     3.00       0.40        20.00        20.00"
                               "         60.00\r\n");
    f.start();
    SalesScreen* s = f.sales();
    f.type("A4006381333931");
    f.type("1\n");
    EXPECT_EQ(probe::text(s, "promptLabel"), "H7"); // 5 on stock: no note
    f.type("Y4006381333931");
    f.type("1\n");
    EXPECT_EQ(probe::text(s, "promptLabel"),
              "<font color=\"red\">Ballpoint pen blue on stock 4, reference level 10</font>");
    f.type("YF\nC50\n\n\x1b");

    // Ten received on the inventory screen count at once.
    InventoryScreen* inventory = static_cast<InventoryScreen*>(f.program->inventory);
    f.menu("inventoryEntry");
    QApplication::setActiveWindow(inventory);
    QApplication::processEvents();
    ASSERT_TRUE(inventory->isVisible());
    f.ProgramFixture::type(inventory, "4006381333931");
    f.ProgramFixture::type(inventory, "10\nay\x1b");
    f.open("saleButton", s);
    f.type("A4006381333931");
    f.type("1\n");
    EXPECT_EQ(probe::text(s, "promptLabel"), "H7");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{});
}
