#include "store/OwnerPin.h"
#include "forms/OwnerPinAsk.h"
#include "store/Options.h"
#include "store/ProgramState.h"
#include "support/CaseTable.h"
#include "support/Fakes.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sodium.h>

namespace {

// A hash as the library makes it, independent of the code under test. A
// hash names its own cost; the least keeps the tests quick.
std::string hashOf(const std::string& pin) {
    EXPECT_GE(sodium_init(), 0);
    char hash[crypto_pwhash_STRBYTES];
    EXPECT_EQ(crypto_pwhash_str(hash, pin.data(), pin.size(), crypto_pwhash_OPSLIMIT_MIN,
                                crypto_pwhash_MEMLIMIT_MIN),
              0);
    return hash;
}

} // namespace

TEST(OwnerPin, HashesAreSaltedAndOnlyTheRightPinMatches) {
    const std::string made = HashOwnerPin("90210573");
    EXPECT_TRUE(IsOwnerPinHash(made));
    EXPECT_EQ(made.find("90210573"), std::string::npos);
    EXPECT_TRUE(OwnerPinMatches(made, "90210573"));
    EXPECT_FALSE(OwnerPinMatches(made, "90210574"));
    const std::string hash = hashOf("90210573");
    EXPECT_NE(hashOf("90210573"), hash) << "two hashes of one PIN differ by their salt";
    EXPECT_TRUE(OwnerPinMatches(hash, "90210573"));
    for (const char* wrong : {"9021057", "902105730", "90210574", "", "90210573 "})
        EXPECT_FALSE(OwnerPinMatches(hash, wrong)) << wrong;
    EXPECT_FALSE(OwnerPinMatches("4711", "4711")) << "digits are never a hash";

    for (const TestCase& c : ReadTable("store/owner-pins.table"))
        EXPECT_EQ(IsValidOwnerPin(c["pin"]), c.flag("valid")) << c.where;

    // Options.dat takes a hash for the key, never the digits, and says so
    // without repeating them.
    const OptionKey& key = *FindOptionKey("owner-pin");
    EXPECT_FALSE(OptionValueFault(key, hash));
    EXPECT_FALSE(OptionValueFault(key, ""));
    const std::optional<std::string> fault = OptionValueFault(key, "90210573");
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->find("90210573"), std::string::npos);
}

// Three wrong entries lock the guarded places for 60 seconds of the clock;
// then the right PIN opens them again.
TEST(OwnerPin, ThreeWrongEntriesLockForAMinute) {
    FakeServices fakes;
    ProgramState state;
    std::vector<std::string> faults;
    state.options = Options::parse("owner-pin=" + hashOf("2468") + "\r\n", faults);
    ASSERT_TRUE(faults.empty());
    fakes.clock.time = {2026, 12, 7, 23, 59, 30};

    fakes.dialogs.secrets = {"1111", "2222", "3333", "2468"};
    EXPECT_FALSE(AskOwnerPin(state, fakes.services));
    EXPECT_EQ(fakes.dialogs.texts(),
              (std::vector<std::string>{"Owner PIN:", "Wrong PIN.", "Owner PIN:", "Wrong PIN.",
                                        "Owner PIN:", "Three wrong PINs: locked for 60 seconds."}));

    struct Step {
        DateTime at;
        bool opens;
        const char* said; // what is shown first
    };
    const Step steps[] = {
        {{2026, 12, 7, 23, 59, 30}, false, "Three wrong PINs: locked for 60 seconds."},
        {{2026, 12, 8, 0, 0, 29}, false, "Three wrong PINs: locked for 1 second."},
        {{2026, 12, 8, 0, 0, 30}, true, "Owner PIN:"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.said);
        fakes.clock.time = s.at;
        fakes.dialogs.shown.clear();
        EXPECT_EQ(AskOwnerPin(state, fakes.services), s.opens);
        ASSERT_FALSE(fakes.dialogs.shown.empty());
        EXPECT_EQ(fakes.dialogs.shown.front().text, s.said);
        EXPECT_EQ(fakes.dialogs.secretsAsked(), s.opens ? 1u : 0u);
    }
    EXPECT_TRUE(fakes.dialogs.secrets.empty());

    // A right entry starts the count again; a cancelled box is no entry.
    fakes.dialogs.secrets = {"1", "2", "2468", "1", "2", std::nullopt};
    EXPECT_TRUE(AskOwnerPin(state, fakes.services));
    EXPECT_FALSE(AskOwnerPin(state, fakes.services));
    EXPECT_EQ(state.pinGate.lockedFor(fakes.clock.now()), 0);

    // Without a PIN nothing is asked.
    fakes.dialogs.shown.clear();
    state.options = Options{};
    EXPECT_TRUE(AskOwnerPin(state, fakes.services));
    EXPECT_TRUE(fakes.dialogs.shown.empty());
}

TEST(OwnerPin, ResetRemovesThePinAndKeepsEveryOtherLine) {
    TestDir dir;
    const std::string hash = hashOf("1357");
    struct Case {
        const char* name;
        std::string before;
        std::string after;
        OwnerPinReset::Outcome outcome;
    };
    const Case cases[] = {
        {"a set PIN",
         "# the owner's notes\r\nshop-note=Back at 2\r\nowner-pin=" + hash +
             "\r\ntill-number=2\r\nscale=2\r\n",
         "# the owner's notes\r\nshop-note=Back at 2\r\ntill-number=2\r\nscale=2\r\n",
         OwnerPinReset::Outcome::Removed},
        // A damaged hash and a second line of the key go too.
        {"damaged PIN lines", "owner-pin=1357\nfloat=50\nOWNER-PIN = $argon2id$x\n", "float=50\r\n",
         OwnerPinReset::Outcome::Removed},
        {"no PIN", "shop-note=Open\n", "shop-note=Open\n", OwnerPinReset::Outcome::NoPin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("Options.dat", c.before);
        const OwnerPinReset reset = ResetOwnerPin(dir.path(), DateTime{2026, 12, 7, 9, 30, 0});
        EXPECT_EQ(reset.outcome, c.outcome);
        EXPECT_NE(reset.message.find(dir.file("Options.dat")), std::string::npos);
        EXPECT_EQ(dir.read("Options.dat"), c.after);
        // A reset is in the audit trail; nothing changed is not.
        EXPECT_EQ(dir.read("Audit.dat").find("2026-12-07 09:30") != std::string::npos,
                  c.outcome == OwnerPinReset::Outcome::Removed);
        dir.write("Audit.dat", "");
    }
    EXPECT_EQ(ResetOwnerPin(dir.file("nowhere/"), DateTime{}).outcome,
              OwnerPinReset::Outcome::Failed);
}
