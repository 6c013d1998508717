#include "inventory/InventoryScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

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
        menu("inventoryEntry");
        QApplication::setActiveWindow(&screen());
        QApplication::processEvents();
        dialogs.shown.clear();
    }
    InventoryScreen& screen() { return *qobject_cast<InventoryScreen*>(program->inventory); }
    QWidget* at() { return screen().activeControl(); }
    void type(const std::string& keys) { ProgramFixture::type(&screen(), keys); }
    std::string help() { return probe::text(&screen(), "helpBox"); }
    std::string before() { return probe::text(&screen(), "oldLineLabel"); }
    std::string after() { return probe::text(&screen(), "newLineLabel"); }
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
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "codeField"));
    EXPECT_EQ(f.help(), "i1");
    EXPECT_EQ(f.dir.read("Inventory.wrk"), Inventory);

    f.type("\r");
    EXPECT_EQ(f.messages(), Texts{"i3"});
    // An expense cannot be updated; the field is cleared.
    f.type("exp1\r");
    EXPECT_EQ(f.messages(),
              (Texts{" This is an EXPENSE and can't be updated.", " This code  was not found !"}));
    EXPECT_EQ(probe::text(&f.screen(), "codeField"), "");
    // A code not there is shown padded; the field keeps what was typed, so
    // Backspace takes a typed character back and the corrected code is found.
    f.type("4011200296909");
    EXPECT_EQ(f.messages(), Texts{" This code 4011200296909 was not found !"});
    // A full field takes no more: each further key searches the same code again.
    f.type("a");
    EXPECT_EQ(f.messages(), Texts{" This code 4011200296909 was not found !"});
    EXPECT_EQ(probe::text(&f.screen(), "codeField"), "4011200296909");
    EXPECT_EQ(probe::text(&f.screen(), "descriptionLabel"), "");
    f.type("\b8");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "quantityField"));
    EXPECT_EQ(f.before(), " 4011200296908   12         3           5        140.3");
    EXPECT_EQ(probe::text(&f.screen(), "descriptionLabel"), "Ballpoint pen blue");
    EXPECT_FALSE(probe::enabled(&f.screen(), "exitButton"));
    EXPECT_EQ(f.help(), "i4");

    f.type("1000\r");
    EXPECT_EQ(f.messages(), Texts{"i6"});
    QTest::keyClick(probe::widget<EntryField>(&f.screen(), "quantityField"), Qt::Key_Delete);
    // The stock is kept with one decimal, so a second one is not taken, by
    // key or otherwise.
    f.type("0.04");
    EXPECT_EQ(probe::text(&f.screen(), "quantityField"), "0.0");
    const std::string oneDecimal =
        "The stock is kept with one decimal: a change takes no more than one.";
    EXPECT_EQ(f.help(), oneDecimal);
    probe::widget<EntryField>(&f.screen(), "quantityField")->setText("4e-2");
    f.type("\r");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "quantityField"));
    EXPECT_EQ(f.help(), oneDecimal);
    EXPECT_EQ(f.messages(), Texts{});
    QTest::keyClick(probe::widget<EntryField>(&f.screen(), "quantityField"), Qt::Key_Delete);
    f.type("12\r");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "addDeductField"));
    EXPECT_EQ(f.help(), "i5");
    f.type("x");
    EXPECT_EQ(f.messages(), Texts{" Wrong key pressed !"});
    f.type("a");
    EXPECT_EQ(f.after(), " 4011200296908   12         3          17        140.3");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "confirmField"));
    EXPECT_EQ(f.help(), "i7");
    EXPECT_TRUE(probe::visible(&f.screen(), "newHeaderLabel"));
    EXPECT_EQ(probe::text(&f.screen(), "newHeaderLabel"), probe::text(&f.screen(), "headerLabel"));
    f.type("y");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "codeField"));
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
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "confirmField"));
    // The close button leaves like Exit: the apply cannot read the journal, so
    // the inventory stays as it was and the screen is left all the same.
    f.screen().close();
    texts = f.messages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(f.dir.file("Inventory.new")), std::string::npos) << texts[0];
    EXPECT_TRUE(f.main().isVisible());
    EXPECT_EQ(f.dir.read("Inventory.dat"), Inventory);
}
