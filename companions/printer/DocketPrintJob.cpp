#include "printer/DocketPrintJob.h"

#include "printer/DocketRowCodes.h"
#include "printer/PrinterConnection.h"
#include "store/FileNames.h"

#include <fstream>
#include <sstream>

namespace {

bool readWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return true;
}

} // namespace

DocketPrintResult PrintDocketFile(const std::string& dataDir, int timeoutMs) {
    Deadline deadline(timeoutMs);
    std::string docket;
    const std::string docketPath = FileNames::resolve(dataDir, "docket.prn");
    if (!readWhole(docketPath, docket)) return {"No docket to print: " + docketPath, false};
    std::string fault;
    auto setup = ReadPrinterSetup(dataDir, fault);
    if (!setup) return {fault, true};
    // A faulty code is left out; the docket is still worth printing.
    DocketRowCodes rows = ReadDocketRowCodes(dataDir);

    PrinterConnection printer(dataDir, deadline);
    const std::string end = EscPos::docketEnd(FeedLinesOf(setup->file), PaperCutOf(setup->file));
    if (!printer.open(setup->target) ||
        !printer.write(EscPos::composeDocket(docket, rows.codes, rows.releases, end,
                                             CodePageOf(setup->file))) ||
        !printer.finish())
        return {printer.fault(), true};
    return {rows.fault, false};
}

std::string KickDrawer(const std::string& dataDir, int m, int timeoutMs) {
    std::string fault;
    auto setup = ReadPrinterSetup(dataDir, fault);
    if (!setup) return fault;
    Deadline deadline(PrinterTimeoutMs(setup->file, timeoutMs));
    PrinterConnection printer(dataDir, deadline);
    if (!printer.open(setup->target) ||
        !printer.write(EscPos::drawerPulse(m, DrawerPulseOf(setup->file))) || !printer.finish())
        return printer.fault();
    return {};
}
