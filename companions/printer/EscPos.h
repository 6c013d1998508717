#pragma once

#include "devices/PrinterFile.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The receipt printers' command language, as far as dockets and the printer
// test need it.
namespace EscPos {

inline constexpr std::string_view Initialize = "\x1b@";
// Feed to the cutting position and cut, leaving a hinge or right through.
inline constexpr std::string_view PartialCut{"\x1dV\x42\x00", 4};
inline constexpr std::string_view FullCut{"\x1dV\x41\x00", 4};
// What ends a docket: the feed lines, then the cut as Printer.dat sets them.
std::string docketEnd(int feedLines, PaperCut cut);

// ESC p m t1 t2: a pulse on the drawer socket's pin 2 (m 0) or pin 5 (m 1),
// on for t1 and off for t2 units of 2 ms.
std::string drawerPulse(int m, const DrawerPulse& pulse);

// DLE EOT n: a real-time status request, answered with one byte.
std::string statusRequest(int n);
inline constexpr int OfflineCause = 2;
inline constexpr int PaperSensor = 4;
// The fault a status answer reports; empty when all is well or when the byte
// is no status answer at all.
std::string offlineCauseFault(unsigned char answer);
std::string paperSensorFault(unsigned char answer);

// A printer or release code of a docket row as typed in the setup: decimal
// byte values separated by commas ("27,33,48"); "?" or nothing means none.
struct ByteCodes {
    std::string bytes;
    bool faulty = false; // not a byte list: no bytes are sent for it
};
ByteCodes parseByteCodes(std::string_view text);

// The printer's bytes for a docket file: every line led by a row digit 1..9
// gets its row's code before its text and the release after its line end;
// a line without a row digit is printed as it stands; `end` follows the last
// line. With a code page the printer is switched to it and the text (not the
// codes) converted to it. Indexed by row digit.
using RowCodes = std::array<std::string, 10>;
std::string composeDocket(std::string_view docket, const RowCodes& codes, const RowCodes& releases,
                          std::string_view end = PartialCut,
                          std::optional<int> codePage = std::nullopt);

} // namespace EscPos
