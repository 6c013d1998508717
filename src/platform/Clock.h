#pragma once

#include "platform/DateTime.h"

// The current local time. Only screens ask it; logic takes times as arguments.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};
