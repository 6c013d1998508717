#include "sales/Rounding.h"

#include "store/AmountText.h"
#include "store/NumberParse.h"
#include "till/SaleState.h"

#include <cmath>

namespace {

struct CentsDigit {
    char digit;
    bool carry; // the tens of cents go up by one
};

// "r" always goes down to the five cents below; "R" goes down too, except
// that 4 and 9 go up by one cent.
CentsDigit roundedCentsDigit(char cents, bool upOnFourAndNine) {
    int d = cents - '0';
    if (upOnFourAndNine && d == 4) return {'5', false};
    if (upOnFourAndNine && d == 9) return {'0', true};
    return {d < 5 ? '0' : '5', false};
}

} // namespace

bool RoundToDenomination(const Configuration& config, SaleState& sale) {
    sale.RoundingAmount = 0;
    const double oldTotal = sale.SaleTotal;
    std::string text = FixedText(std::fabs(oldTotal));
    bool carry = false;
    char& cents = text.back();
    if (cents >= '0' && cents <= '9') {
        CentsDigit rounded = roundedCentsDigit(cents, config.Rounding == "R");
        cents = rounded.digit;
        carry = rounded.carry;
    }
    RealParse magnitude = ParseReal(text);
    if (magnitude.errorPosition != 0) {
        return false;
    }
    double newMagnitude = magnitude.value + (carry ? 0.10 : 0);
    sale.SaleTotal = oldTotal < 0 ? -newMagnitude : newMagnitude;
    sale.RoundingAmount = sale.SaleTotal - oldTotal;
    return true;
}
