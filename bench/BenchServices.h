#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileDialog.h"
#include "platform/FontDialog.h"
#include "platform/Launcher.h"
#include "platform/Ports.h"
#include "platform/PrintDialog.h"
#include "platform/Regional.h"
#include "platform/ScreenInfo.h"
#include "platform/Services.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The program's services for a benchmark that drives a real screen: no
// dialog stops it, the clock stands still, no device answers, and a file
// dialog answers with the file the benchmark names.
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
    int run(const std::string&, const std::vector<std::string>&, int) override { return -1; }
};
struct NoPorts : Ports {
    bool writeLine(const std::string&, const std::string&) override { return false; }
};
struct NoPrinting : PrintDialog {
    bool choose() override { return false; }
    Outcome printText(const TextDocument&) override { return Outcome::Cancelled; }
    Outcome printPicture(const PictureDocument&) override { return Outcome::Cancelled; }
};
struct ChosenFile : FileDialog {
    std::optional<std::string> open(const std::string&, const std::string&,
                                    const std::vector<Filter>&) override {
        if (path.empty()) return std::nullopt;
        return path;
    }
    std::string path;
};
struct NoFontDialog : FontDialog {
    std::optional<FontChoice> choose(const FontChoice&,
                                     const std::function<void(const FontChoice&)>&) override {
        return std::nullopt;
    }
};
struct FixedScreen : ScreenInfo {
    FixedScreen(int w, int h) : w(w), h(h) {}
    int width() const override { return w; }
    int height() const override { return h; }
    int w, h;
};

struct BenchServices {
    explicit BenchServices(int screenWidth = 640, int screenHeight = 480)
        : screen(screenWidth, screenHeight) {}
    QuietDialogs dialogs;
    FixedClock clock;
    FixedFormats regional;
    NoLauncher launcher;
    NoPorts ports;
    FixedScreen screen;
    NoPrinting printing;
    ChosenFile fileDialog;
    NoFontDialog fontDialog;
    Services services{dialogs, clock,    regional,   launcher,  ports,
                      screen,  printing, fileDialog, fontDialog};
};
