#include "forms/EntryRules.h"

#include <gtest/gtest.h>

using EntryRules::CodeStep;

// Keys typed one by one into a code field.
TEST(EntryRules, CodeKeys) {
    struct Case {
        const char* name;
        std::string typed;
        bool services, mayStepBack;
        std::string code;
        CodeStep last;
        bool byLength;
    };
    const std::string thirteen = "4006381333931";
    const Case cases[] = {
        {"capitals", "ab1", true, true, "AB1", CodeStep::Typing, false},
        {"Enter completes and pads", "ab1\r", true, true, "AB1          ", CodeStep::Complete,
         false},
        {"13th character completes", thirteen, true, true, thirteen, CodeStep::Complete, true},
        {"Enter on nothing", "\r", true, true, "", CodeStep::EmptyEnter, false},
        {"Backspace", "ab\b", true, true, "A", CodeStep::Typing, false},
        {"signs, points and blanks dropped", "-.$ 1", true, true, "1", CodeStep::Typing, false},
        {"slash for services", "/r", true, true, "/R", CodeStep::Typing, false},
        {"no services", "/r", false, true, "R", CodeStep::Typing, false},
        {"Esc steps back", "a\x1b", true, true, "A", CodeStep::StepBack, false},
        {"Esc is dropped once a line is booked", "a\x1b", true, false, "A", CodeStep::Typing,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string code;
        EntryRules::CodeKey last{};
        for (char k : c.typed)
            last = EntryRules::applyCodeKey(code, k, c.services, c.mayStepBack);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(last.step, c.last);
        EXPECT_EQ(last.byLength, c.byLength);
        if (last.step != CodeStep::Typing) {
            EXPECT_EQ(last.key, 0);
        }
    }
}
