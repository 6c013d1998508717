#include "store/SerialLine.h"

#include <algorithm>
#include <iterator>

std::optional<SerialLine> ParseSerialLine(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.size() - comma != 4) return std::nullopt;
    const std::string_view speed = text.substr(0, comma);
    if (speed.empty() || speed.size() > 6 || speed.find_first_not_of("0123456789") != speed.npos)
        return std::nullopt;
    SerialLine line;
    line.speed = 0;
    for (char c : speed)
        line.speed = line.speed * 10 + (c - '0');
    if (std::find(std::begin(SerialSpeeds), std::end(SerialSpeeds), line.speed) ==
        std::end(SerialSpeeds))
        return std::nullopt;
    const char bits = text[comma + 1], parity = text[comma + 2], stop = text[comma + 3];
    if (bits < '5' || bits > '8' || (parity != 'N' && parity != 'E' && parity != 'O') ||
        (stop != '1' && stop != '2'))
        return std::nullopt;
    line.dataBits = bits - '0';
    line.parity = parity;
    line.stopBits = stop - '0';
    return line;
}
