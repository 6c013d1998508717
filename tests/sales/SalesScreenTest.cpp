#include "sales/SalesScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "forms/FieldColours.h"
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

// The sales screen's keys and what they leave in Results.dat are golden
// cases; here what a case cannot say.
TEST(SalesScreen, FieldColoursTheBigFigureAndTheDocketPrinted) {
    SalesFixture f;
    f.start();
    SalesScreen* s = f.sales();
    auto colour = [s](const char* role) {
        return FieldColours::of(probe::widget<EntryField>(s, role));
    };
    EXPECT_EQ(colour("salesPersonField"), FieldColours::Entry);
    f.type("A");
    EXPECT_FALSE(probe::enabled(s, "exitButton"));
    QTest::keyClick(f.cursor(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(colour("codeField"), FieldColours::NewArticle);
    f.type("GIZMO\ngizmo\n1\n3\n");
    EXPECT_EQ(colour("quantityField"), FieldColours::NewArticle);
    f.type("1\n");
    EXPECT_EQ(colour("confirmField"), FieldColours::Confirm);
    f.type("YF\n");
    EXPECT_GE(probe::widget<QLabel>(s, "bigFigureLabel")->font().pixelSize(),
              2 * probe::widget<EntryField>(s, "totalField")->font().pixelSize());
    // The docket is finished and printed when the payments cover the total.
    f.type("C3\n");
    EXPECT_EQ(f.launcher.started, std::vector<std::string>{f.dir.path() + "Slipjet.exe"});
    f.type("\n");
    EXPECT_FALSE(f.program->till.takingsOpen());
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
