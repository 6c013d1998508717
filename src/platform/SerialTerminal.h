#pragma once

#include "store/SerialLine.h"

// Puts the serial port open at fd into raw mode (every byte goes out as it
// is) with these line settings. False when fd is no serial port or the
// system refuses the settings.
bool SetSerialLine(int fd, const SerialLine& line);
