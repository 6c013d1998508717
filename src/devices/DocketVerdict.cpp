#include "devices/DocketVerdict.h"

#include "store/FileNames.h"
#include "store/TextReader.h"
#include "store/TextRewriter.h"

#include <optional>

namespace {
constexpr const char* VerdictName = "Slipjet.dat";
} // namespace

void RecordDocketOutcome(const std::string& dataDir, const std::string& fault) {
    const std::string path = FileNames::resolve(dataDir, VerdictName);
    if (fault.empty()) {
        FileNames::remove(path);
        return;
    }
    std::optional<TextRewriter> verdict = TextRewriter::Open(path);
    if (!verdict) return;
    verdict->writeLine(fault.substr(0, fault.find_first_of("\r\n")));
    verdict->commit();
}

std::optional<std::string> TakeDocketFault(const std::string& dataDir) {
    const std::string path = FileNames::resolve(dataDir, VerdictName);
    std::string fault;
    {
        std::optional<TextReader> verdict = TextReader::Open(path);
        if (!verdict) return std::nullopt;
        verdict->readFullLine(fault);
    }
    FileNames::remove(path);
    return fault;
}
