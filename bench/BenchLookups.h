#pragma once

#include "forms/ZorviScreen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// A screen's code entry timed from the last key of each code to the field
// that follows a code found; Esc goes back for the next. The times in
// milliseconds, sorted; empty when a code was not found.
inline std::vector<double> TimeCodeLookups(ZorviScreen& screen,
                                           const std::vector<std::string>& codes,
                                           const QWidget* shownField) {
    std::vector<double> ms;
    for (const std::string& code : codes) {
        QTest::keyClicks(screen.activeControl(),
                         QString::fromStdString(code.substr(0, code.size() - 1)));
        auto start = std::chrono::steady_clock::now();
        QTest::keyClick(screen.activeControl(), code.back());
        auto end = std::chrono::steady_clock::now();
        if (screen.activeControl() != shownField) {
            std::fprintf(stderr, "code %s was not found\n", code.c_str());
            return {};
        }
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        QTest::keyClick(screen.activeControl(), Qt::Key_Escape);
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

// The same, each code sent as a scanner sends it: its keys 5 ms apart by
// their own time stamps, then Enter. Timed from the code's last character,
// which completes a full-length code, to the field that follows.
inline std::vector<double> TimeScannedLookups(ZorviScreen& screen,
                                              const std::vector<std::string>& codes,
                                              const QWidget* shownField) {
    std::vector<double> ms;
    unsigned long stamp = 1000000;
    auto send = [&](int key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        event.setTimestamp(stamp);
        QApplication::sendEvent(screen.activeControl(), &event);
        stamp += 5;
    };
    for (const std::string& code : codes) {
        for (size_t i = 0; i + 1 < code.size(); ++i)
            send(code[i], QString(QChar(code[i])));
        auto start = std::chrono::steady_clock::now();
        send(code.back(), QString(QChar(code.back())));
        auto end = std::chrono::steady_clock::now();
        send(Qt::Key_Return, "\r");
        if (screen.activeControl() != shownField) {
            std::fprintf(stderr, "scanned code %s was not found\n", code.c_str());
            return {};
        }
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        stamp += 1000;
        QTest::keyClick(screen.activeControl(), Qt::Key_Escape);
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}
