#include "pricelist/PriceLineCheck.h"

#include "store/NumberParse.h"
#include "store/NumberText.h"

namespace {

constexpr size_t LineLength = 66;
constexpr size_t Separators[] = {14, 41, 52, 63}; // columns 15, 42, 53 and 64

// Blanks and control characters, which the ends of a field shed.
bool blankish(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// The columns [from, from + width) of the line, fewer where it is shorter.
std::string_view columns(std::string_view line, size_t from, size_t width) {
    return from >= line.size() ? std::string_view() : line.substr(from, width);
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && blankish(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view trim(std::string_view s) {
    s = trimRight(s);
    while (!s.empty() && blankish(s.front()))
        s.remove_prefix(1);
    return s;
}

// A control character left inside a field would split the line for every
// reader of the price list and its work copy, or shift its columns.
bool holdsControl(std::string_view field) {
    for (char c : field)
        if (static_cast<unsigned char>(c) < ' ') return true;
    return false;
}

std::string padRight(std::string_view s, size_t width) {
    std::string out(s);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

char capital(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Each field is checked, and appended to `out` when there is one: the save
// only needs to know whether every line passes.
bool codeField(std::string_view line, std::string* out) {
    std::string_view code = trim(columns(line, 1, 13));
    if (code.empty() || holdsControl(code)) return false;
    if (!out) return true;
    for (char c : code)
        *out += capital(c);
    out->append(13 - code.size(), ' ');
    return true;
}

bool descriptionField(std::string_view line, std::string* out) {
    std::string_view text = trim(columns(line, 15, 26));
    if (holdsControl(text)) return false;
    if (!out) return true;
    std::string description = padRight(text, 26);
    description[0] = capital(description[0]);
    *out += ' ';
    *out += description;
    return true;
}

// A price must fill no more than its ten columns: a wider one would push the
// minmax number out of the line when it is cut to 66 on saving.
bool priceField(std::string_view line, size_t from, std::string* out) {
    std::string_view text = trimRight(columns(line, from, 10));
    RealParse parsed = ParseReal(text);
    if (text.empty() || parsed.errorPosition != 0 || !(parsed.value <= 9999999.99)) return false;
    if (!out && parsed.value >= -999999.0) return true;
    std::string field = FormatFixed(parsed.value, 10, 2);
    if (field.size() > 10) return false;
    if (!out) return true;
    *out += ' ';
    *out += field;
    return true;
}

bool minMaxField(std::string_view line, std::string* out) {
    std::string_view text = trimRight(columns(line, 64, 2));
    if (text.empty() || !ParseInteger(text)) return false;
    if (!out) return true;
    *out += ' ';
    if (text.size() < 2) *out += ' ';
    *out += text;
    return true;
}

bool checkFields(std::string_view typed, std::string* out) {
    bool valid = typed.size() >= Separators[3] + 1;
    for (size_t column : Separators)
        valid = valid && typed[column] == ' ';
    valid = valid && (typed[0] == ' ' || typed[0] == '$');
    if (!valid) return false;
    if (out) *out += typed[0];
    return codeField(typed, out) && descriptionField(typed, out) && priceField(typed, 42, out) &&
           priceField(typed, 53, out) && minMaxField(typed, out);
}

} // namespace

bool CheckPriceLine(std::string_view typed, std::string& rebuilt) {
    std::string out;
    out.reserve(LineLength);
    if (!checkFields(typed, &out)) return false;
    rebuilt = std::move(out);
    return true;
}

size_t FirstFaultyPriceLine(const std::vector<std::string>& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (KeptOnSave(lines[i]) &&
            !checkFields(std::string_view(lines[i]).substr(0, LineLength), nullptr))
            return i;
    return std::string::npos;
}
