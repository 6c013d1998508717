#include "store/DataFiles.h"
#include "store/IoError.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(DataFiles, NamesAreMatchedWithoutRegardToCaseAndAMissingFileIsNamed) {
    TestDir dir;
    dir.write("PRICELIST.WRK", "line\r\n");
    DataFiles files(dir.path());
    EXPECT_FALSE(files.OpenInventoryForRead());
    EXPECT_EQ(files.CurrentFileName, dir.path() + "Inventory.dat");
    EXPECT_FALSE(files.OpenSalesPersonsForRead());
    std::optional<TextReader> reader = files.OpenPriceWorkForRead();
    ASSERT_TRUE(reader);
    EXPECT_EQ(files.CurrentFileName, dir.path() + "PRICELIST.WRK");
    EXPECT_EQ(reader->readText(255), "line");
    reader.reset();

    std::optional<TextAppender> appender = files.OpenPriceWorkForAppend();
    ASSERT_TRUE(appender);
    appender->writeLine("more");
    appender->close();
    EXPECT_EQ(dir.read("PRICELIST.WRK"), "line\r\nmore\r\n");
    EXPECT_FALSE(dir.exists("Pricelist.wrk"));
}

TEST(DataFiles, ARewriteReplacesTheFileOnlyWhenCommitted) {
    TestDir dir;
    dir.write("Inventory.dat", "old\r\n");
    ::chmod(dir.file("Inventory.dat").c_str(), 0600);
    // A link planted at the temporary name must not receive the new file.
    dir.write("elsewhere", "untouched");
    ::symlink(dir.file("elsewhere").c_str(), dir.file("Inventory.dat.~tmp").c_str());
    DataFiles files(dir.path());
    std::optional<TextRewriter> rewriter = files.OpenInventoryForWrite();
    ASSERT_TRUE(rewriter);
    rewriter->writeLine("new");
    EXPECT_EQ(dir.read("Inventory.dat"), "old\r\n");
    rewriter->commit();
    EXPECT_EQ(dir.read("Inventory.dat"), "new\r\n");
    EXPECT_EQ(dir.read("elsewhere"), "untouched");
    struct stat st {};
    ::stat(dir.file("Inventory.dat").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u) << "the shop's permissions are kept";

    // One that goes without a commit leaves the file as it was.
    rewriter = files.OpenInventoryForWrite();
    ASSERT_TRUE(rewriter);
    rewriter->writeLine("dropped");
    rewriter.reset();
    EXPECT_EQ(dir.read("Inventory.dat"), "new\r\n");
    EXPECT_FALSE(dir.exists("Inventory.dat.~tmp"));
}

TEST(DataFiles, AFailedRenameKeepsTheOldFileAndSaysSo) {
    TestDir dir;
    // A folder in the file's place cannot be replaced by a file.
    ::mkdir(dir.file("Docket.Prn").c_str(), 0700);
    dir.write("Docket.Prn/keep", "x");
    std::optional<TextRewriter> f = TextRewriter::Open(dir.file("Docket.Prn"));
    ASSERT_TRUE(f);
    f->writeLine("1Shop");
    EXPECT_THROW(f->commit(), IoError);
    EXPECT_EQ(dir.read("Docket.Prn/keep"), "x");
    EXPECT_FALSE(dir.exists("Docket.Prn.~tmp"));
}

TEST(TextFile, ReadingFollowsTheTextFileRules) {
    TestDir dir;
    dir.write("t.txt", "ab cdef\r\n  12  3.5\n\r\n-7 x\r\nlast");
    std::optional<TextReader> f = TextReader::Open(dir.file("t.txt"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->readText(2), "ab");
    EXPECT_EQ(f->readChar(), ' ');
    EXPECT_EQ(f->readText(255), "cdef");
    EXPECT_TRUE(f->eoln());
    f->readLine();
    long n = 0;
    double r = 0;
    EXPECT_TRUE(f->readInteger(n));
    EXPECT_EQ(n, 12);
    EXPECT_TRUE(f->readReal(r));
    EXPECT_DOUBLE_EQ(r, 3.5);
    // Numbers skip line ends, empty lines included.
    EXPECT_TRUE(f->readInteger(n));
    EXPECT_EQ(n, -7);
    EXPECT_FALSE(f->readInteger(n));
    EXPECT_TRUE(f->ioError());
    EXPECT_EQ(f->readText(5), "") << "reads do nothing after an error";
    EXPECT_THROW(f->check(), IoError);
    f->clearIoError();
    f->readLine();
    EXPECT_EQ(f->readText(255), "last");
    EXPECT_TRUE(f->eof());
    EXPECT_FALSE(f->readInteger(n)) << "no number at the end of the file";
}
