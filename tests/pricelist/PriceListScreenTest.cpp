#include "pricelist/PriceListScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "pricelist/PriceLineCheck.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QClipboard>
#include <QDialog>
#include <QRegularExpression>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <functional>

namespace {

const std::string Apple = " APPLE         Apples red                       1.20       2.50 10";
const std::string Bread = " BREAD         Bread white                      0.80       1.95  5";
using Texts = std::vector<std::string>;

struct EditorFixture : ProgramFixture {
    // A list this short opens the entry form; most tests close it at once.
    explicit EditorFixture(bool keepForm = false) {
        writeNumberedHelp("hlpf.3", "p", 12);
        dir.write("Pricelist.dat", crlf({Apple, Bread}));
        config.LowStockPercent = 10;
        writeConfiguration(config);
        printerReady();
        start();
        openEditor();
        if (!keepForm) press(Qt::Key_Escape);
    }
    void openEditor() {
        menu("priceListEntry");
        QApplication::setActiveWindow(&editor());
        QApplication::processEvents();
    }
    PriceListScreen& editor() { return *program->priceList; }
    QWidget* focus() { return QApplication::focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    void typeText(const std::string& text) {
        QTest::keyClicks(focus(), QString::fromStdString(text));
    }
    std::string text() { return probe::text(&editor(), "listBox"); }
    std::string label() { return probe::text(&editor(), "positionLabel"); }
    std::string help() { return probe::text(&editor(), "helpBox"); }
    QColor colourOf(int line) {
        QTextCursor at(probe::widget<QPlainTextEdit>(&editor(), "listBox")
                           ->document()
                           ->findBlockByNumber(line - 1));
        at.movePosition(QTextCursor::NextCharacter);
        return at.charFormat().foreground().color();
    }
    Texts messages() {
        Texts texts = dialogs.texts();
        dialogs.shown.clear();
        return texts;
    }
};

const std::string Fault = "A fault found in this line.\rCorrect it and press the ENTER key again.";

} // namespace

TEST(PriceListScreen, AnArticleTypedIntoTheEntryLineIsSavedAndCanBeSold) {
    EditorFixture f;
    PriceListScreen& e = f.editor();
    ASSERT_TRUE(e.isVisible());
    EXPECT_EQ(f.messages(), Texts{});
    EXPECT_EQ(probe::focus(), "listBox");
    EXPECT_EQ(f.text(), Apple + "\n" + Bread);
    EXPECT_EQ(f.dir.read("Pricelist.bak"), crlf({Apple, Bread}));
    EXPECT_EQ(f.label(), "L 1   C 1   TotL 2");
    EXPECT_EQ(f.help(), "p1");
    f.press(Qt::Key_Right);
    f.press(Qt::Key_Right);
    EXPECT_EQ(f.label(), "L 1   C 3   TotL 2");
    EXPECT_EQ(f.help(), "p2");

    // Tab goes to the entry line; the text gets no tab.
    f.press(Qt::Key_Tab);
    EXPECT_EQ(probe::focus(), "lineField");
    EXPECT_EQ(f.help(), "p12");
    f.typeText("short");
    f.press(Qt::Key_Return);
    EXPECT_EQ(f.messages(), Texts{"This line is not compleet!"});
    f.press(Qt::Key_Delete);
    EXPECT_EQ(probe::text(&e, "lineField"), "");

    const std::string typed = " milk          milk 1l                          0,60       1.10 5";
    f.typeText(typed);
    EXPECT_EQ(f.label(), "L 1   C 66   TotL 1");
    f.press(Qt::Key_Return);
    EXPECT_EQ(f.messages(), Texts{Fault + "\rWholesale price (columns 43-52): a number -999999.99 "
                                          "to 9999999.99 with a decimal point"});
    EXPECT_FALSE(e.lineValid());
    EXPECT_EQ(probe::text(&e, "lineField"), typed);
    f.press(Qt::Key_Home);
    for (int i = 0; i < 48; ++i)
        f.press(Qt::Key_Right);
    f.press(Qt::Key_Delete); // clears the whole line
    f.typeText(" milk          milk 1l                          0.60       1.10 5");
    f.press(Qt::Key_Return);
    EXPECT_EQ(f.messages(), Texts{});
    const std::string Milk = " MILK          Milk 1l                          0.60       1.10  5";
    EXPECT_EQ(f.text(), Apple + "\n" + Bread + "\n" + Milk);
    EXPECT_EQ(probe::text(&e, "lineField"), "");

    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{});
    EXPECT_FALSE(e.isVisible());
    EXPECT_TRUE(probe::enabled(&f.main(), "saleButton"));
    // What the save writes besides the price list is PriceListSave's to check.
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({Apple, Bread, Milk}));
    // The save is in the audit trail, with the list's hash before and after.
    EXPECT_EQ(f.dir.read("Audit.dat").substr(0, 205),
              "2026-12-07 09:05:30 owner        price list save  Pricelist.dat  "
              "eec9c13f340472126056f071bd9f8a39da5f0db51bd80602804a399ed0392b20 "
              "3b149c3f056978354c6156ce3326c19fd6af790df26c851639446a49b7fc41c2        1\r\n");
}

