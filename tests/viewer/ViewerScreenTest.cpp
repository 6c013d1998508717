#include "viewer/ViewerScreen.h"
#include "app/MainScreen.h"
#include "store/AuditTrail.h"
#include "support/ProgramFixture.h"
#include "takings/SealCheck.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
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
    ViewerScreen& viewer() { return *static_cast<ViewerScreen*>(program->Form8); }
    void toViewer() {
        start();
        dialogs.shown.clear();
        open(main().Butintro, &viewer());
    }
    void key(int k) { QTest::keyClick(viewer().RichEdit1, static_cast<Qt::Key>(k)); }
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
    EXPECT_FALSE(f.main().Label3->isHidden());
    EXPECT_EQ(v.frameGeometry(), QRect(1, 1, 637, 453));
    EXPECT_TRUE(v.RichEdit1->toPlainText().startsWith("  Press Alt-M  for the menu.\n"));

    f.fileDialog.answers = {f.dir.file("Balance.Tot")};
    v.View1->trigger();
    EXPECT_EQ(f.fileDialog.titles, (std::vector<std::string>{"View a File"}));
    EXPECT_EQ(f.fileDialog.lastDirectory, f.dir.path());
    EXPECT_EQ(v.RichEdit1->toPlainText(), "TAX TOTAL    1.00\nNET");
    EXPECT_TRUE(v.RichEdit1->isReadOnly());

    // End arms, other keys do not disarm, Page Up unlocks; then q and x are text.
    for (int k : {Qt::Key_End, Qt::Key_Down, Qt::Key_PageUp})
        f.key(k);
    ASSERT_TRUE(v.editMode());
    v.RichEdit1->moveCursor(QTextCursor::End);
    QTest::keyClicks(v.RichEdit1, " qx");
    EXPECT_TRUE(v.isVisible());
    f.key(Qt::Key_Escape);

    EXPECT_FALSE(v.isVisible());
    EXPECT_TRUE(f.main().isVisible());
    EXPECT_TRUE(f.main().Label3->isHidden());
    EXPECT_EQ(f.dir.read("Balance.Tot"), "TAX TOTAL    1.00\r\nNET qx\r\n");
    EXPECT_EQ(fs::last_write_time(f.dir.file("Balance.Tot")),
              std::chrono::file_clock::from_sys(
                  std::chrono::sys_seconds{std::chrono::seconds{1796634330}}));
    EXPECT_EQ(v.Label1->text().toStdString(), Packed);
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
    f.open(f.main().Butintro, &v);
    EXPECT_FALSE(v.editMode());
    for (int k : {Qt::Key_End, Qt::Key_PageUp})
        f.key(k);
    v.Exit->trigger();
    EXPECT_EQ(f.dir.read("Balance.Tot"), "TAX TOTAL    1.00\r\nNET qx\r\n");
}

TEST(ViewerScreen, PrintsToPdfAndAKeyExitHidesTheTextUntilTheMenu) {
    ViewerFixture f;
    f.toViewer();
    ViewerScreen& v = f.viewer();

    f.fileDialog.answers = {f.dir.file("Missing.dat"), f.dir.file("Balance.Tot"),
                            f.dir.file("Balance.Tot")};
    f.printDialog.outcome = PrintDialog::Outcome::PrintedToPdf;
    v.Print1->trigger();
    EXPECT_EQ(f.dialogs.texts(),
              (std::vector<std::string>{" The file " + f.dir.file("Missing.dat") +
                                        "\r does not exist."}));
    EXPECT_EQ(f.printDialog.shown, 0);

    f.printDialog.outcome = PrintDialog::Outcome::Cancelled;
    v.Print1->trigger();
    EXPECT_EQ(f.printDialog.shown, 1);
    EXPECT_TRUE(f.printDialog.printed.empty());

    f.printDialog.outcome = PrintDialog::Outcome::PrintedToPdf;
    f.dialogs.shown.clear();
    v.Print1->trigger();
    ASSERT_EQ(f.printDialog.printed.size(), 1u);
    EXPECT_EQ(f.printDialog.printed[0].title, f.dir.file("Balance.Tot"));
    EXPECT_EQ(f.printDialog.printed[0].text, "TAX TOTAL    1.00\nNET");
    EXPECT_EQ(f.printDialog.printed[0].pdfPath, f.dir.file("Balance.Tot.pdf"));
    EXPECT_EQ(f.dialogs.texts(), (std::vector<std::string>{"No printer is installed.\rThe file was "
                                                           "printed to " +
                                                           f.dir.file("Balance.Tot.pdf")}));

    // Apply shows a font at once; Cancel keeps the one applied last.
    f.fontDialog.applied = {{"DejaVu Sans Mono", 14, false, false}};
    v.Fonts->trigger();
    EXPECT_EQ(v.RichEdit1->font().pointSizeF(), 14);

    f.key(Qt::Key_X);
    EXPECT_FALSE(v.isVisible());
    EXPECT_TRUE(f.main().isVisible());
    f.open(f.main().Butintro, &v);
    EXPECT_FALSE(v.RichEdit1->isVisible());
    emit v.ViewnPrint->aboutToShow();
    EXPECT_TRUE(v.RichEdit1->isVisible());
}

TEST(ViewerScreen, TheMenuChecksTheSealedBooks) {
    ViewerFixture f;
    f.toViewer();
    f.viewer().CheckBooks->trigger();
    // The start sealed its own start record, and the balance totals found.
    EXPECT_EQ(f.viewer().RichEdit1->toPlainText().toStdString(),
              "OK: 2 journal lines, 1 takings lines in 3 files checked");
    f.dir.write("Results.dat", f.dir.read("Results.dat") + "extra\r\n");
    f.viewer().CheckBooks->trigger();
    EXPECT_EQ(f.viewer().RichEdit1->toPlainText().toStdString(),
              "Results.dat line 2: added, without a seal");
}

// The file shown becomes a report; an existing report is replaced only on Yes.
TEST(ViewerScreen, ExportsTheFileShownAsAnHtmlReport) {
    ViewerFixture f;
    f.dir.write("Spersons.dat",
                "A   Ann              1.00        2.50        3.00        4.75\r\n");
    f.toViewer();
    ViewerScreen& v = f.viewer();
    EXPECT_EQ(v.HtmlExport->text(), "&HTML export   Press: H");
    const std::string report = f.dir.file("ann.html");
    f.fileDialog.answers = {f.dir.file("Spersons.dat"), report, report};
    v.View1->trigger();
    v.HtmlExport->trigger();
    EXPECT_EQ(f.dialogs.texts().back(), "The report was written to " + report);
    EXPECT_NE(f.dir.read("ann.html")
                  .find("<td>Ann</td><td class=\"n\">1.00</td><td "
                        "class=\"n\">2.50</td>"),
              std::string::npos);
    f.dir.write("ann.html", "kept");
    f.dialogs.answers = {Dialogs::Answer::No};
    v.HtmlExport->trigger();
    EXPECT_EQ(f.dir.read("ann.html"), "kept");
}
