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
    std::optional<std::string> askText(const std::string&) override { return std::nullopt; }
    std::optional<std::string> askSecret(const std::string&) override { return std::nullopt; }
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
    bool write(const std::string&, const std::string&, const std::optional<SerialLine>&) override {
        return false;
    }
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
    FixedScreen(int width, int height) : m_width(width), m_height(height) {}
    int width() const override { return m_width; }
    int height() const override { return m_height; }
    double scale() const override { return 1.0; }
    int m_width, m_height;
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
