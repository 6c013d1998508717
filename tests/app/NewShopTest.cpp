#include "inventory/InventoryFile.h"
#include "pricelist/PriceList.h"
#include "store/Configuration.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string shipped(const std::string& name) {
    std::ifstream in(std::string(ZORVI_SOURCE_DIR) + "/data/newshop/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

// The empty shop that zorvi-new-shop lays out: a configuration the program
// reads without a fault, the sample line, and an inventory without history.
TEST(NewShop, StartsWithTheSampleLineAndNoHistory) {
    Configuration config = DefaultConfiguration();
    ConfigurationReading reading =
        ReadConfiguration(std::string(ZORVI_SOURCE_DIR) + "/data/newshop/Configur.dat", config);
    EXPECT_TRUE(reading.found);
    EXPECT_TRUE(reading.notices.empty());
    EXPECT_EQ(config.TaxRate, 0);
    EXPECT_EQ(config.SalesPersonCode[0], "A");

    EXPECT_EQ(shipped("Pricelist.dat"), std::string(PriceListSampleLine) + "\r\n");
    const std::string inventory = shipped("Inventory.dat");
    EXPECT_EQ(
        inventory,
        " SAMPLE___CODE          0        0.0          0.0             0.0            0.00\r\n");
    InventoryLine line;
    ASSERT_TRUE(ParseInventoryLine(inventory.substr(0, inventory.size() - 2), line));
    EXPECT_EQ(line.InvSold + line.InvOnStock + line.InvTotalSold + line.InvValue, 0);
}
