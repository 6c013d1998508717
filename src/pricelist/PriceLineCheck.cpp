#include "pricelist/PriceLineCheck.h"

#include "store/NumberParse.h"
#include "store/NumberText.h"

#include <utility>

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

// What the till's code fields take: letters (typed in either case, kept as
// capitals), digits, and "/" where services are sold, which is not on the
// expense screen.
bool codeCharacter(char c, bool expense) {
    c = capital(c);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c == '/' && !expense);
}

// The fault of each field, or nullptr when it passes. Each passing field is
// appended to `out` when there is one: the save only needs to know whether
// every line passes.
const char* codeField(std::string_view line, std::string* out) {
    const bool expense = line[0] == '$';
    std::string_view code = trim(columns(line, 1, 13));
    bool valid = !code.empty();
    for (char c : code)
        valid = valid && codeCharacter(c, expense);
    if (!valid)
        return expense ? "code (columns 2-14): letters A to Z and digits, without blanks"
                       : "code (columns 2-14): letters A to Z, digits and \"/\", without blanks";
    if (!out) return nullptr;
    for (char c : code)
        *out += capital(c);
    out->append(13 - code.size(), ' ');
    return nullptr;
}

const char* descriptionField(std::string_view line, std::string* out) {
    std::string_view text = trim(columns(line, 15, 26));
    if (holdsControl(text)) return "description (columns 16-41): text without control characters";
    if (!out) return nullptr;
    std::string description = padRight(text, 26);
    description[0] = capital(description[0]);
    *out += ' ';
    *out += description;
    return nullptr;
}

// A price must fill no more than its ten columns: a wider one would push the
// stock level out of the line.
bool priceFits(std::string_view line, size_t from, std::string* out) {
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

const char* wholesaleField(std::string_view line, std::string* out) {
    return priceFits(line, 42, out) ? nullptr
                                    : "wholesale price (columns 43-52): a number -999999.99 to "
                                      "9999999.99 with a decimal point";
}

const char* saleField(std::string_view line, std::string* out) {
    return priceFits(line, 53, out)
               ? nullptr
               : "sale price (columns 54-63): a number -999999.99 to 9999999.99 with a decimal "
                 "point";
}

const char* stockLevelField(std::string_view line, std::string* out) {
    std::string_view text = trim(columns(line, 64, 2));
    bool valid = !text.empty();
    for (char c : text)
        valid = valid && c >= '0' && c <= '9';
    if (!valid) return "stock level (columns 65-66): a whole number 0 to 99";
    if (!out) return nullptr;
    *out += ' ';
    if (text.size() < 2) *out += ' ';
    *out += text;
    return nullptr;
}

const char* markerAndSeparators(std::string_view line) {
    if (line[0] != ' ' && line[0] != '$')
        return "marker (column 1): a blank for an article or a service, \"$\" for an expense";
    if (line[14] != ' ') return "column 15: a blank";
    if (line[41] != ' ') return "column 42: a blank";
    if (line[52] != ' ') return "column 53: a blank";
    if (line[63] != ' ') return "column 64: a blank";
    return nullptr;
}

// The first fault of a line long enough to hold its separators, and the
// field it stands in (a separator counts with the marker).
const char* checkFields(std::string_view typed, std::string* out, PriceLineField* where = nullptr) {
    if (const char* fault = markerAndSeparators(typed)) {
        if (where) *where = PriceLineField::Marker;
        return fault;
    }
    if (out) *out += typed[0];
    constexpr std::pair<PriceLineField, const char* (*)(std::string_view, std::string*)> Fields[] =
        {{PriceLineField::Code, codeField},
         {PriceLineField::Description, descriptionField},
         {PriceLineField::WholesalePrice, wholesaleField},
         {PriceLineField::SalePrice, saleField},
         {PriceLineField::StockLevel, stockLevelField}};
    for (const auto& [field, check] : Fields)
        if (const char* fault = check(typed, out)) {
            if (where) *where = field;
            return fault;
        }
    return nullptr;
}

constexpr size_t ShortestLine = Separators[3] + 1; // up to the blank before the stock level

std::string shortLineFault(size_t length) {
    return "columns " + std::to_string(length + 1) +
           "-66: missing (a line holds its fields up to column 66)";
}

} // namespace

bool CheckPriceLine(std::string_view typed, std::string& rebuilt) {
    if (typed.size() < ShortestLine) return false;
    std::string out;
    out.reserve(LineLength);
    if (checkFields(typed, &out)) return false;
    rebuilt = std::move(out);
    return true;
}

std::string PriceLineFault(std::string_view typed) {
    if (typed.size() < ShortestLine) return shortLineFault(typed.size());
    const char* fault = checkFields(typed, nullptr);
    return fault ? fault : "";
}

PriceLineField PriceLineFaultField(std::string_view typed) {
    PriceLineField where = PriceLineField::StockLevel;
    if (typed.size() >= ShortestLine) checkFields(typed, nullptr, &where);
    return where;
}

bool EmptyPriceLine(std::string_view line) {
    for (char c : line)
        if (c != ' ') return false;
    return true;
}

CheckedPriceLines CheckPriceLines(const std::vector<std::string>& lines) {
    CheckedPriceLines checked;
    checked.rebuilt.resize(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (EmptyPriceLine(lines[i]) || CheckPriceLine(lines[i], checked.rebuilt[i])) continue;
        if (checked.faultyLine != std::string::npos) continue;
        checked.faultyLine = i;
        checked.fault = PriceLineFault(lines[i]);
    }
    return checked;
}
