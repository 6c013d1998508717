#include "printer/EscPos.h"
#include "printer/PrinterTarget.h"

#include <gtest/gtest.h>

namespace {

TEST(EscPos, ByteCodes) {
    struct Case {
        std::string text;
        std::string bytes;
        bool faulty;
    } cases[] = {
        {"27,33,48", "\x1b!0", false},
        {" 27, 33 ,0 ", std::string("\x1b!\0", 3), false},
        {"?", "", false},
        {"", "", false},
        {"27,x", "", true},
        {"27,", "", true},
        {"256", "", true},
        {"27 33", "", true},
        {"0027", "", true},
    };
    for (const Case& c : cases) {
        auto parsed = EscPos::parseByteCodes(c.text);
        EXPECT_EQ(parsed.bytes, c.bytes) << c.text;
        EXPECT_EQ(parsed.faulty, c.faulty) << c.text;
    }
}

TEST(EscPos, StatusAnswers) {
    struct Case {
        unsigned char answer;
        std::string offline, paper;
    } cases[] = {
        {0x12, "", ""},
        {0x16, "Printer cover open", ""},
        {0x32, "Printer out of paper", "Printer out of paper"},
        {0x52, "Printer reports an error", "Printer out of paper"},
        {0x72, "Printer out of paper", "Printer out of paper"},
        {0xff, "", ""}, // no status answer at all
        {'A', "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscPos::offlineCauseFault(c.answer), c.offline) << int(c.answer);
        EXPECT_EQ(EscPos::paperSensorFault(c.answer), c.paper) << int(c.answer);
    }
}

TEST(EscPos, DocketWithoutRowDigitsOrLineEnds) {
    EscPos::RowCodes codes, releases;
    codes[4] = "<";
    releases[4] = ">";
    EXPECT_EQ(EscPos::composeDocket("4a\r\nb\n\r\n4c", codes, releases),
              std::string("\x1b@<a\r\n>b\r\n\r\n<c\r\n>\x1dV\x42\0", 21));
    EXPECT_EQ(EscPos::composeDocket("", codes, releases), std::string("\x1b@\x1dV\x42\0", 6));
}

TEST(PrinterTarget, Lines) {
    using Kind = PrinterTarget::Kind;
    struct Case {
        std::string line;
        bool ok;
        Kind kind;
        std::string name, port;
    } cases[] = {
        {"device:/dev/usb/lp0\r", true, Kind::Device, "/dev/usb/lp0", ""},
        {"lp:shop", true, Kind::Queue, "shop", ""},
        {"tcp:192.168.1.50:9100", true, Kind::Network, "192.168.1.50", "9100"},
        {"tcp:[::1]:9101", true, Kind::Network, "::1", "9101"},
        {" file:printer.out ", true, Kind::File, "printer.out", ""},
        {"tcp:host:99999", false, Kind::File, "", ""},
        {"tcp::9100", false, Kind::File, "", ""},
        {"file:", false, Kind::File, "", ""},
        {"/dev/usb/lp0", false, Kind::File, "", ""},
        {"usb:04B8:0e15  # EPSON TM-T20II", true, Kind::Usb, "04B8:0e15", ""},
        {"usb:04b8:e15", false, Kind::File, "", ""},
        {"serial:/dev/ttyUSB0", true, Kind::Serial, "/dev/ttyUSB0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string fault;
        auto target = ParsePrinterTarget(c.line, fault);
        ASSERT_EQ(target.has_value(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(fault.rfind("Printer.dat: unknown printer", 0), 0u) << fault;
            continue;
        }
        EXPECT_EQ(target->kind, c.kind);
        EXPECT_EQ(target->name, c.name);
        EXPECT_EQ(target->port, c.port);
    }
}

} // namespace
