#include "devices/DeviceStartup.h"

#include "devices/Printer.h"
#include "devices/SerialDevices.h"
#include "store/ProgramState.h"

Notices GreetDevicesAtStart(ProgramState& state, Ports& ports) {
    Notices notices = CheckDrawerPort(state, ports);
    for (Notice& notice : CheckDisplayPort(state, ports))
        notices.push_back(std::move(notice));
    state.PrinterTestText.clear();
    if (state.flags.PrinterDisabled) state.flags.DocketAutoPrint = false;
    return notices;
}

Notices PrintLastDocketAtStart(ProgramState& state, Launcher& launcher) {
    if (state.flags.DocketAutoPrint) return SendDocketToPrinter(state.files.DataDir(), launcher);
    return {{"Printer not available.\rTo print dockets, press \"Docket + Yes\"."}};
}
