#pragma once

#include "platform/DateTime.h"
#include "platform/Regional.h"

#include <string>

// The date and time texts of screens, dockets and records.

std::string FormatDateTime(const DateTime& t, const std::string& pattern);
std::string ShortDateText(const DateTime& t, const RegionalFormats& formats);
std::string LongTimeText(const DateTime& t, const RegionalFormats& formats);
// DateText: the short date with a 2-digit year, at most 8 characters, as
// dockets carry it whatever the regional year width.
std::string DocketDateText(const DateTime& t, const RegionalFormats& formats);
std::string DateTimeText(const DateTime& t, const RegionalFormats& formats);

// Hours and minutes from the long time text: "9:07:45" gives "9:07".
std::string UpdateClockText(const std::string& longTimeText);
