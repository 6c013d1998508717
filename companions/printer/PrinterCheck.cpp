#include "printer/PrinterCheck.h"

#include "printer/ChildProcess.h"
#include "printer/DocketRowCodes.h"
#include "printer/PrinterConnection.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/TextRewriter.h"

#include <vector>

namespace {

// How long a printer may take to answer one status request.
constexpr int AnswerWaitMs = 700;
// Room enough for any fault, short enough for a message box.
constexpr size_t VerdictLength = 200;

std::string checkQueue(const std::string& queue, const Deadline& deadline) {
    ChildResult r = RunChild({"lpstat", "-p", queue, "-a", queue}, {}, deadline);
    if (!r.started) return "No print system: lpstat is not installed";
    if (!r.finished) return "The print system does not answer (time-out)";
    if (r.exitCode != 0) {
        std::string why = FirstLine(r.errors);
        return why.empty() ? "Print queue " + queue + " not found" : why;
    }
    if (r.output.find(" disabled") != std::string::npos)
        return "Print queue " + queue + " is disabled";
    if (r.output.find("not accepting") != std::string::npos)
        return "Print queue " + queue + " does not accept dockets";
    return {};
}

// Asks a printer that can answer for the causes that stop it printing.
std::string printerStatus(PrinterConnection& printer) {
    if (!printer.canAnswer()) return {};
    auto cause = printer.ask(EscPos::statusRequest(EscPos::OfflineCause), AnswerWaitMs);
    if (!cause) return printer.fault(); // no status answers: writing was all there was to try
    if (std::string fault = EscPos::offlineCauseFault(*cause); !fault.empty()) return fault;
    if (auto paper = printer.ask(EscPos::statusRequest(EscPos::PaperSensor), AnswerWaitMs))
        return EscPos::paperSensorFault(*paper);
    return printer.fault();
}

std::string checkConnection(const std::string& dataDir, const PrinterTarget& target,
                            const Deadline& deadline) {
    PrinterConnection printer(dataDir, deadline);
    if (!printer.open(target)) return printer.fault();
    std::string fault = printerStatus(printer);
    if (fault.empty() && !printer.finish()) fault = printer.fault();
    return fault;
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < ' ') c = ' ';
    if (text.size() > VerdictLength) text.resize(VerdictLength);
    return text;
}

} // namespace

std::string CheckPrinter(const std::string& dataDir, int timeoutMs) {
    std::string fault;
    auto setup = ReadPrinterSetup(dataDir, fault);
    // A setting that is not understood would print or open the drawer other
    // than the shop meant: it is said before the printer is tried.
    if (setup) {
        std::vector<std::string> faults = PrinterFileFaults(setup->file);
        if (!faults.empty()) fault = faults.front();
    }
    if (setup && fault.empty()) {
        Deadline deadline(PrinterTimeoutMs(setup->file, timeoutMs));
        const PrinterTarget& target = setup->target;
        fault = target.kind == PrinterTarget::Kind::Queue
                    ? checkQueue(target.name, deadline)
                    : checkConnection(dataDir, target, deadline);
    }
    // A docket with broken codes would come out wrong: better said now.
    if (fault.empty()) fault = ReadDocketRowCodes(dataDir).fault;
    return fault.empty() ? "Ok" : oneLine(fault);
}

bool WriteVerdict(const std::string& dataDir, const std::string& verdict) {
    std::optional<TextRewriter> file =
        TextRewriter::Open(FileNames::resolve(dataDir, "Devcheck.dat"));
    if (!file) return false;
    try {
        file->writeLine(verdict);
        file->commit();
    } catch (const IoError&) {
        return false;
    }
    return true;
}
