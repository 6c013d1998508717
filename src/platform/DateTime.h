#pragma once

// A moment of local time as the clock gives it; formatting lives in Regional.
struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