TEST(PriceListScreen, AFaultyLineStopsTheSaveAndDoublesAreReported) {
    EditorFixture f;
    PriceListScreen& e = f.editor();
    f.messages();
    f.press(Qt::Key_End, Qt::ControlModifier);
    f.press(Qt::Key_Return);
    const std::string bad = " PEAR          Pears                            1,50       2.00  1";
    f.typeText(bad);
    f.press(Qt::Key_Up);
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{Fault + "\rLine 3, wholesale price (columns 43-52): a number "
                                          "-999999.99 to 9999999.99 with a decimal point"});
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(f.label(), "L 3   C 1   TotL 3");
    EXPECT_EQ(f.text(), Apple + "\n" + Bread + "\n" + bad);
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({Apple, Bread}));

    // The same line corrected into a second apple: saved, then reported.
    f.press(Qt::Key_End);
    for (size_t i = 0; i < bad.size(); ++i)
        f.press(Qt::Key_Backspace);
    f.typeText(Apple);
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{"Double entry was found."});
    EXPECT_TRUE(e.isVisible());
    EXPECT_FALSE(probe::visible(&e, "doubleCodesBox"));
    EXPECT_EQ(probe::text(&e, "doubleCodesBox"),
              " Checking for double entries.\n \n APPLE        ,  delete line No: 3\n"
              " APPLE        ,  delete line No: 3");
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({Apple, Bread, Apple}));

    // Nothing changed since: the doubles are shown again and the screen closes.
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{"Double entry was found."});
    EXPECT_FALSE(e.isVisible());
}

TEST(PriceListScreen, ARefusedSaveKeepsTheTextPointsAtTheFaultAndOnePressAfterTheFixSaves) {
    EditorFixture f;
    PriceListScreen& e = f.editor();
    f.messages();
    // The owner clears the apples' stock level to type a new one, and types a
    // lower-case article without Enter.
    f.press(Qt::Key_End);
    f.press(Qt::Key_Backspace);
    f.press(Qt::Key_Backspace);
    f.press(Qt::Key_End, Qt::ControlModifier);
    f.press(Qt::Key_Return);
    f.press(Qt::Key_Return);
    f.typeText(" pear          pears                      1.5        2          3");
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(),
              Texts{Fault + "\rLine 1, stock level (columns 65-66): a whole number 0 to 99"});
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({Apple, Bread}));
    EXPECT_EQ(f.label(), "L 1   C 1   TotL 4");
    EXPECT_FALSE(probe::widget<QPlainTextEdit>(&e, "listBox")->textCursor().hasSelection());
    EXPECT_EQ(f.colourOf(1), QColor(Qt::red));
    const std::string Pear = " PEAR          Pears                            1.50       2.00  3";
    const std::string cut = Apple.substr(0, 64);
    EXPECT_EQ(f.text(), cut + "\n" + Bread + "\n\n" + Pear);

    // Fixed and checked with Enter, the line turns black; one press saves and leaves.
    f.press(Qt::Key_End);
    f.typeText("12");
    f.press(Qt::Key_Return);
    EXPECT_EQ(f.messages(), Texts{});
    EXPECT_EQ(f.colourOf(1), QColor(Qt::black));
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{});
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({cut + "12", Bread, Pear}));
}

TEST(PriceListScreen, PastedTextPassesTheLineCheckAndCodesTakeOnlyWhatTheTillTypes) {
    EditorFixture f;
    PriceListScreen& e = f.editor();
    f.messages();
    // A paste into the text area, fixed without Enter: saved in its layout.
    QGuiApplication::clipboard()->setText(
        "\n ab-12         fee                        0.00       5.00       1");
    f.press(Qt::Key_End, Qt::ControlModifier);
    f.press(Qt::Key_V, Qt::ControlModifier);
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{Fault + "\rLine 3, code (columns 2-14): letters A to Z, digits "
                                          "and \"/\", without blanks"});
    for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Delete, Qt::Key_Right,
                    Qt::Key_Right, Qt::Key_Space})
        f.press(key);
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{});
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(
        f.dir.read("Pricelist.dat"),
        crlf({Apple, Bread, " AB12          Fee                              0.00       5.00  1"}));

    // The entry line takes a paste as typed keys: the tab and line end type nothing.
    f.openEditor();
    f.press(Qt::Key_Escape);
    f.press(Qt::Key_Tab);
    QGuiApplication::clipboard()->setText("a\tb\r\n");
    f.press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(probe::text(&e, "lineField"), "ab");
}

