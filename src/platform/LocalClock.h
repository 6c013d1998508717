#pragma once

#include "platform/Clock.h"

// The system's local time, for the command-line programs, which have no Qt.
class LocalClock : public Clock {
  public:
    DateTime now() const override;
};
