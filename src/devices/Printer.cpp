#include "devices/Printer.h"

#include "platform/Launcher.h"
#include "store/FileNames.h"
#include "store/ProgramState.h"
#include "store/TextReader.h"

#include <optional>

Notices SendDocketToPrinter(const std::string& dataDir, Launcher& launcher) {
    int result = launcher.startHidden(FileNames::resolve(dataDir, "Slipjet.exe"));
    if (result >= 32) return {};
    return {{"Printer not ready! Errorcode=" + std::to_string(result)}};
}

PrinterTest TestPrinter(ProgramState& state, Launcher& launcher) {
    PrinterTest test;
    const std::string& dataDir = state.files.DataDir();
    const std::string verdictPath = FileNames::resolve(dataDir, "Devcheck.dat");
    // An old verdict must not stand in for this test: a test that cannot run
    // or does not finish in time leaves no verdict at all.
    FileNames::remove(verdictPath);
    const std::string program = FileNames::resolve(dataDir, "Devcheck.exe");
    if (!launcher.runAndWait(program, PrinterTestTimeoutMs))
        test.retryQuestion = "The file " + program + " not found!\r" +
                             "Press \"Help\" and see the paragraph \"Instalation\".";

    state.PrinterTestText = FileNames::resolve(dataDir, "Devcheck.dat");
    state.flags.DocketAutoPrint = false;
    std::optional<TextReader> verdict = TextReader::Open(state.PrinterTestText);
    if (!verdict) {
        test.notices.push_back({"Printer problem :\r" + state.PrinterTestText});
        return test;
    }
    state.PrinterTestText = verdict->readText(255);
    state.flags.DocketAutoPrint = state.PrinterTestText == "Ok";
    test.passed = state.flags.DocketAutoPrint;
    return test;
}
