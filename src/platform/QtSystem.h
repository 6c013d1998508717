#pragma once

#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "platform/Regional.h"
#include "platform/ScreenInfo.h"

// The system's clock, regional settings, screen and program starter.
class QtClock : public Clock {
  public:
    DateTime now() const override;
};

class QtRegional : public Regional {
  public:
    RegionalFormats formats() const override;
};

class QtScreenInfo : public ScreenInfo {
  public:
    int width() const override;
    int height() const override;
    double scale() const override;
};

class QtLauncher : public Launcher {
  public:
    int startHidden(const std::string& program) override;
    bool runAndWait(const std::string& program, int timeoutMs) override;
    int run(const std::string& program, const std::vector<std::string>& arguments,
            int timeoutMs) override;
};
