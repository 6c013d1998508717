#include "app/MainScreen.h"
#include "consolidation/ConsolidationScreen.h"
#include "forms/EntryField.h"
#include "setup/SetupScreen.h"
#include "store/OwnerPin.h"
#include "support/ProgramFixture.h"
#include "viewer/ViewerScreen.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sodium.h>

namespace {

const char* const Pin = "90210573";

struct PinFixture : ProgramFixture {
    explicit PinFixture(bool withPin = true) {
        writeTestShop();
        printerReady();
        dir.write(
            "Inventory.dat",
            " MILK1              4        1.0          5.0             0.0            0.00\r\n");
        config.LowStockPercent = 10;
        writeConfiguration(config);
        std::string options = "shop-note=Open\r\n";
        if (withPin) options += "owner-pin=" + hashOf(Pin) + "\r\n";
        dir.write("Options.dat", options);
    }
    static std::string hashOf(const char* pin) {
        EXPECT_GE(sodium_init(), 0);
        char hash[crypto_pwhash_STRBYTES];
        EXPECT_EQ(crypto_pwhash_str(hash, pin, std::strlen(pin), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                    crypto_pwhash_MEMLIMIT_INTERACTIVE),
                  0);
        return hash;
    }
    QWidget* focus() { return QApplication::focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    void menu(QRadioButton* MainScreen::*entry) {
        QTest::mouseClick(main().butmenu, Qt::LeftButton);
        (main().*entry)->setFocus();
        QApplication::processEvents();
    }
    ConsolidationScreen& consolidation() {
        return *static_cast<ConsolidationScreen*>(program->Form6);
    }
    ViewerScreen& viewer() { return *static_cast<ViewerScreen*>(program->Form8); }
    // Exit, then Yes: the day's close.
    void toConsolidation() {
        dialogs.answers = {Dialogs::Answer::Yes};
        QTest::mouseClick(main().butexit, Qt::LeftButton);
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
        {"setup", [](PinFixture& f) { f.menu(&MainScreen::RbutSetup); },
         [](PinFixture& f) { return f.program->Form2->isVisible(); }},
        {"price list", [](PinFixture& f) { f.menu(&MainScreen::RbutPlist); },
         [](PinFixture& f) { return f.program->Form3->isVisible(); }},
        {"inventory", [](PinFixture& f) { f.menu(&MainScreen::RbutInvent); },
         [](PinFixture& f) { return f.program->Form7->isVisible(); }},
        {"removal", [](PinFixture& f) { f.menu(&MainScreen::RbutRemove); },
         [](PinFixture& f) { return f.consolidation().ButDelete->isVisible(); }},
        {"viewer's edit mode",
         [](PinFixture& f) {
             f.open(f.main().Butintro, &f.viewer());
             for (Qt::Key k : {Qt::Key_End, Qt::Key_PageUp})
                 QTest::keyClick(f.viewer().RichEdit1, k);
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

// Selling, expenses and the day's close never ask, PIN or not.
TEST(OwnerPinScreens, SellingExpensesAndTheDaysCloseNeverAsk) {
    PinFixture f;
    f.start();
    auto* sales = static_cast<ZorviScreen*>(f.program->Form4);
    f.open(f.main().butsale, sales);
    f.type(sales, "AMILK1\n1\nYF\nC2\n\n");
    sales->close();
    auto* expense = static_cast<ZorviScreen*>(f.program->Form5);
    f.open(f.main().butexp, expense);
    f.type(expense, "AEXP1\r40\ry4\rF\r\r");
    expense->close();
    ASSERT_TRUE(f.main().isVisible());
    EXPECT_NE(f.dir.read("Results.dat").find("A MILK1 "), std::string::npos);
    EXPECT_NE(f.dir.read("Results.dat").find("$ EXP1 "), std::string::npos);
    f.toConsolidation();
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    f.consolidation().ButNextClick();
    f.consolidation().ButNextClick();
    f.consolidation().ButNextClick();
    EXPECT_NE(f.dir.read("Daybyday.dat"), "");
    EXPECT_EQ(f.dialogs.secretsAsked(), 0u);
}

// The PIN is set, changed and removed on the Options panel; Options.dat
// never holds its digits.
TEST(OwnerPinScreens, TheOptionsPanelSetsAndRemovesThePin) {
    PinFixture f(false);
    f.start();
    f.menu(&MainScreen::RbutSetup);
    auto& s = *static_cast<SetupScreen*>(f.program->Form2);
    QApplication::setActiveWindow(&s);
    EXPECT_EQ(f.dialogs.secretsAsked(), 0u);
    QLineEdit* field = nullptr;
    for (QLineEdit* e : s.opted)
        if (e->echoMode() == QLineEdit::Password) field = e;
    ASSERT_TRUE(field);

    struct Step {
        const char* typed;
        std::optional<std::string> again; // the PIN typed a second time
        const char* refusal;              // nothing: saved and left
        bool pinAfter;                    // Options.dat holds a PIN's hash
    };
    const Step steps[] = {
        {"123", std::nullopt, "The owner PIN takes 4 to 12 digits, or none to remove it.", false},
        {Pin, "90210537", "The two PINs differ; type the new PIN again.", false},
        {Pin, Pin, nullptr, true},
        {"", std::nullopt, nullptr, true},
        {"none", std::nullopt, nullptr, false},
    };
    for (const Step& k : steps) {
        SCOPED_TRACE(k.typed);
        if (!s.isVisible()) {
            f.dialogs.secrets = {Pin};
            f.menu(&MainScreen::RbutSetup);
            QApplication::setActiveWindow(&s);
        }
        f.press(Qt::Key_O, Qt::AltModifier);
        field->setText(k.typed);
        f.dialogs.shown.clear();
        f.dialogs.secrets = {k.again};
        f.press(Qt::Key_X, Qt::AltModifier);
        EXPECT_EQ(s.isVisible(), k.refusal != nullptr);
        if (k.refusal) {
            EXPECT_EQ(f.dialogs.texts().back(), k.refusal);
        }
        const std::string options = f.dir.read("Options.dat");
        EXPECT_EQ(options.find("902105"), std::string::npos);
        EXPECT_EQ(options.find("shop-note=Open\r\n"), 0u);
        EXPECT_EQ(options.find("$argon2") != std::string::npos, k.pinAfter);
        const std::string hash = f.program->state.options.value("owner-pin");
        EXPECT_EQ(!hash.empty(), k.pinAfter);
        if (!k.pinAfter) continue;
        EXPECT_NE(options.find("\r\nowner-pin=" + hash + "\r\n"), std::string::npos);
        EXPECT_TRUE(OwnerPinMatches(hash, Pin));
    }
}
