#include "printer/EscPos.h"
#include "printer/PrinterTarget.h"
#include "support/CaseTable.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(EscPos, ByteCodes) {
    for (const TestCase& c : ReadTable("companions/byte-codes.table")) {
        auto parsed = EscPos::parseByteCodes(c["text"]);
        EXPECT_EQ(parsed.bytes, c["bytes"]) << c.where;
        EXPECT_EQ(parsed.faulty, c.flag("faulty")) << c.where;
    }
}

TEST(EscPos, StatusAnswers) {
    for (const TestCase& c : ReadTable("companions/status-answers.table")) {
        const auto answer = static_cast<unsigned char>(std::stoi(c["answer"], nullptr, 16));
        EXPECT_EQ(EscPos::offlineCauseFault(answer), c["offline"]) << c.where;
        EXPECT_EQ(EscPos::paperSensorFault(answer), c["paper"]) << c.where;
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
    const std::map<std::string, Kind> kinds = {
        {"Device", Kind::Device}, {"Queue", Kind::Queue}, {"Network", Kind::Network},
        {"File", Kind::File},     {"Usb", Kind::Usb},     {"Serial", Kind::Serial}};
    for (const TestCase& c : ReadTable("companions/printer-targets.table")) {
        SCOPED_TRACE(c.where);
        std::string fault;
        auto target = ParsePrinterTarget(c["line"], fault);
        ASSERT_EQ(target.has_value(), c["kind"] != "refused");
        if (!target) {
            EXPECT_EQ(fault.rfind("Printer.dat: unknown printer", 0), 0u) << fault;
            continue;
        }
        EXPECT_EQ(target->kind, kinds.at(c["kind"]));
        EXPECT_EQ(target->name, c["name"]);
        EXPECT_EQ(target->port, c["port"]);
    }
}

} // namespace
