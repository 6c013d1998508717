#pragma once

#include "forms/ZorviScreen.h"

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
