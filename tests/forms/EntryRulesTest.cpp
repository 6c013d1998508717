#include "forms/EntryRules.h"
#include "support/CaseTable.h"

#include <gtest/gtest.h>

#include <map>

using EntryRules::CodeStep;

// Keys typed one by one into a code field.
TEST(EntryRules, CodeKeys) {
    const std::map<std::string, CodeStep> steps = {{"Typing", CodeStep::Typing},
                                                   {"Complete", CodeStep::Complete},
                                                   {"EmptyEnter", CodeStep::EmptyEnter},
                                                   {"StepBack", CodeStep::StepBack}};
    for (const TestCase& c : ReadTable("forms/code-keys.table")) {
        SCOPED_TRACE(c.where + " " + c.name);
        std::string code;
        EntryRules::CodeKey last{};
        for (char k : c["typed"])
            last = EntryRules::applyCodeKey(code, k, c.flag("services"), c.flag("mayStepBack"));
        EXPECT_EQ(code, c["code"]);
        EXPECT_EQ(last.step, steps.at(c["last"]));
        EXPECT_EQ(last.byLength, c.flag("byLength"));
        if (last.step != CodeStep::Typing) {
            EXPECT_EQ(last.key, 0);
        }
    }
}
