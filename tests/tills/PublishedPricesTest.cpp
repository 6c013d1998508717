#include "tills/PublishedPrices.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/Sha256.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string Apple = " APPLE         Apple                            1.20       2.50 10";
const std::string Pear = " PEAR          Pear                             0.80       1.50  5";
const std::string AppleStock =
    " APPLE                 10        1.0         20.0             5.0            6.00";
const std::string PearStock =
    " PEAR                   5        2.0          7.0             1.0            1.60";

struct PublishedPricesTest : ::testing::Test {
    TestDir office{"office"};
    TestDir till{"till"};
    DataFiles files{till.path()};
    Configuration config = DefaultConfiguration();

    PublishedPricesTest() {
        till.write("Pricelist.dat", crlf({Apple, Pear}));
        till.write("Inventory.dat", crlf({AppleStock, PearStock}));
    }

    // What Syncthing does: the office's Prices/ arrives in the till's.
    Notices publishAndStart(const std::string& officeList) {
        office.write("Pricelist.dat", officeList);
        EXPECT_EQ(PublishPrices(office.path(), {2026, 12, 7, 10, 15, 0}).status, 0);
        std::filesystem::copy(office.file("Prices"), till.file("Prices"),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        return TakePublishedPrices(files, config, {2026, 12, 8, 8, 0, 0});
    }
};

TEST_F(PublishedPricesTest, ANewerListReplacesTheTillsAndKeepsItsStock) {
    till.write("Audit.dat", "");
    const std::string dearerPear =
        " PEAR          Pear                             0.90       1.70  5";
    const Notices told = publishAndStart(crlf({dearerPear, Apple}));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text, "The price list the office published on 2026-12-07 10:15 is now the "
                            "till's price list.");
    EXPECT_EQ(till.read("Pricelist.dat"), crlf({dearerPear, Apple}));
    // The stock is the till's own: its lines stay as they were, in the list's order.
    EXPECT_EQ(till.read("Inventory.dat"), crlf({PearStock, AppleStock}));
    EXPECT_NE(till.read("Audit.dat").find("office prices"), std::string::npos);

    // Taken once: the next start leaves the list alone.
    till.write("Pricelist.dat", crlf({Apple}));
    EXPECT_TRUE(TakePublishedPrices(files, config, {2026, 12, 9, 8, 0, 0}).empty());
    EXPECT_EQ(till.read("Pricelist.dat"), crlf({Apple}));
}

// The office refuses to publish a list the tills would refuse, and a till
// refuses one that comes all the same (from an office that did not check).
TEST_F(PublishedPricesTest, AListThatFailsTheEditorsChecksIsRefusedWithTheReason) {
    const struct {
        std::string list;
        std::string reason;
    } cases[] = {
        {crlf({Apple, " PEAR          Pear                             0.80       abcd  5"}),
         "line 2, "},
        {crlf({Apple, Pear, Apple}), "a code stands on more than one line:"},
    };
    for (const auto& c : cases) {
        office.write("Pricelist.dat", c.list);
        const PricesPublished published = PublishPrices(office.path(), {2026, 12, 7, 10, 15, 0});
        EXPECT_EQ(published.status, 1) << c.reason;
        EXPECT_NE(published.message.find("Pricelist.dat is not published: " + c.reason),
                  std::string::npos)
            << published.message;
        EXPECT_FALSE(office.exists("Prices/Published.txt")) << c.reason;

        std::filesystem::create_directories(till.file("Prices"));
        till.write("Prices/Pricelist.dat", c.list);
        till.write("Prices/Published.txt", "20261207101500 " + Sha256Hex(c.list) + "\r\n");
        const Notices told = TakePublishedPrices(files, config, {2026, 12, 8, 8, 0, 0});
        ASSERT_EQ(told.size(), 1u) << c.reason;
        EXPECT_EQ(told[0].text.rfind("The price list the office published on 2026-12-07 10:15 "
                                     "was not taken: " +
                                         c.reason,
                                     0),
                  0u)
            << told[0].text;
        EXPECT_NE(told[0].text.find("The till keeps its own price list."), std::string::npos);
        EXPECT_EQ(till.read("Pricelist.dat"), crlf({Apple, Pear}));
        EXPECT_EQ(till.read("Inventory.dat"), crlf({AppleStock, PearStock}));
    }
}

} // namespace
