#include "scanning/BarCodes.h"

#include "store/Digits.h"
#include "store/FileNames.h"
#include "store/TextReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace BarCodes {

namespace {

int digit(char c) {
    return c - '0';
}

// The weighted results of a digit in a price verifier: "2-", "3", "5+", "5-".
constexpr int TwoMinus[10] = {0, 2, 4, 6, 8, 9, 1, 3, 5, 7};
constexpr int Three[10] = {0, 3, 6, 9, 2, 5, 8, 1, 4, 7};
constexpr int FivePlus[10] = {0, 5, 1, 6, 2, 7, 3, 8, 4, 9};
constexpr int FiveMinus[10] = {0, 5, 9, 4, 8, 3, 7, 2, 6, 1};

std::string whyUnreadable(std::string_view line, std::vector<ScaleLabel>& labels) {
    if (line.size() < 8 || line.size() > 17) return "it is not laid out as \"21 5 W 3 PLU\"";
    if (line[2] != ' ' || line[4] != ' ' || line[6] != ' ' || (line.size() > 8 && line[8] != ' '))
        return "it is not laid out as \"21 5 W 3 PLU\"";
    ScaleLabel label;
    label.prefix = std::string(line.substr(0, 2));
    if (!Digits::all(label.prefix) || label.prefix[0] != '2') return "the prefix is not 20 to 29";
    if (line[3] != '4' && line[3] != '5') return "the item digits are not 4 or 5";
    label.itemDigits = digit(line[3]);
    if (line[5] != 'W' && line[5] != 'P') return "the kind is not W or P";
    label.weight = line[5] == 'W';
    if (line[7] < '0' || line[7] > '5') return "the decimals are not 0 to 5";
    label.decimals = digit(line[7]);
    std::string_view code = line.size() > 9 ? line.substr(9) : std::string_view();
    while (!code.empty() && code.back() == ' ')
        code.remove_suffix(1);
    if (!std::all_of(code.begin(), code.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }))
        return "the code prefix holds other than capitals and digits";
    label.codePrefix = std::string(code);
    for (const ScaleLabel& l : labels)
        if (l.prefix == label.prefix) return "the prefix " + label.prefix + " is listed before";
    labels.push_back(label);
    return "";
}

} // namespace

bool hasCheckDigit(std::string_view code) {
    return (code.size() == 8 || code.size() == 12 || code.size() == 13) && Digits::all(code);
}

char checkDigitOf(std::string_view digits) {
    int sum = 0;
    // From the right, the digits before the check digit weigh 3, 1, 3, ...
    for (size_t i = 0; i < digits.size(); ++i)
        sum += digit(digits[digits.size() - 1 - i]) * (i % 2 == 0 ? 3 : 1);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

bool checkDigitRight(std::string_view code) {
    return hasCheckDigit(code) && checkDigitOf(code.substr(0, code.size() - 1)) == code.back();
}

bool Misread(std::string_view scanned) {
    while (!scanned.empty() && scanned.back() == ' ')
        scanned.remove_suffix(1);
    return hasCheckDigit(scanned) && !checkDigitRight(scanned);
}

char priceCheckDigitOf(std::string_view value) {
    if (value.size() == 4) {
        const int sum = TwoMinus[digit(value[0])] + TwoMinus[digit(value[1])] +
                        Three[digit(value[2])] + FiveMinus[digit(value[3])];
        return static_cast<char>('0' + sum * 3 % 10);
    }
    const int sum = FivePlus[digit(value[0])] + TwoMinus[digit(value[1])] +
                    FiveMinus[digit(value[2])] + FivePlus[digit(value[3])] +
                    TwoMinus[digit(value[4])];
    // The digit whose "5-" result makes the sum up to a multiple of ten.
    const int wanted = (10 - sum % 10) % 10;
    const int* at = std::find(std::begin(FiveMinus), std::end(FiveMinus), wanted);
    return static_cast<char>('0' + (at - std::begin(FiveMinus)));
}

std::vector<ScaleLabel> ParseScaleFile(std::string_view text, std::vector<std::string>& faults) {
    std::vector<ScaleLabel> labels;
    size_t number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(' ') == std::string_view::npos) continue;
        const std::string why = whyUnreadable(line, labels);
        if (!why.empty())
            faults.push_back("line " + std::to_string(number) + ": " + why + ", so it is ignored");
    }
    return labels;
}

std::vector<ScaleLabel> ReadScaleFile(const std::string& dataDir,
                                      std::vector<std::string>& faults) {
    constexpr size_t Limit = size_t{64} * 1024;
    const std::string path = FileNames::resolve(dataDir, "Scale.dat");
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file) {
        if (errno != ENOENT)
            faults.push_back(std::string("it cannot be read (") + std::strerror(errno) + ")");
        return {};
    }
    std::string text;
    if (!file->readRest(text) || text.size() > Limit) {
        faults.push_back("it cannot be read, or is larger than 64 KiB");
        return {};
    }
    return ParseScaleFile(text, faults);
}

std::optional<LabelReading> ReadLabel(std::string_view code,
                                      const std::vector<ScaleLabel>& labels) {
    if (code.size() != 13 || !Digits::all(code)) return std::nullopt;
    const auto label = std::find_if(labels.begin(), labels.end(), [&](const ScaleLabel& l) {
        return code.substr(0, 2) == l.prefix;
    });
    if (label == labels.end()) return std::nullopt;
    // 2 prefix digits, the item digits, a verifier digit after 4 item
    // digits, the 5 digits of the value and the check digit.
    LabelReading reading;
    const std::string_view item = code.substr(2, static_cast<size_t>(label->itemDigits));
    const std::string_view value = code.substr(7, 5);
    reading.valid =
        checkDigitRight(code) && (label->itemDigits == 5 || code[6] == priceCheckDigitOf(value));
    reading.articleCode = label->codePrefix + std::string(item);
    reading.weight = label->weight;
    reading.value = std::stod(std::string(value)) / std::pow(10.0, label->decimals);
    return reading;
}

} // namespace BarCodes
