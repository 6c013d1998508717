#include "sales/TillSteps.h"

#include "devices/Docket.h"
#include "devices/DocketVerdict.h"
#include "devices/Printer.h"
#include "devices/SerialDevices.h"
#include "forms/ShowNotices.h"
#include "platform/Services.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/ProgramState.h"

TextFile& takingsForWriting(DataFiles& files) {
    if (!files.results.isOpen() && !files.OpenResultsForAppend())
        throw IoError(files.CurrentFileName, "The takings file cannot be opened");
    return files.results;
}

void flushTakings(DataFiles& files, bool toDisk) {
    try {
        if (toDisk)
            files.results.sync();
        else
            files.results.flush();
    } catch (const IoError&) {
        files.results.discard();
        throw;
    }
}

void closeTakings(DataFiles& files) {
    if (files.results.isOpen()) files.results.close();
}

bool acceptSalesPerson(ProgramState& state, const std::string& code, Dialogs& dialogs) {
    // The next docket replaces docket.prn: a last one that did not print is
    // said first, while it can still be printed again from the main screen.
    if (!state.flags.DocketOpen) {
        if (std::optional<std::string> fault = TakeDocketFault(state.files.DataDir())) {
            dialogs.message("The last docket was not printed: " + *fault +
                            "\rPress Docket on the main screen to print it again.");
            return false;
        }
    }
    state.sale.CurrentSalesPerson = code;
    if (!state.flags.DocketOpen) runDocketStep(state, dialogs, [&] { StartDocket(state); });
    if (!state.files.results.isOpen()) state.files.OpenResultsForAppend();
    return true;
}

void runDocketStep(ProgramState& state, Dialogs& dialogs, const std::function<void()>& step) {
    try {
        step();
    } catch (const IoError& e) {
        abandonDocket(state);
        dialogs.message(e.message());
    }
}

void completeDocket(ProgramState& state, Services& services) {
    bool finished = false;
    runDocketStep(state, services.dialogs, [&] {
        WriteDocketTotals(state);
        FinishDocket(state);
        finished = true;
    });
    const std::string& dir = state.files.DataDir();
    if (finished && state.flags.DocketAutoPrint &&
        FileNames::exists(FileNames::resolve(dir, "docket.prn")))
        ShowNotices(services.dialogs, SendDocketToPrinter(dir, services.launcher));
}

void abandonDocket(ProgramState& state) {
    state.flags.DocketOpen = false;
    if (state.files.docket.isOpen()) state.files.docket.discard();
}

void showSaleOnDisplay(ProgramState& state, Services& services) {
    if (!state.flags.DisplayAvailable) return;
    std::string left = state.sale.DisplayText;
    ShowNotices(services.dialogs,
                ShowOnCustomerDisplay(left, state.sale.DisplayValue, state, services.ports));
}
