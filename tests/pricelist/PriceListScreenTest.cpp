#include "pricelist/PriceListScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "pricelist/PriceLineCheck.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QClipboard>
#include <QDialog>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

const std::string Apple = " APPLE         Apples red                       1.20       2.50 10";
const std::string Bread = " BREAD         Bread white                      0.80       1.95  5";
using Texts = std::vector<std::string>;

struct EditorFixture : ProgramFixture {
    // A list this short opens the entry form; Esc closes it.
    EditorFixture() {
        writeNumberedHelp("hlpf.3", "p", 12);
        dir.write("Pricelist.dat", crlf({Apple, Bread}));
        config.LowStockPercent = 10;
        writeConfiguration(config);
        printerReady();
        start();
        openScreen("PriceListScreen");
        press(Qt::Key_Escape);
    }
    PriceListScreen& editor() { return *program->priceList; }
    std::string text() { return probe::text(&editor(), "listBox"); }
    std::string label() { return probe::text(&editor(), "positionLabel"); }
    QColor colourOf(int line) {
        QTextCursor at(probe::widget<QPlainTextEdit>(&editor(), "listBox")
                           ->document()
                           ->findBlockByNumber(line - 1));
        at.movePosition(QTextCursor::NextCharacter);
        return at.charFormat().foreground().color();
    }
};

const std::string Fault = "A fault found in this line.\rCorrect it and press the ENTER key again.";

} // namespace

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
