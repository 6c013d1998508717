#pragma once

#include <string>

// Serial devices: open a device by path, write one line, close.
class Ports {
  public:
    virtual ~Ports() = default;
    // Writes text followed by CR LF. False when the device cannot be opened or
    // does not take the whole line within the deadline.
    virtual bool writeLine(const std::string& devicePath, const std::string& text) = 0;
};
