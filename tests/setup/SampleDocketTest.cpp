#include "setup/SampleDocket.h"
#include "store/IoError.h"
#include "store/ProgramState.h"
#include "support/Fakes.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

Configuration sampleConfiguration(long width, double tax) {
    Configuration c = DefaultConfiguration();
    c.PrintWidth = width;
    c.TaxRate = tax;
    c.SalesPersonName[0] = "Bob      ";
    return c;
}

struct SampleDocketPrint : ::testing::Test {
    TestDir dir;
    ProgramState state;
    FakeLauncher launcher;
    FakePrintDialog printDialog;

    SampleDocketPrint() {
        state.files.setDataDir(dir.path());
        state.config = sampleConfiguration(40, 0);
        state.config.DocketText[1] = "Corner Shop";
        state.config.PushOut = 1;
        launcher.onRun = [this] { dir.write("Devcheck.dat", "Ok\r\n"); };
    }
    PrinterTest check() { return SampleDocket::checkPrinter(state, launcher); }
};

const std::string WideTail = "5   Cash Tender" + sp(9) + "$0.00\r\n" + "5 Cheque Tender" + sp(9) +
                             "$0.00\r\n" + "5 Credit Tender" + sp(9) + "$0.00\r\n" + "5" + sp(8) +
                             "Change" + sp(9) + "$0.00\r\n" +
                             "6Served by Bob       at Time Datetoday\r\n";

} // namespace

TEST(SampleDocket, SmallBodiesWidenWithThePrintWidth) {
    const std::vector<std::string> narrowWithTax = {
        "4",
        "4Article description   0 Items",
        "4" + sp(2) + sp(11) + "0.00 x" + sp(4) + "0" + sp(8) + "0.00",
        "4" + std::string(36, '-'),
        "4+ Tax     $0.00" + sp(2) + " Total" + sp(9) + "$0.00",
        "5   Cash Tender" + sp(2) + sp(8) + "$0.00",
        "5 Cheque Tender" + sp(2) + sp(8) + "$0.00",
        "5 Credit Tender" + sp(2) + sp(8) + "$0.00",
        "5" + sp(8) + "Change" + sp(2) + sp(8) + "$0.00",
        "6Served by Bob       Time  +  DATE",
    };
    EXPECT_EQ(SampleDocket::bodyLines(sampleConfiguration(36, 10)), narrowWithTax);

    EXPECT_EQ(SampleDocket::bodyLines(sampleConfiguration(20, 0))[4],
              "4" + sp(1) + sp(15) + "Total" + sp(9) + "$0.00");
    EXPECT_EQ(SampleDocket::bodyLines(sampleConfiguration(39, 0))[2],
              "4" + sp(5) + sp(11) + "0.00 x" + sp(4) + "0" + sp(8) + "0.00");
}

// The screen takes over and saves its values between the check and the start.
TEST_F(SampleDocketPrint, AWideSampleIsWrittenAndPrinted) {
    state.config.TaxRate = 5;
    dir.write("DOCKET.DAT", "x");
    dir.write("docket.prn", "4old docket\r\n");
    PrinterTest checked = check();
    EXPECT_TRUE(checked.passed);
    EXPECT_TRUE(checked.notices.empty());
    EXPECT_FALSE(dir.exists("DOCKET.DAT"));
    SampleDocket::Started sample = SampleDocket::start(state);
    EXPECT_EQ(noticeTexts(sample.notices),
              (std::vector<std::string>{"Printing a wide Sample docket.\r\nSwitch "
                                        "the Printer on and click on Ok"}));
    EXPECT_EQ(printDialog.shown, 0);
    EXPECT_TRUE(SampleDocket::finishAndPrint(state, sample.docket, launcher, printDialog).empty());
    EXPECT_EQ(printDialog.shown, 1);
    EXPECT_EQ(launcher.started, std::vector<std::string>{dir.file("Slipjet.exe")});
    EXPECT_EQ(dir.read("docket.prn"),
              "1Corner Shop\r\n2?\r\n3?\r\n4\r\n"
              "4Article description" +
                  sp(13) + "0 x" + sp(6) + "0.00" + sp(7) + "0.00\r\n" + "4" +
                  std::string(56, '-') + "\r\n" + "4Subtotal" + sp(12) + "$0.00" + sp(6) + "+ Tax" +
                  sp(15) + "$0.00\r\n" + "4-Rounding" + sp(11) + "$0.00" + sp(6) + "Total" +
                  sp(15) + "$0.00\r\n" + WideTail + "7?\r\n8?\r\n9?\r\n4" + sp(20) + "\r\n");
}

TEST_F(SampleDocketPrint, APrinterThatCannotPrintIsTold) {
    state.flags.PrinterDisabled = true;
    PrinterTest checked = check();
    EXPECT_FALSE(checked.passed);
    EXPECT_TRUE(checked.retryQuestion.empty());
    EXPECT_EQ(noticeTexts(checked.notices), std::vector<std::string>{"Printer disabled!"});
    EXPECT_TRUE(launcher.waited.empty());

    state.flags.PrinterDisabled = false;
    launcher.onRun = [this] { dir.write("Devcheck.dat", "Paper out\r\n"); };
    checked = check();
    EXPECT_FALSE(checked.passed);
    EXPECT_EQ(noticeTexts(checked.notices), std::vector<std::string>{"Printer not ready!"});
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(SampleDocketPrint, ASampleThatCannotBeWrittenNeverReprintsTheLastDocket) {
    dir.write("Docket.Prn", "4last sale\r\n");
    // The docket's temporary name is taken, so the sample cannot be created.
    std::filesystem::create_directory(dir.file("Docket.Prn.~tmp"));
    ASSERT_TRUE(check().passed);
    EXPECT_THROW(SampleDocket::start(state), IoError);
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(dir.read("Docket.Prn"), "4last sale\r\n");
}
