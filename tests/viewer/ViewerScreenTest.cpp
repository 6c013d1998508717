#include "viewer/ViewerScreen.h"
#include "app/MainScreen.h"
#include "store/AuditTrail.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"
#include "takings/SealCheck.h"

#include <QMenu>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct ViewerFixture : ProgramFixture {
    ViewerFixture() {
        writeConfiguration(config);
        dir.write("Pricelist.dat",
                  " APPLE         Apple                            1.20       2.50 10\r\n");
        // Written on 2026-12-07 09:05:30 UTC.
        dir.write("Balance.Tot", "TAX TOTAL    1.00\r\nNET\r\n");
        fs::last_write_time(dir.file("Balance.Tot"),
                            std::chrono::file_clock::from_sys(
                                std::chrono::sys_seconds{std::chrono::seconds{1796634330}}));
    }
    ViewerScreen& viewer() { return *program->viewer; }
    void toViewer() {
        start();
        dialogs.shown.clear();
        open("viewPrintButton", &viewer());
    }
    void key(int k) {
        QTest::keyClick(probe::widget<QPlainTextEdit>(&viewer(), "textBox"),
                        static_cast<Qt::Key>(k));
    }
};

const std::string Packed =
    std::to_string((46u << 25) | (12u << 21) | (7u << 16) | (9u << 11) | (5u << 5) | 15u);

} // namespace

TEST(ViewerScreen, ViewsAFileAndSavesAnEditWithItsStampKept) {
    ViewerFixture f;
    f.toViewer();
    ViewerScreen& v = f.viewer();
    ASSERT_TRUE(v.isVisible());
    EXPECT_FALSE(f.main().isVisible());
    EXPECT_FALSE(probe::widget<QLabel>(&f.main(), "exitHintLabel")->isHidden());
    EXPECT_EQ(v.frameGeometry(), QRect(1, 1, 637, 453));
    EXPECT_TRUE(probe::text(&v, "textBox").starts_with("  Press Alt-M  for the menu.\n"));

    f.fileDialog.answers = {f.dir.file("Balance.Tot")};
    probe::widget<QAction>(&v, "viewAction")->trigger();
    EXPECT_EQ(f.fileDialog.titles, (std::vector<std::string>{"View a File"}));
    EXPECT_EQ(f.fileDialog.lastDirectory, f.dir.path());
    EXPECT_EQ(probe::text(&v, "textBox"), "TAX TOTAL    1.00\nNET");
    EXPECT_TRUE(probe::widget<QPlainTextEdit>(&v, "textBox")->isReadOnly());

    // End arms, other keys do not disarm, Page Up unlocks; then q and x are text.
    for (int k : {Qt::Key_End, Qt::Key_Down, Qt::Key_PageUp})
        f.key(k);
    ASSERT_TRUE(v.editMode());
    probe::widget<QPlainTextEdit>(&v, "textBox")->moveCursor(QTextCursor::End);
    QTest::keyClicks(probe::widget<QPlainTextEdit>(&v, "textBox"), " qx");
    EXPECT_TRUE(v.isVisible());
    f.key(Qt::Key_Escape);

    EXPECT_FALSE(v.isVisible());
    EXPECT_TRUE(f.main().isVisible());
    EXPECT_TRUE(probe::widget<QLabel>(&f.main(), "exitHintLabel")->isHidden());
    EXPECT_EQ(f.dir.read("Balance.Tot"), "TAX TOTAL    1.00\r\nNET qx\r\n");
    EXPECT_EQ(fs::last_write_time(f.dir.file("Balance.Tot")),
              std::chrono::file_clock::from_sys(
                  std::chrono::sys_seconds{std::chrono::seconds{1796634330}}));
    EXPECT_EQ(probe::text(&v, "exitHintLabel"), Packed);
    EXPECT_TRUE(f.dialogs.shown.empty());
    // The edit is in Audit.dat, which explains the sealed file's change.
    const std::vector<AuditEntry> audit = ReadAuditTrail(f.dir.path());
    ASSERT_EQ(audit.size(), 1u);
    EXPECT_EQ(audit[0].action + "|" + audit[0].file + "|" + audit[0].who,
              "viewer edit|Balance.Tot|owner");
    EXPECT_EQ(audit[0].linesChanged, 1);
    const SealCheck check = CheckSeals(f.dir.path());
    EXPECT_EQ(SealCheckStatus(check), 0);
    ASSERT_EQ(check.explained.size(), 1u);
    EXPECT_EQ(check.explained[0].rfind("EXPLAINED Balance.Tot: changed (expected ", 0), 0u);

    // The next visit starts read-only, and edit mode without a file writes nothing.
    f.open("viewPrintButton", &v);
    EXPECT_FALSE(v.editMode());
    for (int k : {Qt::Key_End, Qt::Key_PageUp})
        f.key(k);
    probe::widget<QAction>(&v, "exitAction")->trigger();
    EXPECT_EQ(f.dir.read("Balance.Tot"), "TAX TOTAL    1.00\r\nNET qx\r\n");
}

TEST(ViewerScreen, PrintsToPdfAndAKeyExitHidesTheTextUntilTheMenu) {
    ViewerFixture f;
    f.toViewer();
    ViewerScreen& v = f.viewer();

    f.fileDialog.answers = {f.dir.file("Missing.dat"), f.dir.file("Balance.Tot"),
                            f.dir.file("Balance.Tot")};
    f.printDialog.outcome = PrintDialog::Outcome::PrintedToPdf;
    probe::widget<QAction>(&v, "printAction")->trigger();
    EXPECT_EQ(f.dialogs.texts(),
              (std::vector<std::string>{" The file " + f.dir.file("Missing.dat") +
                                        "\r does not exist."}));
    EXPECT_EQ(f.printDialog.shown, 0);

    f.printDialog.outcome = PrintDialog::Outcome::Cancelled;
    probe::widget<QAction>(&v, "printAction")->trigger();
    EXPECT_EQ(f.printDialog.shown, 1);
    EXPECT_TRUE(f.printDialog.printed.empty());

    f.printDialog.outcome = PrintDialog::Outcome::PrintedToPdf;
    f.dialogs.shown.clear();
    probe::widget<QAction>(&v, "printAction")->trigger();
    ASSERT_EQ(f.printDialog.printed.size(), 1u);
    EXPECT_EQ(f.printDialog.printed[0].title, f.dir.file("Balance.Tot"));
    EXPECT_EQ(f.printDialog.printed[0].text, "TAX TOTAL    1.00\nNET");
    EXPECT_EQ(f.printDialog.printed[0].pdfPath, f.dir.file("Balance.Tot.pdf"));
    EXPECT_EQ(f.dialogs.texts(), (std::vector<std::string>{"No printer is installed.\rThe file was "
                                                           "printed to " +
                                                           f.dir.file("Balance.Tot.pdf")}));

    // Apply shows a font at once; Cancel keeps the one applied last.
    f.fontDialog.applied = {{"DejaVu Sans Mono", 14, false, false}};
    probe::widget<QAction>(&v, "fontAction")->trigger();
    EXPECT_EQ(probe::widget<QPlainTextEdit>(&v, "textBox")->font().pointSizeF(), 14);

    f.key(Qt::Key_X);
    EXPECT_FALSE(v.isVisible());
    EXPECT_TRUE(f.main().isVisible());
    f.open("viewPrintButton", &v);
    EXPECT_FALSE(probe::visible(&v, "textBox"));
    emit probe::widget<QMenu>(&v, "fileMenu")->aboutToShow();
    EXPECT_TRUE(probe::visible(&v, "textBox"));
}
