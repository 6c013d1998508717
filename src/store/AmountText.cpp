#include "store/AmountText.h"

#include "store/NumberParse.h"
#include "store/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string groupThousands(const std::string& intPart, const std::string& separator) {
    std::string out;
    int count = 0;
    for (auto it = intPart.rbegin(); it != intPart.rend(); ++it) {
        if (count > 0 && count % 3 == 0) out.insert(0, separator);
        out.insert(out.begin(), *it);
        ++count;
    }
    return out;
}

std::string withSymbol(const std::string& amount, bool negative, const RegionalFormats& f) {
    std::string space = f.symbolSpaced && !f.currencySymbol.empty() ? " " : "";
    std::string body =
        f.symbolBefore ? f.currencySymbol + space + amount : amount + space + f.currencySymbol;
    if (!negative) return body;
    return f.negativeInParentheses ? "(" + body + ")" : "-" + body;
}

} // namespace

std::string CurrencyText(double x, const RegionalFormats& formats, int digits) {
    double magnitude = std::fabs(x);
    std::string plain = FixedDigits(magnitude, 2);
    size_t point = plain.find('.');
    int intDigits = plain.compare(0, point, "0") == 0 ? 0 : static_cast<int>(point);
    int room = digits - intDigits;
    if (room < 0) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*E", digits - 1, x);
        return buf;
    }
    if (room < 2) {
        plain = FixedDigits(magnitude, room);
        if (room == 0) plain += ".";
        plain.append(static_cast<size_t>(2 - room), '0');
        point = plain.find('.');
    }
    std::string intPart = plain.substr(0, point);
    std::string decimals = plain.substr(point + 1);
    bool negative = std::signbit(x) && plain.find_first_not_of("0.") != std::string::npos;
    std::string amount =
        groupThousands(intPart, formats.thousandsSeparator) + formats.decimalSeparator + decimals;
    return withSymbol(amount, negative, formats);
}

std::string FixedText(double x) {
    return FixedDigits(x, 2);
}

std::string GeneralText(double x, int n, char decimalSeparator) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", n, x);
    std::string s = buf;
    if (s == "-0") s = "0";
    for (char& c : s)
        if (c == '.') c = decimalSeparator;
    return s;
}

double ThreeDecimalForm(double x) {
    return ParseReal(FormatFixed(x, 9, 3)).value;
}

double CutWhole(double x) {
    double nearest = std::round(x);
    if (std::fabs(x - nearest) <= 1e-9 * std::max(1.0, std::fabs(x))) return nearest;
    return std::trunc(x);
}

double CutToCents(double x) {
    return CutWhole(x * 100) / 100;
}
