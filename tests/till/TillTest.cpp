#include "devices/DocketVerdict.h"
#include "store/IoError.h"
#include "till/TillBench.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

struct TillFixture : ::testing::Test, TillBench {
    TillFixture() {
        program.config.DrawerPort = "COM1";
        program.config.DisplayPort = "COM2";
        program.config.DisplayWidth = 20;
        DeriveSwitches(program.config);
        program.flags.DrawerAvailable = program.flags.DisplayAvailable = true;
    }

    // A line of two teas at 1.50, confirmed without discount.
    TillOutcome ringUpTea() {
        till.clearSale();
        return ring("TEA", 1.5, 0, 2, false, "Tea");
    }

    // Results.dat on a full disk, and back again.
    void diskFull() {
        ASSERT_EQ(std::rename(dir.file("Results.dat").c_str(), dir.file("kept").c_str()), 0);
        ASSERT_EQ(::symlink("/dev/full", dir.file("Results.dat").c_str()), 0);
    }
    void diskFreed() {
        ASSERT_EQ(std::remove(dir.file("Results.dat").c_str()), 0);
        ASSERT_EQ(std::rename(dir.file("kept").c_str(), dir.file("Results.dat").c_str()), 0);
    }
};

const char* const TeaLine =
    "A TEA               2.00       0.00         1.50         1.50          3.00\r\n";
const char* const TeaTotal = "# Total*** 9:05    3.00     0.00     0.00             0.00        "
                             "3.00        5.00  2.00\r\n";

TEST_F(TillFixture, APaidSaleIsRecordedBeforeTheDrawerOpensAndOnlyOnce) {
    ASSERT_TRUE(till.beginWith("A").done);
    EXPECT_TRUE(till.takingsOpen());
    TillOutcome line = ringUpTea();
    EXPECT_TRUE(line.notices.empty());
    EXPECT_EQ(dir.read("Results.dat"), TeaLine);
    EXPECT_TRUE(till.endList(formats).notices.empty());
    till.sale().PayCash = true;

    // The total cannot be written: the payment is not taken, the drawer
    // stays shut and the day does not take the sale.
    till.leave(false);
    diskFull();
    const size_t shown = ports.lines.size();
    EXPECT_THROW(till.pay(5, formats, "9:05"), IoError);
    EXPECT_EQ(till.sale().PaidCash, 0);
    EXPECT_EQ(till.day().TotalTakings, 0);
    EXPECT_EQ(ports.lines.size(), shown);
    diskFreed();

    Till::Payment paid = till.pay(5, formats, "9:05");
    ASSERT_TRUE(paid.covered);
    // On disk before the drawer opened: nothing later can lose it.
    EXPECT_EQ(dir.read("Results.dat"), std::string(TeaLine) + TeaTotal);
    EXPECT_FALSE(till.takingsOpen());
    EXPECT_EQ(ports.lines, (std::vector<std::string>{
                               "/dev/ttyS1|           Tea $3.00", "/dev/ttyS1|Total          $3.00",
                               "/dev/ttyS0|open", "/dev/ttyS1|Change         $2.00"}));
    EXPECT_EQ(till.day().TakingsCash, 3);
    EXPECT_EQ(till.day().TotalTakings, 3);
}

TEST_F(TillFixture, ALineThatCannotBeRecordedLeavesTheSaleAsItWas) {
    ASSERT_TRUE(till.beginWith("A").done);
    dir.write("Results.dat", "");
    till.leave(false);
    diskFull();
    EXPECT_THROW(ringUpTea(), IoError);
    EXPECT_FALSE(till.sale().SaleHasLines);
    EXPECT_EQ(till.sale().SaleSubtotal, 0);
    EXPECT_TRUE(ports.lines.empty());
    diskFreed();
    ringUpTea();
    EXPECT_EQ(dir.read("Results.dat"), TeaLine);
    EXPECT_EQ(till.sale().SaleSubtotal, 3);
}

