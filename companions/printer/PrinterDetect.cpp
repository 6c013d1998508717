#include "printer/PrinterDetect.h"

#include "printer/ChildProcess.h"
#include "printer/PrinterConnection.h"
#include "printer/PrinterTarget.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The first line of a small device tree file, blanks dropped at the end.
std::string firstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ')
        line.pop_back();
    return line;
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The entries of a folder whose names start with `prefix`, sorted; none when
// it cannot be read.
std::vector<std::string> entries(const fs::path& dir, const std::string& prefix) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string maker(const fs::path& usbDevice) {
    std::string text = firstLine(usbDevice / "manufacturer");
    const std::string product = firstLine(usbDevice / "product");
    if (!product.empty()) text += (text.empty() ? "" : " ") + product;
    return text.empty() ? "USB printer" : text;
}

// A USB device with a printer interface (class 7).
bool isPrinter(const fs::path& usbDevice) {
    const std::string name = usbDevice.filename().string();
    for (const std::string& interface : entries(usbDevice, name + ":"))
        if (firstLine(usbDevice / interface / "bInterfaceClass") == "07") return true;
    return false;
}

void usbPrinters(const fs::path& root, std::vector<PrinterCandidate>& found) {
    const fs::path devices = root / "sys/bus/usb/devices";
    for (const std::string& name : entries(devices, "")) {
        const fs::path device = devices / name;
        const std::string vendor = lower(firstLine(device / "idVendor"));
        const std::string product = lower(firstLine(device / "idProduct"));
        if (vendor.empty() || product.empty() || !isPrinter(device)) continue;
        std::string address = "usb:";
        address.append(vendor).append(":").append(product);
        found.push_back({std::move(address), maker(device)});
    }
}

void lineDevices(const fs::path& root, std::vector<PrinterCandidate>& found) {
    for (const std::string& name : entries(root / "dev/usb", "lp")) {
        const fs::path usbDevice = root / "sys/class/usbmisc" / name / "device/..";
        std::string description = firstLine(usbDevice / "idVendor").empty()
                                      ? std::string("USB printer port")
                                      : maker(usbDevice);
        found.push_back({"device:/dev/usb/" + name, description});
    }
}

void queues(const Deadline& deadline, std::vector<PrinterCandidate>& found) {
    ChildResult r = RunChild({"lpstat", "-e"}, {}, deadline);
    if (!r.started || !r.finished || r.exitCode != 0) return;
    size_t start = 0;
    while (start < r.output.size()) {
        size_t end = r.output.find('\n', start);
        if (end == std::string::npos) end = r.output.size();
        std::string queue = r.output.substr(start, end - start);
        if (!queue.empty()) found.push_back({"lp:" + queue, "print queue"});
        start = end + 1;
    }
}

// Serial ports that have hardware behind them: USB adapters always, the
// built-in ports only when the system found a UART there.
void serialPorts(const fs::path& root, std::vector<PrinterCandidate>& found) {
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
        for (const std::string& name : entries(root / "dev", prefix)) {
            const fs::path tty = root / "sys/class/tty" / name;
            if (prefix == std::string("ttyS") && firstLine(tty / "type") == "0") continue;
            found.push_back({"serial:/dev/" + name, "serial port"});
        }
    }
}

void networkPrinters(const std::vector<std::string>& hosts, const Deadline& deadline,
                     std::vector<PrinterCandidate>& found) {
    for (const std::string& host : hosts) {
        std::string fault;
        auto target = ParsePrinterTarget("tcp:" + host, fault);
        if (!target) continue;
        // Each host gets its share of the time left, so one that does not
        // answer cannot hide the others.
        Deadline own(std::min(deadline.msLeft(), 1000));
        PrinterConnection printer("/", own);
        if (printer.open(*target)) found.push_back({target->text(), "network printer"});
    }
}

} // namespace

PrinterSearch FindPrinters(const std::string& root, const std::vector<std::string>& hosts,
                           const Deadline& deadline) {
    PrinterSearch search;
    const fs::path r(root);
    std::error_code error;
    search.couldLook = fs::is_directory(r / "sys", error) || fs::is_directory(r / "dev", error);
    if (!search.couldLook) return search;
    usbPrinters(r, search.found);
    lineDevices(r, search.found);
    queues(deadline, search.found);
    serialPorts(r, search.found);
    networkPrinters(hosts, deadline, search.found);
    return search;
}

std::string CandidateLine(const PrinterCandidate& candidate) {
    return candidate.target + "  # " + candidate.description;
}

std::optional<std::string> UsbPrinterDevice(const std::string& root, const std::string& ids) {
    const fs::path r(root);
    for (const std::string& name : entries(r / "sys/class/usbmisc", "lp")) {
        const fs::path usbDevice = r / "sys/class/usbmisc" / name / "device/..";
        const std::string found = lower(firstLine(usbDevice / "idVendor")) + ":" +
                                  lower(firstLine(usbDevice / "idProduct"));
        if (found == lower(ids)) return "/dev/usb/" + name;
    }
    return std::nullopt;
}
