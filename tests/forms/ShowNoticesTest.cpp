#include "forms/ShowNotices.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

// Boxes and notes keep the order logic said them in; without a prompt area a
// note is a box too, never lost.
TEST(ShowNotices, MessagesBecomeBoxesAndNotesGoToThePromptWhereThereIsOne) {
    const Notices notices = {{"first box", Notice::Kind::Message},
                             {"a note", Notice::Kind::Note},
                             {"second box", Notice::Kind::Message},
                             {"last note", Notice::Kind::Note}};

    FakeDialogs dialogs;
    std::vector<std::string> prompt;
    ShowNotices(dialogs, notices, [&](const std::string& note) {
        prompt.push_back(note + " after " + std::to_string(dialogs.shown.size()) + " boxes");
    });
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"first box", "second box"}));
    EXPECT_EQ(prompt,
              (std::vector<std::string>{"a note after 1 boxes", "last note after 2 boxes"}));
    for (const FakeDialogs::Shown& box : dialogs.shown)
        EXPECT_FALSE(box.confirmation);

    FakeDialogs noPrompt;
    ShowNotices(noPrompt, notices);
    EXPECT_EQ(noPrompt.texts(),
              (std::vector<std::string>{"first box", "a note", "second box", "last note"}));
}