TEST_F(TillFixture, DeviceTroubleIsToldInOrderAndSwitchesTheDeviceOff) {
    ASSERT_TRUE(till.beginWith("A").done);
    ringUpTea();
    till.endList(formats);
    ports.works = false;
    till.sale().PayCash = true;
    Till::Payment paid = till.pay(3, formats, "9:05");
    ASSERT_TRUE(paid.covered);
    ASSERT_EQ(paid.outcome.notices.size(), 2u);
    EXPECT_NE(paid.outcome.notices[0].text.find("Cash drawer"), std::string::npos);
    EXPECT_NE(paid.outcome.notices[1].text.find("Customer display"), std::string::npos);
    EXPECT_FALSE(program.flags.DrawerAvailable);
    EXPECT_FALSE(program.flags.DisplayAvailable);
}

TEST_F(TillFixture, ALastDocketThatDidNotPrintIsToldOnceBeforeTheNextSale) {
    RecordDocketOutcome(dir.path(), "paper out");
    TillOutcome first = till.beginWith("A");
    EXPECT_FALSE(first.done);
    ASSERT_EQ(first.notices.size(), 1u);
    EXPECT_EQ(first.notices[0].text, "The last docket was not printed: paper out\r"
                                     "Press Docket on the main screen to print it again.");
    EXPECT_FALSE(till.docketOpen());
    TillOutcome second = till.beginWith("A");
    EXPECT_TRUE(second.done);
    EXPECT_TRUE(second.notices.empty());
    EXPECT_TRUE(till.docketOpen());
}

// The drawer opens when a sale is paid, a refund paid out or an expense
// booked: on its serial port, or through the printer's drawer socket, which
// Slipjet.exe drives, also when no docket is printed.
TEST(TillDrawer, OpensAtEveryPaymentOnItsPortOrThroughThePrinter) {
    enum class Place { Sale, Refund, Expense };
    struct Case {
        Place place;
        std::string port;
        std::vector<std::string> portLines, ran;
    } cases[] = {
        {Place::Sale, "COM1", {"/dev/ttyS0|open"}, {}},
        {Place::Refund, "COM1", {"/dev/ttyS0|open"}, {}},
        {Place::Expense, "COM1", {"/dev/ttyS0|open"}, {}},
        {Place::Sale, "PRN1", {}, {"Slipjet.exe drawer PRN1"}},
        {Place::Refund, "PRN2", {}, {"Slipjet.exe drawer PRN2"}},
        {Place::Expense, "PRN1", {}, {"Slipjet.exe drawer PRN1"}},
        {Place::Sale, "COM0", {}, {}},
    };
    for (const Case& c : cases) {
        TillBench bench;
        auto& [dir, program, ports, launcher, till, formats] = bench;
        program.config.DrawerPort = c.port;
        DeriveSwitches(program.config);
        program.flags.DrawerAvailable = c.port != "COM0";
        ASSERT_TRUE(till.beginWith("A").done);
        till.clearSale();
        if (c.place == Place::Expense) {
            bench.expenseLine(5);
            const ExpenseTotals totals = till.endExpenseList(formats);
            EXPECT_TRUE(till.payOutExpense("9:05", totals.payText).notices.empty());
        } else {
            bench.ring("TEA", 1.5, 0, 2, c.place == Place::Refund, "Tea");
            till.endList(formats);
            till.sale().PayCash = true;
            const Till::Payment paid = till.pay(c.place == Place::Refund ? -3 : 5, formats, "9:05");
            ASSERT_TRUE(paid.covered) << c.port;
            EXPECT_TRUE(paid.outcome.notices.empty()) << c.port;
        }
        EXPECT_EQ(ports.lines, c.portLines) << c.port;
        std::vector<std::string> ran;
        for (const std::string& line : launcher.ran)
            ran.push_back(line.substr(dir.path().size()));
        EXPECT_EQ(ran, c.ran) << c.port;
        EXPECT_TRUE(launcher.started.empty()) << c.port;
    }
}

} // namespace
