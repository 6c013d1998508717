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
    auto target = ReadPrinterTarget(dataDir, fault);
    if (!target) return {fault, true};
    // A faulty code is left out; the docket is still worth printing.
    DocketRowCodes rows = ReadDocketRowCodes(dataDir);

    PrinterConnection printer(dataDir, deadline);
    if (!printer.open(*target) ||
        !printer.write(EscPos::composeDocket(docket, rows.codes, rows.releases)) ||
        !printer.finish())
        return {printer.fault(), true};
    return {rows.fault, false};
}
