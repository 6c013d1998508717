#include "store/NumberEntry.h"

#include "store/NumberParse.h"

namespace {
bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

AmountEntry ParseNumber(std::string_view text) {
    AmountEntry entry;
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isBlankOrControl(text[first]))
        ++first;
    while (last > first && isBlankOrControl(text[last - 1]))
        --last;
    entry.ScratchText = std::string(text.substr(first, last - first));
    RealParse parsed = ParseReal(entry.ScratchText);
    entry.ValueError = parsed.errorPosition;
    entry.ParsedAmount = parsed.value;
    if (entry.ValueError == 0 && entry.ParsedAmount <= AmountLimit) return entry;
    entry.ParsedAmount = 0;
    entry.notices.push_back({entry.ScratchText + " is a faulty Number or to big!"});
    return entry;
}

QuantityEntry ParseQuantity(std::string_view text) {
    QuantityEntry entry;
    size_t last = text.size();
    while (last > 0 && isBlankOrControl(text[last - 1]))
        --last;
    std::string_view trimmed = text.substr(0, last);
    entry.QuantityEmpty = trimmed.empty(); // a lone Esc is trimmed away too
    RealParse parsed = ParseReal(trimmed);
    entry.ValueError = parsed.errorPosition;
    entry.Quantity = parsed.value;
    if (entry.Quantity > QuantityLimit) entry.ValueError = 1;
    return entry;
}
