#include "devices/DeviceStartup.h"

#include "devices/Printer.h"
#include "devices/SerialDevices.h"
#include "platform/Dialogs.h"
#include "store/ProgramState.h"

void CheckDevicesAndPrinterAtStart(ProgramState& state, Ports& ports, Launcher& launcher,
                                   Dialogs& dialogs) {
    CheckDrawerPort(state, ports, dialogs);
    CheckDisplayPort(state, ports, dialogs);

    state.PrinterTestText.clear();
    if (state.flags.PrinterDisabled)
        state.flags.DocketAutoPrint = false;
    else
        TestPrinter(state, launcher, dialogs);

    if (state.flags.DocketAutoPrint)
        for (const Notice& notice : SendDocketToPrinter(state.files.DataDir(), launcher))
            dialogs.message(notice.text);
    else
        dialogs.message("Printer not available.\rTo print dockets, press \"Docket + Yes\".");
}
