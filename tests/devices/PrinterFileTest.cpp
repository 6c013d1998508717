#include "devices/PrinterFile.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

TEST(PrinterFile, SettingsAndTheirFaults) {
    struct Case {
        std::string settings;
        int on, off, timeoutMs;
        PaperCut cut;
        int feed;
        std::vector<std::string> faults;
    };
    const std::string line2 = "Printer.dat line 2: ", line3 = "Printer.dat line 3: ",
                      line4 = "Printer.dat line 4: ", line5 = "Printer.dat line 5: ";
    const std::string pulse = "pulse= takes two byte values separated by a comma, such as 25,250";
    const PaperCut Partial = PaperCut::Partial;
    // clang-format off
    const Case cases[] = {
        {"", 25, 250, 2000, Partial, 0, {}},
        {"pulse=50,100\r\ntimeout=7\r\ncut=full\r\nfeed=3\r\n", 50, 100, 7000, PaperCut::Full, 3,
         {}},
        {" pulse = 0 , 255 \r\n\r\ncut=none\r\n", 0, 255, 2000, PaperCut::None, 0, {}},
        // The last line that sets a key counts.
        {"pulse=10,20\r\npulse=30,40\r\n", 30, 40, 2000, Partial, 0, {}},
        {"pulse=25,256\r\ntimeout=0\r\ncut=FULL\r\nfeed=-1\r\n", 25, 250, 2000, Partial, 0,
         {line2 + pulse, line3 + "timeout= takes seconds, 1 to 60",
          line4 + "cut= takes full, partial or none", line5 + "feed= takes lines, 0 to 20"}},
        {"codepage=256\r\nspeed=9601\r\nparity=mark\r\nflow=dtr\r\n", 25, 250, 2000, Partial, 0,
         {line2 + "codepage= takes the printer's page number, 0 to 255",
          line3 + "speed= takes one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200",
          line4 + "parity= takes none, even or odd",
          line5 + "flow= takes none, rtscts or xonxoff"}},
        {"pulse=25\r\ncolour=red\r\ncodepage 16\r\n", 25, 250, 2000, Partial, 0,
         {line2 + pulse, line3 + "unknown key \"colour\"", line4 + "not a setting key=value"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        TestDir dir;
        dir.write("PRINTER.DAT", "file:printer.out\r\n" + c.settings);
        std::optional<PrinterFile> file = ReadPrinterFile(dir.path());
        ASSERT_TRUE(file);
        EXPECT_EQ(file->target, "file:printer.out");
        EXPECT_EQ(DrawerPulseOf(*file).on, c.on);
        EXPECT_EQ(DrawerPulseOf(*file).off, c.off);
        EXPECT_EQ(PrinterTimeoutMs(*file, 2000), c.timeoutMs);
        EXPECT_EQ(PaperCutOf(*file), c.cut);
        EXPECT_EQ(FeedLinesOf(*file), c.feed);
        EXPECT_EQ(PrinterFileFaults(*file), c.faults);
    }
}

TEST(PrinterFile, ARewriteKeepsEveryLineItDoesNotChange) {
    TestDir dir;
    EXPECT_FALSE(ReadPrinterFile(dir.path()));
    dir.write("Printer.dat", "device:/dev/usb/lp0\r\ncut=none\r\n\r\nfuture=1\r\npulse=1,2\r\n");
    std::optional<PrinterFile> file = ReadPrinterFile(dir.path());
    ASSERT_TRUE(file);
    file->target = "tcp:127.0.0.1:9100";
    file->set("pulse", "50,100");
    file->set("feed", "2");
    ASSERT_TRUE(WritePrinterFile(dir.path(), *file));
    EXPECT_EQ(dir.read("Printer.dat"), "tcp:127.0.0.1:9100\r\ncut=none\r\n\r\nfuture=1\r\n"
                                       "pulse=50,100\r\nfeed=2\r\n");
}

} // namespace
