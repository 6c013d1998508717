#include "printer/EscPos.h"

#include "printer/CodePages.h"
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

std::string docketEnd(int feedLines, PaperCut cut) {
    std::string out;
    if (feedLines > 0) out += std::string{'\x1b', 'd', static_cast<char>(feedLines)};
    if (cut == PaperCut::Full) out += FullCut;
    if (cut == PaperCut::Partial) out += PartialCut;
    return out;
}

std::string drawerPulse(int m, const DrawerPulse& pulse) {
    return std::string{'\x1b', 'p', static_cast<char>(m), static_cast<char>(pulse.on),
                       static_cast<char>(pulse.off)};
}

std::string composeDocket(std::string_view docket, const RowCodes& codes, const RowCodes& releases,
                          std::string_view end, std::optional<int> codePage) {
    std::string out(Initialize);
    if (codePage) out += std::string{'\x1b', 't', static_cast<char>(*codePage)};
    auto text = [&](std::string_view t) {
        return codePage ? ToPrinterPage(t, *codePage) : std::string(t);
    };
    while (!docket.empty()) {
        const size_t lineEnd = docket.find('\n');
        std::string_view line = docket.substr(0, lineEnd);
        docket.remove_prefix(lineEnd == std::string_view::npos ? docket.size() : lineEnd + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() >= '1' && line.front() <= '9') {
            size_t row = static_cast<size_t>(line.front() - '0');
            out += codes[row];
            out += text(line.substr(1));
            out += "\r\n";
            out += releases[row];
        } else {
            out += text(line);
            out += "\r\n";
        }
    }
    out += end;
    return out;
}

} // namespace EscPos
