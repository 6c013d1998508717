#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The numbers printed under bar codes: their check digits, and the labels of
// scales and deli counters (EAN-13 beginning with 20 to 29) that carry an
// article number with its weight or price.
namespace BarCodes {

// A code of 8, 12 or 13 digits (EAN-8, UPC-A, EAN-13): one that has a check digit.
bool hasCheckDigit(std::string_view code);
// Whether the last digit of such a code is right (weights 3 and 1 from the right).
bool checkDigitRight(std::string_view code);
// A scanned code of 8, 12 or 13 digits, trailing blanks aside, whose check
// digit is wrong: the scanner misread it, and it is to be scanned again.
bool Misread(std::string_view scanned);
// What the code field shows then.
inline constexpr const char* MisreadText = "Bar code misread: scan again";
// The check digit of the digits before it.
char checkDigitOf(std::string_view digits);
// The verifier digit of a 4- or 5-digit price or weight on a label.
char priceCheckDigitOf(std::string_view value);

// One line of Scale.dat: what the labels with this prefix hold.
struct ScaleLabel {
    std::string prefix;     // "20" to "29"
    int itemDigits = 5;     // 4 (followed by a verifier digit) or 5
    bool weight = true;     // W: the value is a weight in kg; P: a price
    int decimals = 3;       // of the value
    std::string codePrefix; // the article's code is this followed by the item digits
};

// Scale.dat: one label kind a line, fixed columns, for example "21 5 W 3 PLU".
// Each line that cannot be read is named in `faults` with its number and left out.
std::vector<ScaleLabel> ParseScaleFile(std::string_view text, std::vector<std::string>& faults);
// Reads Scale.dat in the data directory; none there means no labels.
std::vector<ScaleLabel> ReadScaleFile(const std::string& dataDir, std::vector<std::string>& faults);

// What a weight or price label says.
struct LabelReading {
    bool valid = false;      // both check digits right
    std::string articleCode; // the price list code it stands for
    bool weight = true;
    double value = 0; // kg, or the price
};

// The reading of a 13-digit code whose prefix Scale.dat lists; nothing for
// any other code.
std::optional<LabelReading> ReadLabel(std::string_view code, const std::vector<ScaleLabel>& labels);

} // namespace BarCodes