// The columns are asked once and kept; the import waits in the text for Exit & Save.
TEST(PriceListScreen, ImportsASuppliersListForReviewBeforeTheSave) {
    EditorFixture f;
    EXPECT_EQ(probe::text(&f.editor(), "importButton"), "&Import");
    f.dir.write("supplier.csv", "Price;Code\n2,75;apple\n1;PEAR\n3;BAD CODE\n");
    f.fileDialog.answers = {f.dir.file("supplier.csv")};
    f.dialogs.typed = {std::string("2,0,0,1,0")};
    f.dialogs.answers = {Dialogs::Answer::Yes};
    f.press(Qt::Key_I, Qt::AltModifier);
    const std::string pear = " PEAR                                           0.00       1.00  0";
    const std::string apple = " APPLE         Apples red                       1.20       2.75 10";
    EXPECT_EQ(f.text(), apple + "\n" + Bread + "\n" + pear);
    EXPECT_EQ(f.messages().back(),
              "1 lines added, 1 prices updated, 0 existing codes kept, 1 rows refused.\rRow 4: "
              "code (columns 2-14): letters A to Z, digits and \"/\", without blanks");
    EXPECT_EQ(f.dir.read("Options.dat"), "import-columns=2,0,0,1,0\r\n");
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({Apple, Bread}));
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({apple, Bread, pear}));
}

TEST(PriceListScreen, TheEntryFormAddsAnArticleWithoutCountingColumns) {
    EditorFixture f(true);
    PriceListScreen& e = f.editor();
    f.messages();
    auto field = [&e](PriceLineField which) {
        return probe::widget<EntryField>(&e, ("form" + std::to_string(size_t(which))).c_str());
    };
    ASSERT_TRUE(probe::visible(&e, "entryForm"));
    EXPECT_FALSE(probe::visible(&e, "lineField"));
    EXPECT_EQ(f.focus(), field(PriceLineField::Code));

    // Tab and Enter go on field by field; the sale price is too large.
    for (const char* text : {"vm1234", "vegemite 220g", "3.2", "10000000", "12"}) {
        f.typeText(text);
        f.press(text[0] == '3' ? Qt::Key_Tab : Qt::Key_Return);
    }
    EXPECT_EQ(f.messages(), Texts{"Sale price: a number up to 9999999.99"});
    ASSERT_EQ(f.focus(), field(PriceLineField::SalePrice));
    f.press(Qt::Key_A, Qt::ControlModifier);
    f.typeText("5,50"); // the comma is no key of a price
    EXPECT_EQ(field(PriceLineField::SalePrice)->text(), "550");
    f.press(Qt::Key_Left);
    f.press(Qt::Key_Left);
    f.typeText(".");
    f.press(Qt::Key_Return);
    f.press(Qt::Key_Return);
    EXPECT_EQ(f.messages(), Texts{});
    const std::string Vegemite =
        " VM1234        Vegemite 220g                    3.20       5.50 12";
    EXPECT_EQ(f.text(), Apple + "\n" + Bread + "\n" + Vegemite);
    EXPECT_EQ(f.label(), "L 3   C 1   TotL 3");
    EXPECT_EQ(f.focus(), field(PriceLineField::Code));
    for (EntryField* each : e.findChildren<EntryField*>(QRegularExpression("^form")))
        EXPECT_EQ(each->text(), "");

    // Shift+Tab reaches the marker: an expense takes no service code.
    f.press(Qt::Key_Backtab);
    ASSERT_EQ(f.focus(), field(PriceLineField::Marker));
    for (const char* text : {"x$", "/ren", "", "0", "0", "1"}) {
        f.typeText(text);
        f.press(Qt::Key_Return);
    }
    EXPECT_EQ(f.messages(), Texts{"Code: letters A to Z and digits, up to 13, without blanks"});
    EXPECT_EQ(field(PriceLineField::Marker)->text(), "$");
    EXPECT_EQ(f.focus(), field(PriceLineField::Code));

    // Esc closes the form; what it added is saved with the list.
    f.press(Qt::Key_Escape);
    EXPECT_FALSE(probe::visible(&e, "entryForm"));
    EXPECT_TRUE(probe::visible(&e, "lineField"));
    EXPECT_EQ(probe::focus(), "listBox");
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{});
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({Apple, Bread, Vegemite}));
}

