#include "devices/Printer.h"

#include "devices/PrinterFile.h"
#include "devices/SerialDevices.h"
#include "platform/Launcher.h"
#include "store/FileNames.h"
#include "store/ProgramState.h"
#include "store/TextReader.h"

#include <optional>

int PrinterWaitMs(const std::string& dataDir) {
    constexpr int CompanionTimeoutMs = 2000;
    constexpr int MarginMs = 1000;
    std::optional<PrinterFile> file = ReadPrinterFile(dataDir);
    return (file ? PrinterTimeoutMs(*file, CompanionTimeoutMs) : CompanionTimeoutMs) + MarginMs;
}

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
    if (!launcher.runAndWait(program, PrinterWaitMs(dataDir)))
        test.retryQuestion = "The file " + program + " not found!\r" +
                             "Press \"Help\" and see the paragraph \"Instalation\".";

    state.PrinterTestText = FileNames::resolve(dataDir, "Devcheck.dat");
    state.flags.DocketAutoPrint = false;
    const bool drawerOnPrinter = IsPrinterDrawer(state.config.DrawerPort);
    if (drawerOnPrinter) state.flags.DrawerAvailable = false;
    std::optional<TextReader> verdict = TextReader::Open(state.PrinterTestText);
    if (!verdict) {
        test.notices.push_back({"Printer problem :\r" + state.PrinterTestText});
        return test;
    }
    state.PrinterTestText = verdict->readText(255);
    state.flags.DocketAutoPrint = state.PrinterTestText == "Ok";
    test.passed = state.flags.DocketAutoPrint;
    if (drawerOnPrinter) state.flags.DrawerAvailable = test.passed;
    return test;
}
