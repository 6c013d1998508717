#include "consolidation/ConsolidationScreen.h"
#include "app/MainScreen.h"
#include "backup/BackupRestore.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QPushButton>
#include <gtest/gtest.h>

// The presses of Next and what they leave are golden cases; here the letter
// alone while a button has the focus, the backup's check and the end.
TEST(ConsolidationScreen, TheLetterAlonePressesNextAndTheCloseEndsTheProgram) {
    ProgramFixture f;
    f.writeConfiguration(f.config);
    f.dir.write("Pricelist.dat",
                " APPLE         Apple                            1.20       2.50 10\r\n");
    f.dir.write("Results.dat",
                "A APPLE             3.00       1.20         2.50         2.50          7.50\r\n"
                "# Total*** 9:05    7.50     0.00     0.00             0.00        7.50"
                "        7.50  0.00\r\n");
    f.start();
    ConsolidationScreen& s = *f.program->consolidation;
    f.openScreen("ConsolidationScreen");
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    QTest::keyClick(&s, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(s.ConsolidationStep, 2);
    auto* next = probe::widget<QPushButton>(&s, "nextButton");
    next->setFocus();
    QTest::keyClick(next, Qt::Key_N);
    QTest::keyClick(next, Qt::Key_N);
    EXPECT_FALSE(probe::enabled(&s, "nextButton"));
    EXPECT_TRUE(VerifyBackup(f.dir.file("Backup/zorvi-20261207-0905-Z1.tar.zst")).ok);
    QTest::keyClick(&s, Qt::Key_X, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_TRUE(f.program->state.flags.QuitAfterConsolidation);
    EXPECT_FALSE(f.main().isVisible());
}
