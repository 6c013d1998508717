#include "devices/SerialDevices.h"

#include "devices/Printer.h"
#include "platform/Launcher.h"
#include "platform/Ports.h"
#include "store/FileNames.h"
#include "store/Padding.h"
#include "store/ProgramState.h"

namespace {

// Sends the bytes to the device behind the port, with the line settings
// Options.dat gives the port (none: the port keeps the system's). A port that
// is not configured never reaches the device layer.
bool writeToPort(const std::string& port, const std::string& bytes, const ProgramState& state,
                 Ports& ports) {
    const std::string device = SerialDevicePath(port, state.files.DataDir());
    return !device.empty() &&
           ports.write(device, bytes, ParseSerialLine(state.options.value(port)));
}

// What the display is sent to show a line: the line and CR LF. An ESC/POS
// display is first cleared (FF), and each of its two rows of 20 is written
// from its first column (US $ 1 row): a line of up to 20 characters on the
// upper row, a longer one (a width of up to 40 for the two rows) split in
// half, its first half above the rest, as a display that wraps would show
// it. No line end is sent, since a line feed would scroll the text off a
// display set to scroll.
std::string displayBytes(const std::string& line, const ProgramState& state) {
    if (state.options.value("display") != "escpos") return line + "\r\n";
    constexpr size_t RowWidth = 20;
    std::string bytes = "\x0c\x1f$\x01\x01";
    if (line.size() <= RowWidth) return bytes + line;
    const size_t half = (line.size() + 1) / 2;
    return bytes + line.substr(0, half) + "\x1f$\x01\x02" + line.substr(half);
}

std::string noDeviceMessage(const std::string& checking, const std::string& port) {
    return " " + checking + " !\r No device found at serial port " + port +
           "\r Go to Setup and designate the correct serialport.";
}

std::string problemMessage(const std::string& device) {
    return " A problem with the " + device +
           " has ocured, \r Please check the connections and rectify.";
}

// Sets `available` when the port is configured and takes the greeting.
Notices checkPort(const std::string& port, const std::string& greeting, const std::string& checking,
                  bool& available, ProgramState& state, Ports& ports) {
    available = false;
    if (SerialDevicePath(port, state.files.DataDir()).empty()) return {};
    available = writeToPort(port, greeting, state, ports);
    if (!available) return {{noDeviceMessage(checking, port)}};
    return {};
}

} // namespace

bool IsPrinterDrawer(const std::string& port) {
    return port == "PRN1" || port == "PRN2";
}

std::string SerialDevicePath(const std::string& port, const std::string& dataDir) {
    static constexpr const char* Names[] = {"COM1", "COM2", "COM3", "COM4"};
    for (int i = 0; i < 4; ++i) {
        if (port != Names[i]) continue;
        std::string link = FileNames::resolve(dataDir, port);
        // A link to an unplugged adapter is still this port, only not
        // available now; another device must not get its commands.
        if (FileNames::named(link)) return link;
        return "/dev/ttyS" + std::to_string(i);
    }
    return {};
}

Notices CheckDrawerPort(ProgramState& state, Ports& ports) {
    if (IsPrinterDrawer(state.config.DrawerPort)) {
        state.flags.DrawerAvailable = state.PrinterTestText == "Ok";
        return {};
    }
    return checkPort(state.config.DrawerPort, "open\r\n", "Cecking for a Cashdrawer",
                     state.flags.DrawerAvailable, state, ports);
}

Notices CheckDisplayPort(ProgramState& state, Ports& ports) {
    return checkPort(state.config.DisplayPort, displayBytes("Customer display", state),
                     "Checking for a Customer display", state.flags.DisplayAvailable, state, ports);
}

Notices OpenCashDrawer(ProgramState& state, Ports& ports, Launcher& launcher) {
    const std::string& dataDir = state.files.DataDir();
    if (IsPrinterDrawer(state.config.DrawerPort)) {
        const std::string program = FileNames::resolve(dataDir, "Slipjet.exe");
        if (launcher.run(program, {"drawer", state.config.DrawerPort}, PrinterWaitMs(dataDir)) == 0)
            return {};
        state.flags.DrawerAvailable = false;
        return {{"Drawer not opened: printer not ready"}};
    }
    if (writeToPort(state.config.DrawerPort, "open\r\n", state, ports)) return {};
    state.flags.DrawerAvailable = false;
    return {{problemMessage("Cash drawer")}};
}

Notices ShowOnCustomerDisplay(std::string& left, const std::string& right, ProgramState& state,
                              Ports& ports) {
    const long width = state.config.DisplayWidth;
    const long room = width - static_cast<long>(right.size()) - 1;
    while (!left.empty() && static_cast<long>(left.size()) > room)
        left.pop_back();
    const std::string line =
        PadLeft(left + " " + right, width > 0 ? static_cast<size_t>(width) : 0);
    if (writeToPort(state.config.DisplayPort, displayBytes(line, state), state, ports)) return {};
    state.flags.DisplayAvailable = false;
    return {{problemMessage("Customer display")}};
}
