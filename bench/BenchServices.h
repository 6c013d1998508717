#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Launcher.h"
#include "platform/Ports.h"
#include "platform/PrintDialog.h"
#include "platform/Regional.h"
#include "platform/ScreenInfo.h"
#include "platform/Services.h"

#include <optional>
#include <string>
#include <vector>

// The program's services for a benchmark that drives a real screen: no
// dialogs stop it, the clock stands still, and no device answers.
struct QuietDialogs : Dialogs {
    void message(const std::string& text) override { shown.push_back(text); }
    Answer confirm(const std::string&, Buttons, std::optional<Position>) override {
        return Answer::Cancel;
    }
    std::vector<std::string> shown;
};
struct FixedClock : Clock {
    DateTime now() const override { return {2026, 12, 7, 10, 0, 0}; }
};
struct FixedFormats : Regional {
    RegionalFormats formats() const override { return {}; }
};
struct NoLauncher : Launcher {
    int startHidden(const std::string&) override { return 2; }
    bool runAndWait(const std::string&, int) override { return false; }
};
struct NoPorts : Ports {
    bool writeLine(const std::string&, const std::string&) override { return false; }
};
struct NoPrinting : PrintDialog {
    bool choose() override { return false; }
};
struct SmallScreen : ScreenInfo {
    int width() const override { return 640; }
    int height() const override { return 480; }
};
