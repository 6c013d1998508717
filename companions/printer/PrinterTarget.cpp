#include "printer/PrinterTarget.h"
#include "store/Padding.h"

#include <strings.h>

namespace {

constexpr const char* DefaultNetworkPort = "9100";

bool validPort(const std::string& port) {
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    long n = std::stol(port);
    return n >= 1 && n <= 65535;
}

// "HOST:PORT", "HOST" (the usual raw printing port) or "[v6 address]:PORT".
bool splitHostPort(std::string_view text, PrinterTarget& target) {
    std::string_view host = text, port;
    if (!text.empty() && text.front() == '[') {
        size_t close = text.find(']');
        if (close == std::string_view::npos) return false;
        host = text.substr(1, close - 1);
        std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return false;
            port = rest.substr(1);
        }
    } else if (size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    target.name = std::string(host);
    target.port = port.empty() ? DefaultNetworkPort : std::string(port);
    return !target.name.empty() && validPort(target.port);
}

// Four hex digits, a colon, four hex digits.
bool usbIds(std::string_view text) {
    auto hex = [](std::string_view s) {
        return s.size() == 4 && s.find_first_not_of("0123456789abcdefABCDEF") == s.npos;
    };
    return text.size() == 9 && text[4] == ':' && hex(text.substr(0, 4)) && hex(text.substr(5));
}

} // namespace

std::string PrinterTarget::text() const {
    switch (kind) {
    case Kind::Device:
        return "device:" + name;
    case Kind::Usb:
        return "usb:" + name;
    case Kind::Serial:
        return "serial:" + name;
    case Kind::Queue:
        return "lp:" + name;
    case Kind::Network:
        return "tcp:" + name + ":" + port;
    case Kind::File:
        break;
    }
    return "file:" + name;
}

std::optional<PrinterTarget> ParsePrinterTarget(std::string_view line, std::string& fault) {
    line = TrimSpace(line.substr(0, line.find(" #")));
    static constexpr std::pair<std::string_view, PrinterTarget::Kind> Kinds[] = {
        {"device:", PrinterTarget::Kind::Device}, {"usb:", PrinterTarget::Kind::Usb},
        {"serial:", PrinterTarget::Kind::Serial}, {"lp:", PrinterTarget::Kind::Queue},
        {"tcp:", PrinterTarget::Kind::Network},   {"file:", PrinterTarget::Kind::File},
    };
    for (const auto& [prefix, kind] : Kinds) {
        if (line.size() < prefix.size() ||
            ::strncasecmp(line.data(), prefix.data(), prefix.size()) != 0)
            continue;
        PrinterTarget target;
        target.kind = kind;
        std::string_view rest = TrimSpace(line.substr(prefix.size()));
        bool ok = kind == PrinterTarget::Kind::Network ? splitHostPort(rest, target)
                  : kind == PrinterTarget::Kind::Usb   ? usbIds(rest)
                                                       : !rest.empty();
        if (kind != PrinterTarget::Kind::Network) target.name = std::string(rest);
        if (ok) return target;
        break;
    }
    fault = "Printer.dat: unknown printer \"" + std::string(line) + "\"";
    return std::nullopt;
}

std::optional<PrinterSetup> ReadPrinterSetup(const std::string& dataDir, std::string& fault) {
    std::optional<PrinterFile> file = ReadPrinterFile(dataDir);
    if (!file) {
        fault = "No Printer.dat in " + dataDir;
        return std::nullopt;
    }
    std::optional<PrinterTarget> target = ParsePrinterTarget(file->target, fault);
    if (!target) return std::nullopt;
    target->line = SerialLineOf(*file);
    return PrinterSetup{std::move(*target), std::move(*file)};
}
