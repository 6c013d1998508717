#pragma once

#include "store/Configuration.h"
#include "support/TestDir.h"

#include <string>

// Two tills' days of 5 December 2026, as their closes leave them: till 1 sells
// three apples and two pears, takes back an apple, sells a repair and pays the
// rent (takings 27.70); till 2 sells two pears (takings 3.00).
namespace TillDays {

inline Configuration shop() {
    Configuration config;
    config.SalesPersonCode = {"A", "B", "C", "D", "E"};
    config.SalesPersonName = {"ANNA", "BEN", "C", "D", "E"};
    return config;
}

inline const std::string Till1Takings = crlf({
    "* START of SALE   05/12/26 09:00",
    "A APPLE             3.00       1.20         2.50         2.50          7.50",
    "A PEAR              2.00       0.80         1.50         1.35          2.70",
    "# Total*** 9:05   10.20     0.00     0.00             0.00       10.20       20.00  9.80",
    "B APPLE            -1.00      -1.20        -2.50        -2.50         -2.50",
    "# Total*** 9:30   -2.50     0.00     0.00             0.00       -2.50       -2.50  0.00",
    "b /REPAIR           1.00       0.00        20.00        20.00         20.00",
    "# Total***10:15    0.00     0.00    20.00             0.00       20.00       20.00  0.00",
    "$ RENT              0.00       0.00         0.00       -40.00        -40.00",
    "# Total***11:00    0.00     0.00     0.00             0.00      -40.00      -40.00  0.00",
});
inline const std::string Till1Cashup =
    "Z      3 05/12/26 18:00          10.00        37.70        37.70         0.00\r\n";

inline const std::string Till2Takings = crlf({
    "* START of SALE   05/12/26 10:00",
    "A PEAR              2.00       0.80         1.50         1.50          3.00",
    "# Total***10:05    3.00     0.00     0.00             0.00        3.00        5.00  2.00",
});
inline const std::string Till2DayByDay = crlf({
    "*    05/12/26 10:00    ***   05/12/26",
    "#  2.0       1.60        3.00        3.00         3.00        0.00         0.00",
    "&                        0.00        0.00         3.00        0.00         3.00  ",
});

inline RunDates december5() {
    return RunDates{"05/12/26", "2026", "Dez", "05", false};
}

} // namespace TillDays
