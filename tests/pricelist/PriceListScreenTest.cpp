#include "pricelist/PriceListScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "support/ProgramFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

const std::string Apple = " APPLE         Apples red                       1.20       2.50 10";
const std::string Bread = " BREAD         Bread white                      0.80       1.95  5";
using Texts = std::vector<std::string>;

struct EditorFixture : ProgramFixture {
    EditorFixture() {
        writeNumberedHelp("hlpf.3", "p", 12);
        dir.write("Pricelist.dat", crlf({Apple, Bread}));
        config.LowStockPercent = 10;
        writeConfiguration(config);
        printerReady();
        start();
        QTest::mouseClick(main().butmenu, Qt::LeftButton);
        main().RbutPlist->setFocus();
        QApplication::setActiveWindow(&editor());
        QApplication::processEvents();
    }
    TForm3& editor() { return *qobject_cast<TForm3*>(program->Form3); }
    QWidget* focus() { return QApplication::focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    void typeText(const std::string& text) {
        QTest::keyClicks(focus(), QString::fromStdString(text));
    }
    std::string text() { return editor().REdit1->toPlainText().toStdString(); }
    std::string label() { return editor().Label3->text().toStdString(); }
    std::string help() { return editor().Memo1->toPlainText().toStdString(); }
    QColor colourOf(int line) {
        QTextCursor at(editor().REdit1->document()->findBlockByNumber(line - 1));
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
    TForm3& e = f.editor();
    ASSERT_TRUE(e.isVisible());
    EXPECT_EQ(f.messages(), Texts{});
    EXPECT_EQ(f.focus(), e.REdit1);
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
    EXPECT_EQ(f.focus(), e.Edit1);
    EXPECT_EQ(f.help(), "p12");
    f.typeText("short");
    f.press(Qt::Key_Return);
    EXPECT_EQ(f.messages(), Texts{"This line is not compleet!"});
    f.press(Qt::Key_Delete);
    EXPECT_EQ(e.Edit1->text(), "");

    const std::string typed = " milk          milk 1l                          0,60       1.10 5";
    f.typeText(typed);
    EXPECT_EQ(f.label(), "L 1   C 66   TotL 1");
    f.press(Qt::Key_Return);
    EXPECT_EQ(f.messages(), Texts{Fault + "\rWholesale price (columns 43-52): a number -999999.99 "
                                          "to 9999999.99 with a decimal point"});
    EXPECT_FALSE(e.lineValid());
    EXPECT_EQ(e.Edit1->text().toStdString(), typed);
    f.press(Qt::Key_Home);
    for (int i = 0; i < 48; ++i)
        f.press(Qt::Key_Right);
    f.press(Qt::Key_Delete); // clears the whole line
    f.typeText(" milk          milk 1l                          0.60       1.10 5");
    f.press(Qt::Key_Return);
    EXPECT_EQ(f.messages(), Texts{});
    const std::string Milk = " MILK          Milk 1l                          0.60       1.10  5";
    EXPECT_EQ(f.text(), Apple + "\n" + Bread + "\n" + Milk);
    EXPECT_EQ(e.Edit1->text(), "");

    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.messages(), Texts{});
    EXPECT_FALSE(e.isVisible());
    EXPECT_TRUE(f.main().butsale->isEnabled());
    // What the save writes besides the price list is PriceListSave's to check.
    EXPECT_EQ(f.dir.read("Pricelist.dat"), crlf({Apple, Bread, Milk}));
}

TEST(PriceListScreen, AFaultyLineStopsTheSaveAndDoublesAreReported) {
    EditorFixture f;
    TForm3& e = f.editor();
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
    EXPECT_FALSE(e.Memo3->isVisible());
    EXPECT_EQ(e.Memo3->toPlainText().toStdString(),
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
    TForm3& e = f.editor();
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
    EXPECT_FALSE(e.REdit1->textCursor().hasSelection());
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
    TForm3& e = f.editor();
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
    QTest::mouseClick(f.main().butmenu, Qt::LeftButton);
    f.main().RbutPlist->setFocus();
    QApplication::setActiveWindow(&e);
    QApplication::processEvents();
    f.press(Qt::Key_Tab);
    QGuiApplication::clipboard()->setText("a\tb\r\n");
    f.press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(e.Edit1->text().toStdString(), "ab");
}

// The columns are asked once and kept; the import waits in the text for Exit & Save.
TEST(PriceListScreen, ImportsASuppliersListForReviewBeforeTheSave) {
    EditorFixture f;
    EXPECT_EQ(f.editor().butimport->text(), "&Import");
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
