#include "setup/SampleDocket.h"
#include "store/IoError.h"
#include "store/ProgramState.h"
#include "support/CaseTable.h"
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

const std::vector<TestCase> Expected = ReadCases("setup/sample-dockets.cases");

} // namespace

TEST(SampleDocket, SmallBodiesWidenWithThePrintWidth) {
    EXPECT_EQ(SampleDocket::bodyLines(sampleConfiguration(36, 10)), Expected.at(0).lines("lines"));
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
    EXPECT_EQ(dir.read("docket.prn"), Expected.at(1).crlf("docket"));
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
