#pragma once

#include <optional>
#include <string_view>

// A serial port's line settings as the shop writes them: the speed, then the
// data bits, the parity (N, E or O) and the stop bits, as "9600,8N1".
struct SerialLine {
    int speed = 9600;
    int dataBits = 8;
    char parity = 'N';
    int stopBits = 1;
    // Flow control: 'N' none, 'H' by the RTS and CTS wires, 'X' by XON/XOFF.
    char flow = 'N';
};

// The speeds a port can be set to.
inline constexpr int SerialSpeeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// Empty when the text is no such setting.
std::optional<SerialLine> ParseSerialLine(std::string_view text);
