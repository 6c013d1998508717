#include "devices/Printer.h"

#include "platform/Dialogs.h"
#include "platform/Launcher.h"
#include "store/FileNames.h"
#include "store/ProgramState.h"
#include "store/TextFile.h"

namespace {

void runPrinterTest(const std::string& program, Launcher& launcher, Dialogs& dialogs) {
    while (!launcher.runAndWait(program, PrinterTestTimeoutMs)) {
        auto answer = dialogs.confirm("The file " + program + " not found!\r" +
                                          "Press \"Help\" and see the paragraph \"Instalation\".",
                                      Dialogs::Buttons::RetryCancel);
        if (answer != Dialogs::Answer::Retry) return;
    }
}

} // namespace

Notices SendDocketToPrinter(const std::string& dataDir, Launcher& launcher) {
    int result = launcher.startHidden(FileNames::resolve(dataDir, "Slipjet.exe"));
    if (result >= 32) return {};
    return {{"Printer not ready! Errorcode=" + std::to_string(result)}};
}

bool TestPrinter(ProgramState& state, Launcher& launcher, Dialogs& dialogs) {
    const std::string& dataDir = state.files.DataDir();
    const std::string verdictPath = FileNames::resolve(dataDir, "Devcheck.dat");
    // An old verdict must not stand in for this test: a test that cannot run
    // or does not finish in time leaves no verdict at all.
    FileNames::remove(verdictPath);
    runPrinterTest(FileNames::resolve(dataDir, "Devcheck.exe"), launcher, dialogs);

    state.PrinterTestText = FileNames::resolve(dataDir, "Devcheck.dat");
    state.flags.DocketAutoPrint = false;
    // A handle of its own: the docket handle may hold a docket being written.
    TextFile verdict;
    if (!verdict.openRead(state.PrinterTestText)) {
        dialogs.message("Printer problem :\r" + state.PrinterTestText);
        return false;
    }
    state.PrinterTestText = verdict.readText(255);
    verdict.close();
    state.flags.DocketAutoPrint = state.PrinterTestText == "Ok";
    return state.flags.DocketAutoPrint;
}
