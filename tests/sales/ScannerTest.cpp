#include "app/MainScreen.h"
#include "sales/SalesScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

const char* const Red = "<font color=\"red\">Bar code misread: scan again</font>";

struct ScanFixture : ProgramFixture {
    ScanFixture() {
        writeTestShop();
        dir.write("Pricelist.dat",
                  dir.read("Pricelist.dat") +
                      " PLU01234      Cheese per kg                    5.00      12.99 10\r\n"
                      " P0042         Salad bowl                       3.00       9.99 10\r\n"
                      " 0036000291452 Tissues                          1.00       2.50 10\r\n");
        dir.write("Scale.dat", "21 5 W 3 PLU\r\n22 4 P 2 P\r\n");
    }
    void start() {
        writeConfiguration(config);
        printerReady();
        ProgramFixture::start();
        open("saleButton", sales());
        dialogs.shown.clear();
        dir.write("Results.dat", "");
        type("A");
    }
    SalesScreen* sales() { return program->sales; }
    QWidget* cursor() { return sales()->activeControl(); }
    void type(const std::string& keys) { ProgramFixture::type(sales(), keys); }

    void press(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        event.setTimestamp(m_time);
        QApplication::sendEvent(cursor(), &event);
        m_time += m_step;
    }
    // Keys as a scanner (5 ms apart) or a person (`step` apart) types them:
    // capitals with Shift pressed first, "\n" Enter, "\t" Tab.
    void keys(const std::string& text, unsigned long step = 5) {
        m_step = step;
        for (char c : text) {
            if (c == '\n')
                press(Qt::Key_Return, "\r", Qt::NoModifier);
            else if (c == '\t')
                press(Qt::Key_Tab, "\t", Qt::NoModifier);
            else if (c >= 'A' && c <= 'Z') {
                press(Qt::Key_Shift, "", Qt::NoModifier);
                press(static_cast<Qt::Key>(c), QString(QChar(c)), Qt::ShiftModifier);
            } else {
                press(static_cast<Qt::Key>(c >= 'a' && c <= 'z' ? c - 32 : c), QString(QChar(c)),
                      Qt::NoModifier);
            }
        }
        m_time += 1000;
    }

    unsigned long m_time = 100000;
    unsigned long m_step = 5;
};

} // namespace

TEST(Scanner, ShiftedCodesFromAScannerAndAPersonTypingAsEver) {
    ScanFixture f;
    f.start();
    SalesScreen* s = f.sales();
    // Capitals typed with Shift, ended by Enter or by Tab.
    for (const char* scan : {"MILK1\n", "BREAD\t"}) {
        f.keys(scan);
        EXPECT_EQ(probe::cursor(s), "quantityField") << scan;
        EXPECT_EQ(probe::text(s, "promptLabel"), "H5") << scan;
        f.type("\x1b");
    }
    // A lone capital is held back for the gap, nothing shown meanwhile, then
    // refused as a person's.
    const std::string before = probe::text(s, "promptLabel");
    f.keys("M");
    EXPECT_EQ(probe::text(s, "promptLabel"), before);
    QTest::qWait(80);
    EXPECT_EQ(probe::text(s, "promptLabel"), "H15");
    EXPECT_EQ(probe::text(s, "codeField"), "");
    // A person's Shift keys are refused as ever; the digit still types.
    f.keys("MILK1", 200);
    EXPECT_EQ(probe::text(s, "promptLabel"), "H15");
    EXPECT_EQ(probe::text(s, "codeField"), "1");
    // Three quick keys are no scan: the hint stands after the next slow key.
    f.keys("MI", 5);
    EXPECT_EQ(probe::text(s, "codeField"), "1");
    f.keys("\n", 200);
    EXPECT_EQ(probe::text(s, "promptLabel"), "H15");
    EXPECT_EQ(probe::text(s, "articleField"), "H19");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{});
}

TEST(Scanner, MisreadCodesAreRefusedTypedOnesNever) {
    ScanFixture f;
    f.start();
    SalesScreen* s = f.sales();
    struct Case {
        const char* keys;
        bool misread;
    };
    const Case cases[] = {
        {"4006381333932\n", true}, // its Enter is the scanner's suffix
        {"4006381339331", true},   // transposed digits
        {"96385075\n", true},      // EAN-8
        {"036000291453\t", true},  // UPC-A
        {"2101234012346\n", true}, // a weight label
        {"2200422014991\n", true}, // a price label's verifier digit
    };
    for (const Case& c : cases) {
        f.keys(c.keys);
        EXPECT_EQ(probe::text(s, "promptLabel"), Red) << c.keys;
        EXPECT_EQ(probe::text(s, "codeField"), "") << c.keys;
        EXPECT_EQ(probe::cursor(s), "codeField") << c.keys;
        EXPECT_EQ(probe::text(s, "articleField"), "") << c.keys;
    }
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{});
    // The next key takes the message away.
    f.type("5");
    EXPECT_EQ(probe::text(s, "promptLabel"), "H3");
    // A shop's own number, typed, is sold whatever its last digit.
    f.type("000000000017");
    EXPECT_EQ(probe::cursor(s), "quantityField");
}

TEST(Scanner, ScannedCodesUpcAndItsSuffix) {
    ScanFixture f;
    f.dir.write("Options.dat", "beep=on\r\n");
    f.start();
    SalesScreen* s = f.sales();
    // The Enter after a 13-digit code does not answer the quantity.
    f.keys("4006381333931\n");
    EXPECT_EQ(probe::cursor(s), "quantityField");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{});
    f.type("2\nY");
    // UPC-A is found as its EAN-13, which the record holds.
    f.keys("036000291452\n");
    EXPECT_EQ(probe::cursor(s), "quantityField");
    f.type("1\nY");
    EXPECT_EQ(f.dialogs.beeps, 2);
    EXPECT_EQ(f.dir.read("Results.dat"),
              "A 4006381333931     2.00       0.40        20.00        20.00         40.00\r\n"
              "A 0036000291452     1.00       1.00         2.50         2.50          2.50\r\n");
}

TEST(Scanner, WeightAndPriceLabelsAreSoldAtTheirFigures) {
    ScanFixture f;
    f.start();
    SalesScreen* s = f.sales();
    // 1.234 kg at 12.99 a kg: 16.02 (cut), the quantity written as 1.23.
    f.keys("2101234012345\n");
    EXPECT_EQ(probe::cursor(s), "confirmField");
    EXPECT_EQ(probe::text(s, "quantityField"), "1.23");
    f.type("Y");
    // A price label: one piece at the label's 14.99.
    f.keys("2200423014990\n");
    EXPECT_EQ(probe::cursor(s), "confirmField");
    f.type("Y");
    // An article the price list does not have: the code it stands for.
    f.keys("2109999012341\n");
    EXPECT_EQ(probe::text(s, "articleField"), "H19 PLU09999");
    EXPECT_EQ(probe::cursor(s), "codeField");
    // A label typed by hand is an ordinary code.
    f.type("2101234012345");
    EXPECT_EQ(probe::text(s, "articleField"), "H19");
    EXPECT_EQ(f.dir.read("Results.dat"),
              "A PLU01234          1.23       5.00        12.99        12.99         16.02\r\n"
              "A P0042             1.00       3.00         9.99        14.99         14.99\r\n");
}
