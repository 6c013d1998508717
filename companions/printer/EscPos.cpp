#include "printer/EscPos.h"

#include "store/ByteList.h"

#include <utility>

namespace EscPos {

namespace {

// Every status answer has bits 1 and 4 set and bits 0 and 7 clear.
bool isStatusAnswer(unsigned char b) {
    return (b & 0x93) == 0x12;
}

} // namespace

std::string statusRequest(int n) {
    return std::string{'\x10', '\x04', static_cast<char>(n)};
}

std::string offlineCauseFault(unsigned char answer) {
    if (!isStatusAnswer(answer)) return {};
    if (answer & 0x04) return "Printer cover open";
    if (answer & 0x20) return "Printer out of paper";
    if (answer & 0x40) return "Printer reports an error";
    return {};
}

std::string paperSensorFault(unsigned char answer) {
    if (!isStatusAnswer(answer)) return {};
    if (answer & 0x60) return "Printer out of paper";
    return {};
}

ByteCodes parseByteCodes(std::string_view text) {
    std::optional<std::string> bytes = ParseByteList(text);
    if (!bytes) return {{}, true};
    return {std::move(*bytes), false};
}

std::string composeDocket(std::string_view docket, const RowCodes& codes,
                          const RowCodes& releases) {
    std::string out(Initialize);
    while (!docket.empty()) {
        size_t end = docket.find('\n');
        std::string_view line = docket.substr(0, end);
        docket.remove_prefix(end == std::string_view::npos ? docket.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() >= '1' && line.front() <= '9') {
            size_t row = static_cast<size_t>(line.front() - '0');
            out += codes[row];
            out += line.substr(1);
            out += "\r\n";
            out += releases[row];
        } else {
            out += line;
            out += "\r\n";
        }
    }
    out += PaperCut;
    return out;
}

} // namespace EscPos
