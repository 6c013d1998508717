#include "takings/TakingsJournal.h"
#include "pricelist/CurrentArticle.h"
#include "store/IoError.h"
#include "store/TextAppender.h"
#include "store/TextReader.h"
#include "support/TestDir.h"
#include "till/SaleState.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

SaleState milkSale() {
    SaleState sale;
    sale.CurrentSalesPerson = "A";
    sale.EnteredCode = "MILK1";
    sale.Quantity = 2;
    sale.UnitPrice = 1.25;
    sale.LineAmount = 2.5;
    sale.PaidCash = 2.5;
    sale.SaleTotal = 2.5;
    sale.Received = 2.5;
    return sale;
}

} // namespace

TEST(TakingsJournal, AFileThatCannotBeOpenedIsNamedByTheRecord) {
    TestDir dir;
    TakingsJournal journal(dir.file("missing/"));
    EXPECT_FALSE(journal.open());
    try {
        journal.WriteResultsTotal(milkSale(), "9:05");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), dir.file("missing/") + "Results.dat");
    }
}

// A file read and then, once it had vanished, created afresh holds only what
// was written to it: a handle once reused for both wrote its old read buffer
// into the new file.
TEST(TextFile, ACreatedFileHoldsOnlyWhatWasWrittenAfterAnEarlierRead) {
    TestDir dir;
    dir.write("Pricelist.wrk", "old line\r\n");
    std::optional<TextReader> reader = TextReader::Open(dir.file("Pricelist.wrk"));
    ASSERT_TRUE(reader);
    std::string line;
    ASSERT_TRUE(reader->readFullLine(line));
    ASSERT_EQ(std::remove(dir.file("Pricelist.wrk").c_str()), 0);
    std::optional<TextAppender> appender = TextAppender::OpenElseCreate(dir.file("Pricelist.wrk"));
    ASSERT_TRUE(appender);
    appender->writeLine("new line");
    appender->close();
    EXPECT_EQ(dir.read("Pricelist.wrk"), "new line\r\n");
}
