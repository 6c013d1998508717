#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Launcher.h"
#include "platform/Ports.h"
#include "platform/PrintDialog.h"
#include "platform/Regional.h"
#include "platform/ScreenInfo.h"

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
    };

    void message(const std::string& text) override { shown.push_back({text, false, {}}); }
    Answer confirm(const std::string& text, Buttons, std::optional<Position> at) override {
        shown.push_back({text, true, at});
        if (answers.empty()) return Answer::Cancel;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& s : shown)
            out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;
    std::deque<Answer> answers;
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
    int w = 640;
    int h = 480;
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
    std::vector<std::string> started;
    std::vector<std::string> waited;
    int startResult = 33;
    bool checkFiles = false;
    int lastTimeout = 0;
    std::function<void()> onRun;
};

class FakePorts : public Ports {
  public:
    bool writeLine(const std::string& device, const std::string& text) override {
        lines.push_back(device + "|" + text);
        return works;
    }
    std::vector<std::string> lines;
    bool works = true;
};

// Counts the times the print dialog was shown and answers as set.
class FakePrintDialog : public PrintDialog {
  public:
    bool choose() override {
        ++shown;
        if (onShow) onShow();
        return answer;
    }
    int shown = 0;
    bool answer = true;
    std::function<void()> onShow;
};
