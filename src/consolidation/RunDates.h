#pragma once

#include "platform/DateTime.h"
#include "platform/Regional.h"

#include <string>

// The date texts of one consolidation run, taken once when the screen is
// shown, so that a run crossing midnight, or finished at the next start,
// files everything under the day it began on.
struct RunDates {
    std::string DateText;  // short date, at most 8 characters
    std::string YearText;  // "2026"
    std::string MonthText; // "Jan" .. "Dez"
    std::string DayText;   // "05"
    bool lastDayOfMonth = false;
};

RunDates MakeRunDates(const DateTime& today, const RegionalFormats& formats);
bool IsLastDayOfMonth(int year, int month, int day);
// The month's text as MonthText holds it ("Jan" .. "Dez"); empty outside 1..12.
std::string MonthName(int month);
