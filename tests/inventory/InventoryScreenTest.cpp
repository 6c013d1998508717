#include "inventory/InventoryScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "support/ProgramFixture.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string PriceList =
    crlf({" 4011200296908 Ballpoint pen blue               0.40       1.20 12",
          "$EXP1          Stationery                       0.00       0.00  0"});
// The pen as the consolidation wrote it (minmax in 5), the expense code.
const std::string Inventory =
    crlf({" 4011200296908    12        3.0          5.0           140.3           17.80",
          "$EXP1              0        0.0          0.0             0.0            0.00"});

struct InventoryFixture : ProgramFixture {
    InventoryFixture() {
        writeNumberedHelp("hlpf.6", "i", 8);
        dir.write("Pricelist.dat", PriceList);
        dir.write("Inventory.dat", Inventory);
        config.LowStockPercent = 10;
    }
    void open() {
        writeConfiguration(config);
        start();
        QTest::mouseClick(main().butmenu, Qt::LeftButton);
        main().RbutInvent->setFocus();
        QApplication::setActiveWindow(&screen());
        QApplication::processEvents();
        dialogs.shown.clear();
    }
    InventoryScreen& screen() { return *qobject_cast<InventoryScreen*>(program->Form7); }
    QWidget* at() { return screen().activeControl(); }
    void type(const std::string& keys) { ProgramFixture::type(&screen(), keys); }
    std::string help() { return screen().Memo2->toPlainText().toStdString(); }
    std::string before() { return screen().Labold->text().toStdString(); }
    std::string after() { return screen().Labnew->text().toStdString(); }
    std::vector<std::string> messages() {
        auto texts = dialogs.texts();
        dialogs.shown.clear();
        return texts;
    }
};

using Texts = std::vector<std::string>;

} // namespace

TEST(InventoryScreen, ChangesAreConfirmedOneByOneAndAppliedOnLeaving) {
    InventoryFixture f;
    f.open();
    ASSERT_TRUE(f.screen().isVisible());
    EXPECT_EQ(f.at(), f.screen().Edcode);
    EXPECT_EQ(f.help(), "i1");
    EXPECT_EQ(f.dir.read("Inventory.wrk"), Inventory);

    f.type("\r");
    EXPECT_EQ(f.messages(), Texts{"i3"});
    // An expense cannot be updated; the field is cleared.
    f.type("exp1\r");
    EXPECT_EQ(f.messages(),
              (Texts{" This is an EXPENSE and can't be updated.", " This code  was not found !"}));
    EXPECT_EQ(f.screen().Edcode->text(), "");
    // A code not there is shown padded; the field keeps what was typed, so
    // Backspace takes a typed character back and the corrected code is found.
    f.type("4011200296909");
    EXPECT_EQ(f.messages(), Texts{" This code 4011200296909 was not found !"});
    // A full field takes no more: each further key searches the same code again.
    f.type("a");
    EXPECT_EQ(f.messages(), Texts{" This code 4011200296909 was not found !"});
    EXPECT_EQ(f.screen().Edcode->text(), "4011200296909");
    EXPECT_EQ(f.screen().descriptionLabel->text(), "");
    f.type("\b8");
    EXPECT_EQ(f.at(), f.screen().Edqty);
    EXPECT_EQ(f.before(), " 4011200296908   12         3           5        140.3");
    EXPECT_EQ(f.screen().descriptionLabel->text(), "Ballpoint pen blue");
    EXPECT_FALSE(f.screen().butexit->isEnabled());
    EXPECT_EQ(f.help(), "i4");

    f.type("1000\r");
    EXPECT_EQ(f.messages(), Texts{"i6"});
    QTest::keyClick(f.screen().Edqty, Qt::Key_Delete);
    // The stock is kept with one decimal, so a second one is not taken, by
    // key or otherwise.
    f.type("0.04");
    EXPECT_EQ(f.screen().Edqty->text(), "0.0");
    const std::string oneDecimal =
        "The stock is kept with one decimal: a change takes no more than one.";
    EXPECT_EQ(f.help(), oneDecimal);
    f.screen().Edqty->setText("4e-2");
    f.type("\r");
    EXPECT_EQ(f.at(), f.screen().Edqty);
    EXPECT_EQ(f.help(), oneDecimal);
    EXPECT_EQ(f.messages(), Texts{});
    QTest::keyClick(f.screen().Edqty, Qt::Key_Delete);
    f.type("12\r");
    EXPECT_EQ(f.at(), f.screen().Edadd);
    EXPECT_EQ(f.help(), "i5");
    f.type("x");
    EXPECT_EQ(f.messages(), Texts{" Wrong key pressed !"});
    f.type("a");
    EXPECT_EQ(f.after(), " 4011200296908   12         3          17        140.3");
    EXPECT_EQ(f.at(), f.screen().Edyn);
    EXPECT_EQ(f.help(), "i7");
    EXPECT_TRUE(f.screen().Label6->isVisible());
    EXPECT_EQ(f.screen().Label6->text(), f.screen().Label5->text());
    f.type("y");
    EXPECT_EQ(f.at(), f.screen().Edcode);
    EXPECT_EQ(f.help(), "i8");
    EXPECT_EQ(f.dir.read("Inventory.new"), " 4011200296908 " + sp(6) + "12.0\r\n");

    // The second change still starts from the stock at activation; N keeps
    // nothing, D deducts.
    f.type("4011200296908");
    f.type("3\rd");
    EXPECT_EQ(f.before(), " 4011200296908   12         3           5        140.3");
    EXPECT_EQ(f.after(), " 4011200296908   12         3           2        140.3");
    f.type("n");
    f.type("4011200296908");
    f.type("3\rdy");
    EXPECT_EQ(f.dir.read("Inventory.dat"), Inventory);

    f.type("\x1b");
    EXPECT_TRUE(f.main().isVisible());
    EXPECT_FALSE(f.screen().isVisible());
    // The journal's bytes and the apply's layout are InventoryUpdate's to check.
    EXPECT_EQ(f.dir.read("Inventory.dat").substr(0, 81),
              " 4011200296908         12        3.0         14.0           140.3           17.80");
    EXPECT_FALSE(f.dir.exists("Inventory.new"));
    EXPECT_FALSE(f.dir.exists("Inventory.wrk"));
    // The update is in the audit trail; the rewrite lays out both lines anew.
    const std::string trail = f.dir.read("Audit.dat");
    ASSERT_EQ(trail.size(), 205u);
    EXPECT_EQ(trail.substr(0, 65),
              "2026-12-07 09:05:30 owner        inventory update Inventory.dat  ");
    EXPECT_EQ(trail.substr(195), "       2\r\n");
}

TEST(InventoryScreen, AChangeThatCannotBeWrittenIsNotLost) {
    InventoryFixture f;
    std::filesystem::create_directories(f.dir.file("Inventory.new"));
    f.open();
    f.type("4011200296908");
    f.type("1\ray");
    auto texts = f.messages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(f.dir.file("Inventory.new")), std::string::npos) << texts[0];
    EXPECT_EQ(f.at(), f.screen().Edyn);
    // The close button leaves like Exit: the apply cannot read the journal, so
    // the inventory stays as it was and the screen is left all the same.
    f.screen().close();
    texts = f.messages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(f.dir.file("Inventory.new")), std::string::npos) << texts[0];
    EXPECT_TRUE(f.main().isVisible());
    EXPECT_EQ(f.dir.read("Inventory.dat"), Inventory);
}
