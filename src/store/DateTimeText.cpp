#include "store/DateTimeText.h"

#include <cstdio>

std::string FormatDateTime(const DateTime& t, const std::string& pattern) {
    std::string out;
    char buf[16];
    for (size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        int value = -1;
        bool twoDigits = run >= 2;
        switch (c) {
        case 'd':
            value = t.day;
            break;
        case 'M':
            value = t.month;
            break;
        case 'h':
        case 'H':
            value = t.hour;
            break;
        case 'm':
            value = t.minute;
            break;
        case 's':
            value = t.second;
            break;
        case 'y':
            value = run >= 4 ? t.year : t.year % 100;
            twoDigits = true;
            break;
        default:
            break;
        }
        if (value < 0) {
            out.append(pattern, i, run);
        } else {
            std::snprintf(buf, sizeof buf, twoDigits ? "%02d" : "%d", value);
            out += buf;
        }
        i += run;
    }
    return out;
}

std::string ShortDateText(const DateTime& t, const RegionalFormats& formats) {
    return FormatDateTime(t, formats.shortDate);
}

std::string DocketDateText(const DateTime& t, const RegionalFormats& formats) {
    std::string pattern = formats.shortDate;
    for (size_t at = pattern.find("yyyy"); at != std::string::npos; at = pattern.find("yyyy"))
        pattern.erase(at, 2);
    return FormatDateTime(t, pattern).substr(0, 8);
}

std::string LongTimeText(const DateTime& t, const RegionalFormats& formats) {
    return FormatDateTime(t, formats.longTime);
}

std::string DateTimeText(const DateTime& t, const RegionalFormats& formats) {
    return ShortDateText(t, formats) + " " + LongTimeText(t, formats);
}

std::string UpdateClockText(const std::string& longTimeText) {
    std::string clock = longTimeText.substr(0, 5);
    if (clock.size() == 5 && clock[4] == ':') clock.erase(4);
    return clock;
}
