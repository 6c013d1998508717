#include "printer/TestPage.h"

#include "printer/CodePages.h"
#include "printer/DocketPrintJob.h"
#include "printer/EscPos.h"
#include "printer/PrinterCheck.h"
#include "printer/PrinterConnection.h"
#include "store/Configuration.h"
#include "store/FileNames.h"

namespace {

bool printable(int c) {
    return c != 0x7f && c != 0x81 && c != 0x8d && c != 0x8f && c != 0x90 && c != 0x9d;
}

} // namespace

std::string TestPageBytes(const std::string& shopName, const std::string& target,
                          std::optional<int> codePage, const std::string& end) {
    std::string out(EscPos::Initialize);
    if (codePage) out += std::string{'\x1b', 't', static_cast<char>(*codePage)};
    auto line = [&](const std::string& text) {
        out += codePage ? ToPrinterPage(text, *codePage) : text;
        out += "\r\n";
    };
    line(shopName);
    line("Printer test page");
    line("Printer: " + target);
    line("Code page: " +
         (codePage ? std::to_string(*codePage) : std::string("as the printer starts")));
    for (int high = 2; high <= 15; ++high) {
        std::string row = "0123456789ABCDEF"[high] + std::string("x ");
        for (int c = high * 16; c < high * 16 + 16; ++c)
            row.push_back(printable(c) ? static_cast<char>(c) : ' ');
        line(row);
    }
    out += end;
    return out;
}

std::string PrintTestPage(const std::string& dataDir, int timeoutMs) {
    std::string verdict = CheckPrinter(dataDir, timeoutMs);
    if (verdict != "Ok") return verdict;
    std::string fault;
    auto setup = ReadPrinterSetup(dataDir, fault);
    if (!setup) return fault;
    Configuration config = DefaultConfiguration();
    ReadConfiguration(FileNames::resolve(dataDir, "Configur.dat"), config);

    Deadline deadline(PrinterTimeoutMs(setup->file, timeoutMs));
    PrinterConnection printer(dataDir, deadline);
    const std::string page =
        TestPageBytes(config.DocketText[1], setup->target.text(), CodePageOf(setup->file),
                      EscPos::docketEnd(FeedLinesOf(setup->file), PaperCutOf(setup->file)));
    if (!printer.open(setup->target) || !printer.write(page) || !printer.finish())
        return printer.fault();
    const std::string& drawer = config.DrawerPort;
    if (drawer == "PRN1" || drawer == "PRN2") {
        fault = KickDrawer(dataDir, drawer == "PRN1" ? 0 : 1, timeoutMs);
        if (!fault.empty()) return "Drawer not opened: " + fault;
    }
    return "Ok";
}
