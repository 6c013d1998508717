#pragma once

#include <array>
#include <string>
#include <string_view>

// The receipt printers' command language, as far as dockets and the printer
// test need it.
namespace EscPos {

inline constexpr std::string_view Initialize = "\x1b@";
// Feed to the cutting position and cut, leaving a hinge.
inline constexpr std::string_view PaperCut{"\x1dV\x42\x00", 4};

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
// a line without a row digit is printed as it stands. Indexed by row digit.
using RowCodes = std::array<std::string, 10>;
std::string composeDocket(std::string_view docket, const RowCodes& codes, const RowCodes& releases);

} // namespace EscPos
