#include "app/MainScreen.h"
#include "consolidation/ConsolidationScreen.h"
#include "expenses/ExpenseScreen.h"
#include "inventory/InventoryScreen.h"
#include "pricelist/PriceListScreen.h"
#include "sales/SalesScreen.h"
#include "setup/SetupScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"
#include "viewer/ViewerScreen.h"

#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sodium.h>

namespace {

const char* const Pin = "90210573";

struct PinFixture : ProgramFixture {
    PinFixture() {
        writeTestShop();
        printerReady();
        dir.write(
            "Inventory.dat",
            " MILK1              4        1.0          5.0             0.0            0.00\r\n");
        config.LowStockPercent = 10;
        writeConfiguration(config);
        dir.write("Options.dat", "shop-note=Open\r\nowner-pin=" + hashOf(Pin) + "\r\n");
    }
    static std::string hashOf(const char* pin) {
        EXPECT_GE(sodium_init(), 0);
        char hash[crypto_pwhash_STRBYTES];
        EXPECT_EQ(crypto_pwhash_str(hash, pin, std::strlen(pin), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                    crypto_pwhash_MEMLIMIT_INTERACTIVE),
                  0);
        return hash;
    }
    ConsolidationScreen& consolidation() { return *program->consolidation; }
    ViewerScreen& viewer() { return *program->viewer; }
    // Exit, then Yes: the day's close.
    void toConsolidation() {
        dialogs.answers = {Dialogs::Answer::Yes};
        probe::click(&main(), "exitButton");
    }
};

} // namespace

// Each guarded place asks first, stays shut for a wrong PIN and opens for the right one.
TEST(OwnerPinScreens, EachGuardedPlaceAsksForThePinFirst) {
    struct Place {
        const char* name;
        std::function<void(PinFixture&)> enter;
        std::function<bool(PinFixture&)> opened;
        bool freshRun = false; // the right PIN is tried in a new run of the program
    };
    const Place places[] = {
        {"setup", [](PinFixture& f) { f.menu("setupEntry"); },
         [](PinFixture& f) { return f.program->setup->isVisible(); }},
        {"price list", [](PinFixture& f) { f.menu("priceListEntry"); },
         [](PinFixture& f) { return f.program->priceList->isVisible(); }},
        {"inventory", [](PinFixture& f) { f.menu("inventoryEntry"); },
         [](PinFixture& f) { return f.program->inventory->isVisible(); }},
        {"removal", [](PinFixture& f) { f.menu("removeEntry"); },
         [](PinFixture& f) { return probe::visible(&f.consolidation(), "removeButton"); }},
        {"viewer's edit mode",
         [](PinFixture& f) {
             f.open("viewPrintButton", &f.viewer());
             for (Qt::Key k : {Qt::Key_End, Qt::Key_PageUp})
                 QTest::keyClick(probe::widget<QPlainTextEdit>(&f.viewer(), "textBox"), k);
         },
         [](PinFixture& f) { return f.viewer().editMode(); }},
        {"period end",
         [](PinFixture& f) {
             f.toConsolidation();
             // No printing, Yes to the period end.
             f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::Yes};
             f.consolidation().ButNextClick();
         },
         [](PinFixture& f) { return f.consolidation().PeriodEnd; }, true},
    };
    for (const Place& p : places) {
        std::unique_ptr<PinFixture> run;
        for (const bool right : {false, true}) {
            SCOPED_TRACE(std::string(p.name) + (right ? ", right PIN" : ", wrong PIN"));
            if (!run || p.freshRun) {
                run.reset();
                run = std::make_unique<PinFixture>();
                run->start();
            }
            PinFixture& f = *run;
            f.dialogs.shown.clear();
            // A wrong PIN is asked again; the second box is cancelled.
            f.dialogs.secrets = {right ? Pin : "1234"};
            p.enter(f);
            EXPECT_EQ(f.dialogs.secretsAsked(), right ? 1u : 2u);
            EXPECT_EQ(p.opened(f), right);
        }
    }
}
