#include "platform/QtPaths.h"
#include "platform/QtPrintDialog.h"
#include "platform/QtSystem.h"
#include "support/TestDir.h"

#include <QPrinterInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// An o-umlaut that Windows-1252 has and an l-stroke it has not.
const std::string ShopLeaf = "j\xc3\xb6rg \xc5\x82";

} // namespace

TEST(QtPaths, TheDataDirectoryKeepsTheFolderNameAsTheSystemSpellsIt) {
    const struct {
        const char* programDir; // as Qt reports it, in UTF-8
        std::string dataDir;    // the bytes the file system knows it by
    } cases[] = {
        {"/opt/zorvi", "/opt/zorvi/"},
        {"/home/j\xc3\xb6rg/shop", "/home/j\xc3\xb6rg/shop/"},
        {"/home/\xc5\x82ucja/sklep", "/home/\xc5\x82ucja/sklep/"},
        {"/srv/\xe5\xba\x97", "/srv/\xe5\xba\x97/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DataDirectoryOf(QString::fromUtf8(c.programDir)), c.dataDir) << c.programDir;
        EXPECT_EQ(toNativePath(fromNativePath(c.dataDir)), c.dataDir) << c.programDir;
    }
}

TEST(QtPaths, CompanionsInAFolderNamedInAnyAlphabetStart) {
    TestDir dir(ShopLeaf);
    // The companion leaves a mark in the folder it is started in.
    dir.write("Devcheck.exe", "#!/bin/sh\necho Ok > Devcheck.dat\n");
    ::chmod(dir.file("Devcheck.exe").c_str(), 0755);
    QtLauncher launcher;
    EXPECT_TRUE(launcher.runAndWait(dir.file("Devcheck.exe"), 10000));
    EXPECT_EQ(dir.read("Devcheck.dat"), "Ok\n");
    EXPECT_GE(launcher.startHidden(dir.file("Devcheck.exe")), 32);
    EXPECT_LT(launcher.startHidden(dir.file("Slipjet.exe")), 32);
}

TEST(QtPaths, APrintWithoutPrinterGoesToThePdfInAFolderNamedInAnyAlphabet) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
    TestDir dir(ShopLeaf);
    QtPrintDialog printing;
    // Filled field by field: GCC 12 sees the nested braces' string as unset
    // when it optimises.
    PrintDialog::TextDocument document;
    document.title = "Results.dat";
    document.text = "a line\n";
    document.font.family = "Courier New";
    document.font.pointSize = 10;
    document.pdfPath = dir.file("Results.dat.pdf");
    EXPECT_EQ(printing.printText(document), PrintDialog::Outcome::PrintedToPdf);
    EXPECT_EQ(dir.read("Results.dat.pdf").substr(0, 5), "%PDF-");
}
