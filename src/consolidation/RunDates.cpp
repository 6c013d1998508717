#include "consolidation/RunDates.h"

#include "store/DateTimeText.h"

#include <cstdio>

namespace {
constexpr const char* MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

int daysIn(int year, int month) {
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : Days[month - 1];
}
} // namespace

std::string MonthName(int month) {
    return month >= 1 && month <= 12 ? MonthNames[month - 1] : "";
}

bool IsLastDayOfMonth(int year, int month, int day) {
    return month >= 1 && month <= 12 && day == daysIn(year, month);
}

RunDates MakeRunDates(const DateTime& today, const RegionalFormats& formats) {
    RunDates dates;
    dates.DateText = ShortDateText(today, formats).substr(0, 8);
    char text[16];
    std::snprintf(text, sizeof text, "%04d", today.year % 10000);
    dates.YearText = text;
    dates.MonthText = MonthName(today.month);
    std::snprintf(text, sizeof text, "%02d", today.day % 100);
    dates.DayText = text;
    dates.lastDayOfMonth = IsLastDayOfMonth(today.year, today.month, today.day);
    return dates;
}
