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

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Records every box shown and answers confirmations from a script.
class FakeDialogs : public Dialogs {
  public:
    struct Shown {
        std::string text;
        bool confirmation = false;
        std::optional<Position> at;
        Buttons buttons = Buttons::OkCancel;
        bool secret = false;
    };

    void message(const std::string& text) override { shown.push_back({text, false, {}}); }
    Answer confirm(const std::string& text, Buttons buttons, std::optional<Position> at) override {
        shown.push_back({text, true, at, buttons});
        if (answers.empty()) return Answer::Cancel;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> askText(const std::string& text) override {
        shown.push_back({text, true, {}});
        if (typed.empty()) return std::nullopt;
        std::optional<std::string> t = typed.front();
        typed.pop_front();
        return t;
    }
    // Secrets are answered from their own script, so a test sees which was asked.
    std::optional<std::string> askSecret(const std::string& text) override {
        shown.push_back({text, true, {}, Buttons::OkCancel, true});
        if (secrets.empty()) return std::nullopt;
        std::optional<std::string> t = secrets.front();
        secrets.pop_front();
        return t;
    }
    size_t secretsAsked() const {
        return static_cast<size_t>(
            std::count_if(shown.begin(), shown.end(), [](const Shown& s) { return s.secret; }));
    }
    void beep() override { ++beeps; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& s : shown)
            out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> typed;
    std::deque<std::optional<std::string>> secrets;
    int beeps = 0;
};

class FakeClock : public Clock {
  public:
    DateTime now() const override { return time; }
    DateTime time{2026, 12, 7, 9, 5, 30};
};

// The fixed formats every test runs with.
class FixedRegional : public Regional {
  public:
    RegionalFormats formats() const override { return RegionalFormats{}; }
};

class FakeScreen : public ScreenInfo {
  public:
    int width() const override { return w; }
    int height() const override { return h; }
    double scale() const override { return factor; }
    int w = 640;
    int h = 480;
    double factor = 1;
};

class FakeLauncher : public Launcher {
  public:
    int startHidden(const std::string& program) override {
        started.push_back(program);
        // Like the system: a program that is not there cannot start.
        if (checkFiles && !std::filesystem::exists(program)) return 2;
        return startResult;
    }
    bool runAndWait(const std::string& program, int timeoutMs) override {
        waited.push_back(program);
        lastTimeout = timeoutMs;
        if (onRun) onRun();
        return startResult >= 32;
    }
    int run(const std::string& program, const std::vector<std::string>& arguments,
            int timeoutMs) override {
        std::string line = program;
        for (const std::string& a : arguments)
            line += " " + a;
        ran.push_back(line);
        lastTimeout = timeoutMs;
        if (onRun) onRun();
        return startResult >= 32 ? exitCode : -1;
    }
    std::vector<std::string> started;
    // Each program run with arguments, the arguments after it.
    std::vector<std::string> ran;
    int exitCode = 0;
    std::vector<std::string> waited;
    int startResult = 33;
    bool checkFiles = false;
    int lastTimeout = 0;
    std::function<void()> onRun;
};

// Records each write as "device|bytes" in `written`, and in `lines` with a
// line's closing CR LF dropped.
class FakePorts : public Ports {
  public:
    bool write(const std::string& device, const std::string& bytes,
               const std::optional<SerialLine>& /*line*/) override {
        written.push_back(device + "|" + bytes);
        std::string text = bytes;
        if (text.ends_with("\r\n")) text.resize(text.size() - 2);
        lines.push_back(device + "|" + text);
        return works;
    }
    std::vector<std::string> lines, written;
    bool works = true;
};

// Counts the times the print dialog was shown and answers as set; keeps the
// documents printed.
class FakePrintDialog : public PrintDialog {
  public:
    bool choose() override {
        ++shown;
        if (onShow) onShow();
        return answer;
    }
    Outcome printText(const TextDocument& document) override {
        ++shown;
        if (outcome == Outcome::Printed || outcome == Outcome::PrintedToPdf)
            printed.push_back(document);
        return outcome;
    }
    Outcome printPicture(const PictureDocument& document) override {
        ++shown;
        if (outcome == Outcome::Printed || outcome == Outcome::PrintedToPdf)
            pictures.push_back(document);
        return outcome;
    }
    int shown = 0;
    bool answer = true;
    std::function<void()> onShow;
    Outcome outcome = Outcome::PrintedToPdf;
    std::vector<TextDocument> printed;
    std::vector<PictureDocument> pictures;
};

// Answers the open dialog from a script; an empty answer is Cancel.
class FakeFileDialog : public FileDialog {
  public:
    std::optional<std::string> open(const std::string& title, const std::string& directory,
                                    const std::vector<Filter>& filters) override {
        titles.push_back(title);
        lastDirectory = directory;
        lastFilters = filters;
        if (answers.empty() || answers.front().empty()) {
            if (!answers.empty()) answers.pop_front();
            return std::nullopt;
        }
        std::string path = answers.front();
        answers.pop_front();
        return path;
    }
    std::deque<std::string> answers;
    std::vector<std::string> titles;
    std::string lastDirectory;
    std::vector<Filter> lastFilters;
};

// Presses Apply with each font of `applied`, then OK with `answer` (or Cancel).
class FakeFontDialog : public FontDialog {
  public:
    std::optional<FontChoice> choose(const FontChoice& initial,
                                     const std::function<void(const FontChoice&)>& apply) override {
        shownWith = initial;
        for (const FontChoice& f : applied)
            apply(f);
        return answer;
    }
    std::vector<FontChoice> applied;
    std::optional<FontChoice> answer;
    FontChoice shownWith;
};

// A fake for every system service, bundled as the program takes them.
struct FakeServices {
    FakeDialogs dialogs;
    FakeClock clock;
    FixedRegional regional;
    FakeLauncher launcher;
    FakePorts ports;
    FakeScreen screenInfo;
    FakePrintDialog printDialog;
    FakeFileDialog fileDialog;
    FakeFontDialog fontDialog;
    Services services{dialogs,    clock,       regional,   launcher,  ports,
                      screenInfo, printDialog, fileDialog, fontDialog};
};
