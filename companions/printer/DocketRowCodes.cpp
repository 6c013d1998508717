#include "printer/DocketRowCodes.h"

#include "store/Configuration.h"
#include "store/FileNames.h"

namespace {

std::string take(const std::string& text, const char* what, size_t row, std::string& fault) {
    EscPos::ByteCodes parsed = EscPos::parseByteCodes(text);
    if (parsed.faulty && fault.empty())
        fault = "Configur.dat: the " + std::string(what) + " of docket row " + std::to_string(row) +
                " is no list of byte values: " + text;
    return parsed.bytes;
}

} // namespace

DocketRowCodes ReadDocketRowCodes(const std::string& dataDir) {
    Configuration config;
    // The companions run hidden: nobody would see its notices.
    ReadConfiguration(FileNames::resolve(dataDir, "Configur.dat"), config);
    DocketRowCodes out;
    for (size_t row = 1; row <= 9; ++row) {
        out.codes[row] = take(config.DocketCode[row], "printer code", row, out.fault);
        out.releases[row] = take(config.DocketRelease[row], "release code", row, out.fault);
    }
    return out;
}
