#include "setup/SetupScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "sales/SalesScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QFrame>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

struct SetupFixture : ProgramFixture {
    SetupFixture() {
        writeTestShop();
        printerReady();
    }
    SetupScreen& setup() { return *program->setup; }
    std::string help() { return probe::text(&setup(), "helpBox"); }
    QWidget* focus() { return QApplication::focusWidget(); }
    // Keys go where the keyboard would send them: to the focused control.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    void typeText(const char* text) { QTest::keyClicks(focus(), text); }
    // Clicks a field of the panel shown, unless the cursor is in it already
    // (a click there only moves the caret), and types over what it holds.
    void typeInto(QWidget* field, const char* text) {
        if (focus() != field)
            QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(3, 12));
        QApplication::processEvents();
        if (*text)
            typeText(text);
        else
            press(Qt::Key_Backspace);
    }
    // Opens the setup screen from the main screen's menu with Alt+S.
    void openSetup() {
        probe::click(&main(), "menuButton");
        press(Qt::Key_S, Qt::AltModifier);
        QApplication::setActiveWindow(&setup());
        QApplication::processEvents();
    }
};

} // namespace

TEST(SetupScreen, ANewTaxRateIsSavedAndUsedByTheNextSale) {
    SetupFixture f;
    f.writeConfiguration(f.config);
    f.start();
    f.openSetup();
    SetupScreen& s = f.setup();
    EXPECT_EQ(f.help(), "s1");

    f.press(Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(probe::visible(&s, "basicPanel"));
    EXPECT_EQ(probe::focus(), "taxField");
    EXPECT_EQ(f.help(), "s2");
    f.press(Qt::Key_End);
    f.press(Qt::Key_Backspace);
    f.typeText("12.5");
    // Tab runs down the left column, then down the right one.
    for (int i = 0; i < 5; ++i)
        f.press(Qt::Key_Tab);
    EXPECT_EQ(probe::focus(), "displayPortField");
    EXPECT_EQ(f.help(), "s21");

    f.press(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(probe::focus(), "salesPersonCode1");
    f.typeText("9k");
    EXPECT_EQ(probe::text(&s, "salesPersonCode1"), "K"); // a letter, in capitals

    // A configuration that cannot be stored keeps the operator here; the
    // window's close box is Exit & Save.
    std::filesystem::create_directory(f.dir.file("Configur.dat.~stg.~tmp"));
    s.close();
    ASSERT_EQ(f.dialogs.texts().size(), 1u);
    EXPECT_EQ(f.dialogs.texts()[0].rfind("I/O error in file " + f.dir.file("Configur.dat"), 0), 0u);
    EXPECT_TRUE(s.isVisible());
    std::filesystem::remove(f.dir.file("Configur.dat.~stg.~tmp"));

    f.dialogs.shown.clear();
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(f.dialogs.texts().empty());
    EXPECT_FALSE(s.isVisible());
    // The file's layout is Configuration's to check; here what the screen took over.
    const std::string saved = f.dir.read("Configur.dat");
    EXPECT_EQ(saved.substr(0, 12), "KA        \r\n");
    EXPECT_NE(saved.find("\r\n?? N   40   5     0     12.50      0.00   0.00   0.00\r\n"),
              std::string::npos);
    // The save is in the audit trail, once, for the one file it changed.
    const std::string trail = f.dir.read("Audit.dat");
    ASSERT_EQ(trail.size(), 205u);
    EXPECT_EQ(trail.substr(0, 65),
              "2026-12-07 09:05:30 owner        setup save       Configur.dat   ");

    QApplication::setActiveWindow(&f.main());
    f.open("saleButton", f.program->sales);
    auto* sales = static_cast<SalesScreen*>(f.program->sales);
    f.type(sales, "K4006381333931"
                  "1\nYF\n");
    EXPECT_EQ(probe::text(sales, "totalField"), "$22.50");
}

TEST(SetupScreen, ASampleDocketSavesTheSetupOnlyWhenThePrinterCanPrintIt) {
    SetupFixture f;
    f.writeConfiguration(f.config);
    f.start();
    f.openSetup();
    SetupScreen& s = f.setup();
    probe::widget<EntryField>(&s, "taxField")->setText("12.5");
    const std::string saved = f.dir.read("Configur.dat");
    f.dialogs.shown.clear();
    f.launcher.started.clear();

    // The test program cannot be started: retried once, then given up.
    f.launcher.startResult = 2;
    f.launcher.onRun = nullptr;
    f.dialogs.answers = {Dialogs::Answer::Retry, Dialogs::Answer::Cancel};
    f.press(Qt::Key_P, Qt::AltModifier);
    const std::string notFound =
        "The file " + f.dir.file("Devcheck.exe") +
        " not found!\rPress \"Help\" and see the paragraph \"Instalation\".";
    EXPECT_EQ(f.dialogs.texts(),
              (std::vector<std::string>{notFound, notFound,
                                        "Printer problem :\r" + f.dir.file("Devcheck.dat"),
                                        "Printer not ready!"}));
    EXPECT_EQ(f.dir.read("Configur.dat"), saved);
    EXPECT_EQ(f.printDialog.shown, 0);
    EXPECT_TRUE(f.launcher.started.empty());

    f.launcher.startResult = 33;
    f.printerReady();
    f.dialogs.shown.clear();
    f.press(Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(f.dialogs.texts(),
              std::vector<std::string>{"Printing a wide Sample docket.\r\nSwitch "
                                       "the Printer on and click on Ok"});
    EXPECT_NE(f.dir.read("Configur.dat")
                  .find("\r\n?? N   40   5     0     12.50      0.00   0.00   0.00\r\n"),
              std::string::npos);
    EXPECT_EQ(f.printDialog.shown, 1);
    EXPECT_EQ(f.launcher.started, std::vector<std::string>{f.dir.file("Slipjet.exe")});
}

TEST(SetupScreen, TheOptionsPanelKeepsTheShopsCommentsAndUnknownKeys) {
    SetupFixture f;
    f.writeConfiguration(f.config);
    f.dir.write("Options.dat", "# set by the owner\r\n"
                               "till-number=2\r\n"
                               "shop-note=Back at 2\r\n");
    f.start();
    EXPECT_EQ(probe::text(&f.main(), "shopNoteLabel"), "Back at 2");
    EXPECT_TRUE(probe::visible(&f.main(), "shopNoteLabel"));
    f.openSetup();
    SetupScreen& s = f.setup();

    // Every caption of the row of buttons shows whole.
    for (QPushButton* b : {probe::widget<QPushButton>(&s, "basicButton"),
                           probe::widget<QPushButton>(&s, "salesPersonButton"),
                           probe::widget<QPushButton>(&s, "docketButton"),
                           probe::widget<QPushButton>(&s, "languageButton"),
                           probe::widget<QPushButton>(&s, "optionsButton"),
                           probe::widget<QPushButton>(&s, "printDocketButton"),
                           probe::widget<QPushButton>(&s, "saveExitButton")}) {
        const QString caption = b->text().remove('&');
        QStyleOptionButton option;
        option.initFrom(b);
        const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(caption), room.width())
            << caption.toStdString();
        EXPECT_LE(b->geometry().right(), s.width());
    }

    f.press(Qt::Key_O, Qt::AltModifier);
    ASSERT_EQ(probe::focus(), "option:shop-note");
    EXPECT_TRUE(probe::visible(&s, "optionsPanel"));
    EXPECT_EQ(probe::selected(&s, "option:shop-note"), "Back at 2");
    EXPECT_EQ(f.help(), "A note of up to 40 characters shown in the main screen's status line.");
    // Typing replaces what was selected.
    f.typeText("Closed Monday");
    EXPECT_EQ(probe::text(&s, "option:shop-note"), "Closed Monday");

    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(s.isVisible());
    EXPECT_TRUE(f.dialogs.texts().empty());
    EXPECT_EQ(f.dir.read("Options.dat"), "# set by the owner\r\n"
                                         "till-number=2\r\n"
                                         "shop-note=Closed Monday\r\n");
    EXPECT_EQ(probe::text(&f.main(), "shopNoteLabel"), "Closed Monday");
}

TEST(SetupScreen, AnOptionsFileThatCannotBeReadIsReplacedOnlyWhenTheOperatorSaysSo) {
    SetupFixture f;
    f.writeConfiguration(f.config);
    f.dir.write("Options.dat", std::string(70 * 1024, '#'));
    f.start();
    const std::string fault = "The options file " + f.dir.file("Options.dat") +
                              " has faults; the default is used for:\rit is larger than 64 KiB";
    const std::vector<std::string> said = f.dialogs.texts();
    EXPECT_EQ(std::count(said.begin(), said.end(), fault), 1);
    f.openSetup();
    f.dialogs.shown.clear();
    f.press(Qt::Key_X, Qt::AltModifier);
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_TRUE(f.dialogs.shown[0].confirmation);
    EXPECT_EQ(f.dir.read("Options.dat"), std::string(70 * 1024, '#'));
    EXPECT_FALSE(f.setup().isVisible());

    f.openSetup();
    f.press(Qt::Key_O, Qt::AltModifier);
    f.typeText("Open");
    f.dialogs.answers = {Dialogs::Answer::Yes};
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.dir.read("Options.dat"), "shop-note=Open\r\n");
}

// However a field is entered its content is selected, so typing replaces it;
// a correction in the middle of a value stays where it is typed.
TEST(SetupScreen, TypingReplacesWhatAFieldHeldAndCorrectionsStayInPlace) {
    SetupFixture f;
    f.config.TaxRate = 10;
    f.writeConfiguration(f.config);
    f.start();
    f.openSetup();
    SetupScreen& s = f.setup();
    f.press(Qt::Key_B, Qt::AltModifier);
    ASSERT_EQ(probe::focus(), "taxField");
    EXPECT_EQ(probe::selected(&s, "taxField"), probe::text(&s, "taxField"));
    f.typeText("5");
    EXPECT_EQ(probe::text(&s, "taxField"), "5");
    f.press(Qt::Key_Home);
    f.typeText("12");
    EXPECT_EQ(probe::text(&s, "taxField"), "125");

    // By Tab and by the mouse alike.
    f.press(Qt::Key_Tab);
    ASSERT_EQ(probe::focus(), "lowDiscountField");
    EXPECT_EQ(probe::selected(&s, "lowDiscountField"), probe::text(&s, "lowDiscountField"));
    QTest::mouseClick(probe::widget<EntryField>(&s, "mediumDiscountField"), Qt::LeftButton,
                      Qt::NoModifier, QPoint(3, 12));
    QApplication::processEvents();
    ASSERT_EQ(probe::focus(), "mediumDiscountField");
    EXPECT_FALSE(probe::text(&s, "mediumDiscountField").empty());
    EXPECT_EQ(probe::selected(&s, "mediumDiscountField"), probe::text(&s, "mediumDiscountField"));
}

// A value the screen cannot save is sent back: one box says which field and
// what it takes, the field is selected on its panel, and no file changes. The
// fields are checked panel by panel as the buttons stand, so the first fault
// in that order is the one named.
TEST(SetupScreen, AValueThatCannotBeSavedIsSelectedForCorrectionAndNothingIsWritten) {
    SetupFixture f;
    f.config.PrintWidth = 100;         // read from the file, shown whole, saved at most 99
    f.config.SalesPersonCode[1] = "7"; // no letter
    f.writeConfiguration(f.config);
    f.dir.write("Options.dat", "shop-note=Open\r\n");
    f.start();
    f.openSetup();
    SetupScreen& s = f.setup();
    const std::string configuration = f.dir.read("Configur.dat");
    EXPECT_EQ(probe::text(&s, "printWidthField"), "100");

    const std::string codes = ": ?, nothing, or byte values 0 to 255 separated by commas, such "
                              "as 27,33,48";
    struct Case {
        int panelKey;
        EntryField* field;
        const char* typed; // nothing: the value as read from the file
        const char* holds;
        std::string message;
        QFrame* panel;
        const char* fix;
    };
    const Case cases[] = {
        {Qt::Key_B, probe::widget<EntryField>(&s, "printWidthField"), nullptr, "100",
         "Print width: a whole number 24 to 99", probe::widget<QFrame>(&s, "basicPanel"), "60"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "taxField"), "1.234", "1.234",
         "Tax rate: a number 0 to 100 with at most 2 decimals",
         probe::widget<QFrame>(&s, "basicPanel"), "17.5"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "lowDiscountField"), "-1", "-1",
         "Low discount: a number 0 to 100 with at most 2 decimals",
         probe::widget<QFrame>(&s, "basicPanel"), "2.5"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "mediumDiscountField"), "7,5", "7,5",
         "Medium discount: a number 0 to 100 with at most 2 decimals",
         probe::widget<QFrame>(&s, "basicPanel"), "10"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "highDiscountField"), "100.1", "100.1",
         "High discount: a number 0 to 100 with at most 2 decimals",
         probe::widget<QFrame>(&s, "basicPanel"), "0"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "drawerPortField"), "com10", "COM10",
         "Cash drawer port: one of COM0 to COM4, or PRN1 or PRN2 for a drawer on the printer",
         probe::widget<QFrame>(&s, "basicPanel"), "prn1"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "displayPortField"), "LPT1", "LPT1",
         "Customer display port: one of COM0 to COM4", probe::widget<QFrame>(&s, "basicPanel"),
         "COM2"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "displayWidthField"), "41", "41",
         "Customer display width: a whole number 0 to 40", probe::widget<QFrame>(&s, "basicPanel"),
         "20"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "pushOutField"), "", "",
         "Docket push out: a whole number 0 to 99", probe::widget<QFrame>(&s, "basicPanel"), "3"},
        {Qt::Key_B, probe::widget<EntryField>(&s, "lowStockField"), "-1", "-1",
         "Low stock warning: a whole number 0 to 99", probe::widget<QFrame>(&s, "basicPanel"),
         "15"},
        {Qt::Key_S, probe::widget<EntryField>(&s, "salesPersonCode2"), nullptr, "7",
         "SP2 code: one letter A to Z, or nothing", probe::widget<QFrame>(&s, "salesPersonPanel"),
         "k"},
        {Qt::Key_D, probe::widget<EntryField>(&s, "docketCode3"), "?27,33,48", "?27,33,48",
         "Telefon Line, printer code" + codes, probe::widget<QFrame>(&s, "docketPanel"),
         "27,33,48"},
        {Qt::Key_D, probe::widget<EntryField>(&s, "docketRelease9"), "27,256", "27,256",
         "Call again Line, release code" + codes, probe::widget<QFrame>(&s, "docketPanel"), "?"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.message);
        if (k.typed) {
            f.press(k.panelKey, Qt::AltModifier);
            f.typeInto(k.field, k.typed);
        }
        // The cursor elsewhere, on another panel: the refusal brings it back.
        f.press(Qt::Key_O, Qt::AltModifier);
        f.dialogs.shown.clear();
        f.press(Qt::Key_X, Qt::AltModifier);
        EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{k.message});
        EXPECT_TRUE(s.isVisible());
        EXPECT_TRUE(k.panel->isVisible());
        EXPECT_EQ(f.focus(), k.field);
        EXPECT_EQ(k.field->text(), k.holds);
        EXPECT_EQ(k.field->selectedText(), k.holds);
        EXPECT_EQ(f.dir.read("Configur.dat"), configuration);
        EXPECT_EQ(f.dir.read("Options.dat"), "shop-note=Open\r\n");
        f.typeText(k.fix); // over the selection
    }

    // Corrected, one press saves every value as typed and leaves.
    f.dialogs.shown.clear();
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(f.dialogs.texts().empty());
    EXPECT_FALSE(s.isVisible());
    std::string docketStrings;
    for (const char* line : {"?", "?", "?", "?", "?", "?", "27,33,48", "?", "?", "?", "?", "?",
                             "?", "?", "?", "?", "?", "?", "?",        "?", "?", "?", "?", "?"})
        docketStrings += std::string(line) + "\r\n";
    EXPECT_EQ(f.dir.read("Configur.dat"),
              "AA        \r\nKB        \r\nCC        \r\nDD        \r\nEE        \r\n"
              "COM2  20\r\n"
              "PRN1     currency-rounding-prnwidth-pushout-stock-tax-discount l m h\r\n"
              "?? N   60   3     15     17.50      2.50  10.00   0.00\r\n" +
                  docketStrings +
                  "Total\r\nSubtotal\r\nTax\r\n-Rounding\r\nCash paid\r\nChange\r\n"
                  "Credit Tender\r\nCheque Tender\r\nCash Tender\r\nCredit Refund\r\n"
                  "Cheque Refund\r\nCash refund\r\nServed by\r\n");
    EXPECT_EQ(f.dir.read("Options.dat"), "shop-note=Open\r\n");
}

