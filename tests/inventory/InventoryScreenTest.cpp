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
        openScreen("InventoryScreen");
        dialogs.shown.clear();
    }
    InventoryScreen& screen() { return *qobject_cast<InventoryScreen*>(program->inventory); }
    QWidget* at() { return screen().activeControl(); }
    void type(const std::string& keys) { ProgramFixture::type(&screen(), keys); }
};

using Texts = std::vector<std::string>;

} // namespace

// A quantity set otherwise than by keys is held to one decimal as well.
TEST(InventoryScreen, AQuantityWithASecondDecimalIsNotTaken) {
    InventoryFixture f;
    f.open();
    f.type("4011200296908");
    probe::widget<EntryField>(&f.screen(), "quantityField")->setText("4e-2");
    f.type("\r");
    EXPECT_EQ(f.at(), probe::widget<EntryField>(&f.screen(), "quantityField"));
    EXPECT_EQ(f.messages(), Texts{});
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
