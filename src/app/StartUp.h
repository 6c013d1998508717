#pragma once

#include "platform/DateTime.h"

#include <string>

struct ProgramState;
struct Services;

// What the main screen shows after the start-up checks.
struct StartUpOutcome {
    bool tradingDisabled = false;
    std::string dateText;
    std::string clockText;
};

// The start-up sequence, run once when the main screen is created: companion
// files, data directory, printer path check, screen size, configuration,
// device ports and printer, day totals, price list and the start record. No
// step ends the program; a failure shows its message and the sequence goes on.
StartUpOutcome RunStartUp(ProgramState& state, Services& services, const std::string& dataDir);

// True when a component of the path is longer than 8 characters, counting
// from the last separator or ".".
bool HasLongPathComponent(const std::string& path);
