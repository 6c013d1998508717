#pragma once

#include "platform/DateTime.h"

#include <string>

// The shop's regional settings: how dates, times and money look on screen.
// The real settings come from the system; tests use one fixed set.
struct RegionalFormats {
    // Date and time patterns: d dd M MM yy yyyy h hh m mm s ss; anything else is literal.
    std::string shortDate = "dd/MM/yy";
    std::string longTime = "h:mm:ss";
    std::string currencySymbol = "$";
    bool symbolBefore = true;
    bool symbolSpaced = false;
    char decimalSeparator = '.';
    std::string thousandsSeparator = ",";
    // Negative amounts: true gives "(...)", false a leading minus before the symbol.
    bool negativeInParentheses = false;
};

class Regional {
  public:
    virtual ~Regional() = default;
    virtual RegionalFormats formats() const = 0;
};
