#include "devices/DocketVerdict.h"

#include "store/FileNames.h"
#include "store/TextFile.h"

namespace {
constexpr const char* VerdictName = "Slipjet.dat";
} // namespace

void RecordDocketOutcome(const std::string& dataDir, const std::string& fault) {
    const std::string path = FileNames::resolve(dataDir, VerdictName);
    if (fault.empty()) {
        FileNames::remove(path);
        return;
    }
    TextFile verdict;
    if (!verdict.openRewrite(path)) return;
    verdict.writeLine(fault.substr(0, fault.find_first_of("\r\n")));
    verdict.close();
}

std::optional<std::string> TakeDocketFault(const std::string& dataDir) {
    const std::string path = FileNames::resolve(dataDir, VerdictName);
    TextFile verdict;
    if (!verdict.openRead(path)) return std::nullopt;
    std::string fault;
    verdict.readFullLine(fault);
    verdict.close();
    FileNames::remove(path);
    return fault;
}