TEST(PriceListScreen, TheFindBoxClosesOnAMatchOrEscAndEnterPressesTheFocusedButton) {
    EditorFixture f;
    PriceListScreen& e = f.editor();
    f.messages();
    f.press(Qt::Key_D, Qt::AltModifier);
    ASSERT_TRUE(probe::visible(&e, "findDialog"));
    probe::widget<QLineEdit>(&e, "findTextField")->setText("BREAD");
    QTest::keyClick(probe::widget<QLineEdit>(&e, "findTextField"), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(probe::visible(&e, "findDialog"));
    EXPECT_EQ(probe::focus(), "listBox");
    EXPECT_EQ(probe::widget<QPlainTextEdit>(&e, "listBox")->textCursor().selectedText(), "BREAD");

    f.press(Qt::Key_D, Qt::AltModifier);
    QTest::keyClick(probe::widget<QLineEdit>(&e, "findTextField"), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(probe::visible(&e, "findDialog"));
    EXPECT_EQ(probe::focus(), "listBox");

    // The list's Esc puts the cursor on Exit & Save, and Enter presses it.
    f.press(Qt::Key_Escape);
    ASSERT_EQ(probe::focus(), "exitButton");
    f.press(Qt::Key_Return);
    EXPECT_FALSE(e.isVisible());
}

// The standard editing keys in the fields of the editor; a paste or an undo
// passes the field's key rules as typed keys do.
TEST(PriceListScreen, EditingKeysWorkInTheEntryLineAndTheForm) {
    EditorFixture f(true);
    PriceListScreen& e = f.editor();
    f.messages();
    auto ctrl = [&f](Qt::Key key) { f.press(key, Qt::ControlModifier); };
    struct Case {
        PriceLineField field; // the entry line for Marker
        const char* typed;
        const char* clipboard;
        std::function<void()> keys;
        const char* text;
        const char* copied;
    };
    const Case cases[] = {
        {PriceLineField::Marker, "abc", "",
         [&] {
             ctrl(Qt::Key_A);
             ctrl(Qt::Key_C);
         },
         "abc", "abc"},
        {PriceLineField::Marker, "abcd", "",
         [&] {
             f.press(Qt::Key_Left, Qt::ShiftModifier);
             f.press(Qt::Key_Left, Qt::ShiftModifier);
             ctrl(Qt::Key_X);
         },
         "ab", "cd"},
        {PriceLineField::Marker, "ab", "x y", [&] { ctrl(Qt::Key_V); }, "abx y", ""},
        {PriceLineField::Marker, "ab", "z", [&] { f.press(Qt::Key_Insert, Qt::ShiftModifier); },
         "abz", ""},
        {PriceLineField::Marker, "abc", "",
         [&] {
             f.press(Qt::Key_Backspace);
             ctrl(Qt::Key_Z);
         },
         "abc", ""},
        {PriceLineField::Code, "ab", "c-d\t/1 ", [&] { ctrl(Qt::Key_V); }, "ABCD/1", ""},
        {PriceLineField::SalePrice, "", "1,5x.25",
         [&] { f.press(Qt::Key_Insert, Qt::ShiftModifier); }, "15.25", ""},
        {PriceLineField::SalePrice, "12", "",
         [&] {
             f.press(Qt::Key_Home);
             f.press(Qt::Key_End, Qt::ShiftModifier);
             ctrl(Qt::Key_X);
             ctrl(Qt::Key_Z);
         },
         "12", "12"},
        {PriceLineField::StockLevel, "1", "234", [&] { ctrl(Qt::Key_V); }, "12", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const bool line = c.field == PriceLineField::Marker;
        if (line && probe::visible(&e, "entryForm")) f.press(Qt::Key_Escape);
        if (line && f.focus() != probe::widget<EntryField>(&e, "lineField")) f.press(Qt::Key_Tab);
        if (!line && !probe::visible(&e, "entryForm")) f.press(Qt::Key_F, Qt::AltModifier);
        QLineEdit* field =
            line
                ? static_cast<QLineEdit*>(probe::widget<EntryField>(&e, "lineField"))
                : probe::widget<EntryField>(&e, ("form" + std::to_string(size_t(c.field))).c_str());
        field->clear();
        if (!line)
            probe::widget<EntryField>(&e, ("form" + std::to_string(size_t(c.field))).c_str())
                ->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(f.focus(), field);
        QGuiApplication::clipboard()->setText("");
        f.typeText(c.typed);
        QGuiApplication::clipboard()->setText(c.clipboard);
        c.keys();
        EXPECT_EQ(field->text().toStdString(), c.text);
        if (*c.copied) {
            EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.copied);
        }
    }
}
