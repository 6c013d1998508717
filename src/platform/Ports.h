#pragma once

#include "store/SerialLine.h"

#include <optional>
#include <string>

// Serial devices: open a device by path, write, close.
class Ports {
  public:
    virtual ~Ports() = default;
    // Writes the bytes as they are. With `line` the port is first set to
    // those line settings (raw); without, it keeps the settings the system
    // gave it. False when the device cannot be opened, is no serial port
    // while `line` asks for settings, or does not take every byte within the
    // deadline.
    virtual bool write(const std::string& devicePath, const std::string& bytes,
                       const std::optional<SerialLine>& line) = 0;
    // Writes text followed by CR LF.
    bool writeLine(const std::string& devicePath, const std::string& text,
                   const std::optional<SerialLine>& line = std::nullopt) {
        return write(devicePath, text + "\r\n", line);
    }
};
