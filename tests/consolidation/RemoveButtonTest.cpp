#include "app/MainScreen.h"
#include "consolidation/ConsolidationScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

TEST(RemoveButton, RefusesAForeignDirectoryAndRemovesTheProgramsFilesWhenZorviCloses) {
    ProgramFixture f;
    f.start();
    auto& s = *static_cast<ConsolidationScreen*>(f.program->consolidation);
    // The evening's Exit does not offer the removal; the menu entry does.
    f.dialogs.answers = {Dialogs::Answer::Yes};
    probe::click(&f.main(), "exitButton");
    ASSERT_TRUE(s.isVisible());
    EXPECT_FALSE(probe::visible(&s, "removeButton"));
    s.hide();
    f.main().show();
    f.menu("removeEntry");
    ASSERT_TRUE(probe::visible(&s, "removeButton"));

    // The program is not in this directory yet.
    f.dialogs.shown.clear();
    f.dialogs.answers = {Dialogs::Answer::Yes};
    f.dialogs.typed = {"REMOVE"};
    probe::widget<QPushButton>(&s, "removeButton")->click();
    ASSERT_EQ(f.dialogs.texts().size(), 3u);
    EXPECT_EQ(f.dialogs.texts()[2].rfind("Zorvi is not removed.", 0), 0u);
    EXPECT_TRUE(f.program->state.RemoveAtEnd.empty());

    // No, or anything but the word REMOVE, removes nothing.
    f.dir.write(QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString(), "");
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::Yes};
    f.dialogs.typed = {"remove"};
    probe::widget<QPushButton>(&s, "removeButton")->click();
    probe::widget<QPushButton>(&s, "removeButton")->click();
    EXPECT_EQ(f.dialogs.shown[0].buttons, Dialogs::Buttons::YesNoDefaultNo);
    EXPECT_EQ(f.dialogs.texts().back(), "Zorvi is not removed.");
    EXPECT_TRUE(f.program->state.RemoveAtEnd.empty());
    // Without a checked backup nothing is removed.
    f.program->state.options.set("backup-dir", "/nowhere/stick");
    f.dialogs.answers = {Dialogs::Answer::Yes};
    f.dialogs.typed = {"REMOVE"};
    probe::widget<QPushButton>(&s, "removeButton")->click();
    EXPECT_EQ(f.dialogs.texts().back(), "Zorvi is not removed.\rBACKUP FAILED: the backup "
                                        "folder /nowhere/stick/ is missing");
    EXPECT_TRUE(f.program->state.RemoveAtEnd.empty());
    f.program->state.options.set("backup-dir", "Backup");
    f.dialogs.answers = {Dialogs::Answer::Yes};
    f.dialogs.typed = {"REMOVE"};
    probe::widget<QPushButton>(&s, "removeButton")->click();
    EXPECT_EQ(f.dialogs.texts().back(),
              "Zorvi will be removed from your hard disk,\rWhen Zorvi closes, all Zorvi files "
              "will be gone.\rBackup written and checked: zorvi-20261207-0905-Z0.tar.zst\rin " +
                  f.dir.path() + "Backup/");
    EXPECT_TRUE(f.dir.exists("hlpf.7"));

    // Next starts the consolidation, which takes the button away; what is
    // made after the press stays, and its lock goes with the screen.
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    s.ButNextClick();
    EXPECT_FALSE(probe::visible(&s, "removeButton"));
    std::filesystem::create_directory(f.dir.file("keep"));
    f.dir.write("late.dat", "");
    f.program.reset();
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(f.dir.path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Audit.dat", "Backup", "keep", "late.dat"}));
    // The trail stays, with the removal that was stopped and the one made.
    std::vector<std::string> actions;
    const std::string trail = f.dir.read("Audit.dat");
    for (size_t at = 0; at + 49 <= trail.size(); at = trail.find('\n', at) + 1)
        actions.push_back(trail.substr(at + 33, 16));
    EXPECT_EQ(actions, (std::vector<std::string>{"removal         ", "removal stopped ",
                                                 "removal         "}));
}