// Alt+S puts the cursor in the first sales person's code with its content
// selected, from wherever it was, so the letter typed next replaces it.
TEST(SetupScreen, AltSAndALetterReplaceTheFirstSalesPersonsCode) {
    SetupFixture f;
    f.writeConfiguration(f.config);
    f.start();
    f.openSetup();
    SetupScreen& s = f.setup();
    struct Step {
        int before; // a key pressed first (with Alt when a letter), or 0
        const char* letter;
        const char* code;
    };
    const Step steps[] = {
        {0, "m", "M"},           // just opened, no panel shown
        {0, "n", "N"},           // the cursor still in that field
        {Qt::Key_Tab, "p", "P"}, // from the name beside it
        {Qt::Key_D, "q", "Q"},   // from another panel
    };
    for (const Step& k : steps) {
        SCOPED_TRACE(k.letter);
        if (k.before) f.press(k.before, k.before == Qt::Key_Tab ? Qt::NoModifier : Qt::AltModifier);
        f.press(Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(probe::visible(&s, "salesPersonPanel"));
        ASSERT_EQ(probe::focus(), "salesPersonCode1");
        f.typeText(k.letter);
        EXPECT_EQ(probe::text(&s, "salesPersonCode1"), k.code);
    }
    EXPECT_TRUE(f.dialogs.texts().empty());
}

// The consolidation credits a sales person's month-to-date figures by code:
// when the code changes, the figures go along when the operator says so, in
// the same save as the new code.
TEST(SetupScreen, AChangedSalesPersonCodeTakesItsFiguresAlongWhenTheOperatorSaysSo) {
    SetupFixture f;
    f.config.SalesPersonName[4] = "Eve";
    f.writeConfiguration(f.config);
    const std::string heading = "*         07/12/26          Services                 Sales\r\n";
    const std::string ann = "A   A                1.00       12.00        3.00       45.50\r\n";
    const std::string zeros = "        0.00        0.00        0.00        0.00\r\n";
    const std::string eve = "   Eve              0.00        0.00        2.00       19.90\r\n";
    const std::string persons =
        heading + ann + "B   B        " + zeros + "C   C        " + zeros + "D   D        " + zeros;
    f.dir.write("Spersons.dat", persons + "E" + eve);
    f.start();
    SetupScreen& s = f.setup();

    struct Case {
        const char* from;
        const char* to;
        Dialogs::Answer answer;
        const char* said; // after the question
        std::string file; // Spersons.dat after the save
    };
    const Case cases[] = {
        {"E", "F", Dialogs::Answer::Yes, nullptr, persons + "F" + eve},
        {"F", "G", Dialogs::Answer::No,
         "The figures of F stay under F and will leave the month's figures at the next "
         "consolidation.",
         persons + "F" + eve},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.to);
        f.openSetup();
        f.press(Qt::Key_S, Qt::AltModifier);
        EXPECT_EQ(probe::text(&s, "salesPersonCode5"), k.from);
        f.typeInto(probe::widget(&s, "salesPersonCode5"), k.to);
        f.dialogs.shown.clear();
        f.dialogs.answers = {k.answer};
        f.press(Qt::Key_X, Qt::AltModifier);
        ASSERT_FALSE(f.dialogs.shown.empty());
        EXPECT_TRUE(f.dialogs.shown[0].confirmation);
        EXPECT_EQ(f.dialogs.shown[0].buttons, Dialogs::Buttons::YesNo);
        std::vector<std::string> told = {std::string("Move the figures of ") + k.from + " to " +
                                         k.to + "?"};
        if (k.said) told.push_back(k.said);
        EXPECT_EQ(f.dialogs.texts(), told);
        EXPECT_FALSE(s.isVisible());
        EXPECT_EQ(f.dir.read("Spersons.dat"), k.file);
        EXPECT_EQ(f.dir.read("Configur.dat").substr(48, 12), std::string(k.to) + "Eve      \r\n");
        QApplication::setActiveWindow(&f.main());
    }
}
