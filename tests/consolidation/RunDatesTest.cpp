#include "consolidation/RunDates.h"

#include <gtest/gtest.h>

TEST(RunDates, TextsAndTheLastDayOfTheMonth) {
    struct Case {
        DateTime day;
        const char* date;
        const char* month;
        const char* dayText;
        bool last;
    };
    const Case cases[] = {
        {{2026, 12, 5}, "05/12/26", "Dez", "05", false},
        {{2026, 10, 31}, "31/10/26", "Okt", "31", true},
        {{2026, 4, 30}, "30/04/26", "Apr", "30", true},
        {{2027, 2, 28}, "28/02/27", "Feb", "28", true},
        {{2028, 2, 28}, "28/02/28", "Feb", "28", false},
        {{2028, 2, 29}, "29/02/28", "Feb", "29", true},
        {{2100, 2, 28}, "28/02/00", "Feb", "28", true},
    };
    for (const Case& c : cases) {
        RunDates dates = MakeRunDates(c.day, RegionalFormats{});
        EXPECT_EQ(dates.DateText, c.date);
        EXPECT_EQ(dates.YearText, std::to_string(c.day.year));
        EXPECT_EQ(dates.MonthText, c.month);
        EXPECT_EQ(dates.DayText, c.dayText);
        EXPECT_EQ(dates.lastDayOfMonth, c.last) << c.date;
    }
}
