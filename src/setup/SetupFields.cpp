#include "setup/SetupFields.h"

#include "store/AmountText.h"
#include "store/ByteList.h"
#include "store/NumberParse.h"
#include "store/Padding.h"

#include <algorithm>
#include <optional>

const std::array<LanguageField, 13> LanguageFields = {{
    {"cashtned", "Cash Tender", &Configuration::LabelCashTender, 14, 14},
    {"cheqtned", "Cheque Tender", &Configuration::LabelChequeTender, 14, 14},
    {"credtned", "Credit Tender", &Configuration::LabelCreditTender, 14, 14},
    {"cashrfed", "Cash Refund", &Configuration::LabelCashRefund, 14, 14},
    {"cheqrfed", "Cheque Refund", &Configuration::LabelChequeRefund, 14, 14},
    {"credrfed", "Credit Refund", &Configuration::LabelCreditRefund, 14, 14},
    {"served", "Served by", &Configuration::LabelServedBy, 14, 10},
    {"paided", "Customer Paid", &Configuration::LabelPaid, 14, 14},
    {"roundinged", "Rounding", &Configuration::LabelRounding, 11, 11},
    {"subted", "Subtotal", &Configuration::LabelSubtotal, 11, 11},
    {"changed", "Change", &Configuration::LabelChange, 14, 14},
    {"toted", "Total", &Configuration::LabelTotal, 8, 8},
    {"taxled", "Tax", &Configuration::LabelTax, 6, 6},
}};

const std::array<DocketRowLabel, 9> DocketRowsOnScreen = {{
    {1, "Shop Name (top)"},
    {2, "Address Line"},
    {3, "Telefon Line"},
    {7, "Thank you line"},
    {8, "Shop Name (bot)"},
    {9, "Call again Line"},
    {4, "Article Line"},
    {5, "Paid with  Line"},
    {6, "Served by  Line"},
}};

namespace {

constexpr size_t DocketStringLength = 255;
const char* const ChoosePort = "\rGo back to Setup and designate the correct Serialport.";

// What the screen lets the operator save. Each lies within what the reader
// of Configur.dat takes, so a value saved here always reads back.
namespace ScreenLimits {
constexpr ValueRange<double> Rate{0, 100};
constexpr ValueRange<long> DisplayWidth{0, 40};
constexpr ValueRange<long> PrintWidth{24, 99};
constexpr ValueRange<long> PushOut{0, 99};
constexpr ValueRange<long> LowStockPercent{0, 99};
} // namespace ScreenLimits

template <class T> constexpr bool within(ValueRange<T> inner, ValueRange<T> outer) {
    return outer.holds(inner.min) && outer.holds(inner.max);
}
static_assert(within(ScreenLimits::Rate, ConfigurationLimits::TaxRate));
static_assert(within(ScreenLimits::Rate, ConfigurationLimits::Discount));
static_assert(within(ScreenLimits::DisplayWidth, ConfigurationLimits::DisplayWidth));
static_assert(within(ScreenLimits::PrintWidth, ConfigurationLimits::PrintWidth));
static_assert(within(ScreenLimits::PushOut, ConfigurationLimits::PushOut));
static_assert(within(ScreenLimits::LowStockPercent, ConfigurationLimits::LowStockPercent));

// A line end or other control character in a value would break the file's
// line layout, so none is taken over.
std::string plain(const std::string& text, size_t maxLength) {
    std::string out;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= ' ') out.push_back(c);
    if (out.size() > maxLength) out.resize(maxLength);
    return out;
}

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::optional<long> wholeNumber(const std::string& text, ValueRange<long> range) {
    auto v = ParseInteger(text);
    if (!v || !range.holds(*v)) return std::nullopt;
    return v;
}

// A rate as the shop writes it: digits, then at most two decimals after the
// shop's decimal separator (and only that one). The file keeps two decimals,
// so a third would be saved as another value than the one typed.
std::optional<double> rate(std::string text, char separator) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    size_t digits = 0;
    size_t decimals = 0;
    bool pastSeparator = false;
    for (char& c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
            decimals += pastSeparator;
        } else if (c == separator && !pastSeparator) {
            pastSeparator = true;
            c = '.';
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || decimals > 2) return std::nullopt;
    RealParse parsed = ParseReal(text);
    if (parsed.errorPosition != 0 || !ScreenLimits::Rate.holds(parsed.value)) return std::nullopt;
    return parsed.value;
}

// The whole field, not its first four characters: COM10 is no COM1. The
// drawer may also hang on the printer's drawer socket, PRN1 or PRN2.
std::optional<std::string> port(const std::string& field, bool drawer = false) {
    std::string name = upper(plain(field, DocketStringLength));
    if (name.size() == 4 && name.compare(0, 3, "COM") == 0 && name[3] >= '0' && name[3] <= '4')
        return name;
    if (drawer && (name == "PRN1" || name == "PRN2")) return name;
    return std::nullopt;
}

// Takings records tell articles from services by the code's case, so a code
// is one capital letter, or none.
std::optional<std::string> salesPersonCode(const std::string& field) {
    std::string code = upper(plain(field, DocketStringLength));
    if (code.size() > ConfigurationWidths::SalesPersonCode ||
        (!code.empty() && (code[0] < 'A' || code[0] > 'Z')))
        return std::nullopt;
    return code;
}

bool byteList(const std::string& field) {
    return field.size() <= DocketStringLength && ParseByteList(field).has_value();
}

std::string rateTakes(const char* what, char separator) {
    std::string text = std::string(what) + ": a number 0 to 100 with at most 2 decimals";
    if (separator != '.') text += std::string(" (decimal separator ") + separator + ")";
    return text;
}

std::string wholeTakes(const char* what, ValueRange<long> range) {
    return std::string(what) + ": a whole number " + std::to_string(range.min) + " to " +
           std::to_string(range.max);
}

std::string codeTakes(const char* row, const char* which) {
    return std::string(row) + ", " + which +
           ": ?, nothing, or byte values 0 to 255 separated by commas, such as 27,33,48";
}

std::optional<FieldFault> basicFault(const SetupFields& f, char separator) {
    using namespace ScreenLimits;
    const struct {
        const std::string& text;
        const char* name;
        const char* what;
    } rates[] = {
        {f.taxRate, "taxed", "Tax rate"},
        {f.discountLow, "ldisced", "Low discount"},
        {f.discountMed, "mdisced", "Medium discount"},
        {f.discountHigh, "hdisced", "High discount"},
    };
    for (const auto& r : rates)
        if (!rate(r.text, separator)) return FieldFault{r.name, rateTakes(r.what, separator)};
    if (!port(f.drawerPort, true))
        return FieldFault{"COMed", "Cash drawer port: one of COM0 to COM4, or PRN1 or PRN2 for a "
                                   "drawer on the printer"};
    if (!port(f.displayPort))
        return FieldFault{"displayed", "Customer display port: one of COM0 to COM4"};
    const struct {
        const std::string& text;
        const char* name;
        const char* what;
        ValueRange<long> range;
    } wholes[] = {
        {f.displayWidth, "dispNoched", "Customer display width", DisplayWidth},
        {f.printWidth, "Prnwed", "Print width", PrintWidth},
        {f.pushOut, "pushed", "Docket push out", PushOut},
        {f.lowStock, "stocked", "Low stock warning", LowStockPercent},
    };
    for (const auto& w : wholes)
        if (!wholeNumber(w.text, w.range)) return FieldFault{w.name, wholeTakes(w.what, w.range)};
    return std::nullopt;
}

std::optional<FieldFault> salesPersonFault(const SetupFields& f) {
    for (size_t i = 0; i < f.salesPersonCode.size(); ++i) {
        if (salesPersonCode(f.salesPersonCode[i])) continue;
        const std::string n = std::to_string(i + 1);
        return FieldFault{"sp" + n + "ed", "SP" + n + " code: one letter A to Z, or nothing"};
    }
    return std::nullopt;
}

std::optional<FieldFault> docketFault(const SetupFields& f) {
    for (const DocketRowLabel& r : DocketRowsOnScreen) {
        const std::string k = std::to_string(r.row);
        if (!byteList(f.docketCode[r.row]))
            return FieldFault{"dl" + k + "ed", codeTakes(r.label, "printer code")};
        if (!byteList(f.docketRelease[r.row]))
            return FieldFault{"dr" + k + "ed", codeTakes(r.label, "release code")};
    }
    return std::nullopt;
}

void takeSalesPersons(const SetupFields& f, Configuration& c) {
    for (size_t i = 0; i < 5; ++i) {
        c.SalesPersonCode[i] = *salesPersonCode(f.salesPersonCode[i]);
        c.SalesPersonName[i] = PadRight(plain(f.salesPersonName[i], 9), 9);
    }
}

void takeDocketStrings(const SetupFields& f, Configuration& c) {
    for (size_t row = 1; row <= 9; ++row) {
        c.DocketCode[row] = plain(f.docketCode[row], DocketStringLength);
        if (std::find(DocketTextRows.begin(), DocketTextRows.end(), row) != DocketTextRows.end())
            c.DocketText[row] = plain(f.docketText[row], DocketStringLength);
        c.DocketRelease[row] = plain(f.docketRelease[row], DocketStringLength);
    }
}

void takeBasic(const SetupFields& f, Configuration& c, char separator) {
    using namespace ScreenLimits;
    c.TaxRate = *rate(f.taxRate, separator);
    c.DiscountLow = *rate(f.discountLow, separator);
    c.DiscountMed = *rate(f.discountMed, separator);
    c.DiscountHigh = *rate(f.discountHigh, separator);
    c.DrawerPort = *port(f.drawerPort, true);
    c.DisplayPort = *port(f.displayPort);
    c.DisplayWidth = *wholeNumber(f.displayWidth, DisplayWidth);
    c.Denomination = plain(f.denomination, ConfigurationWidths::Denomination);
    c.Rounding = plain(f.rounding, ConfigurationWidths::Rounding);
    c.PrintWidth = *wholeNumber(f.printWidth, PrintWidth);
    c.PushOut = *wholeNumber(f.pushOut, PushOut);
    c.LowStockPercent = *wholeNumber(f.lowStock, LowStockPercent);
}

} // namespace

SetupFields FieldsFromConfiguration(const Configuration& c, char decimalSeparator) {
    SetupFields f;
    f.salesPersonCode = c.SalesPersonCode;
    f.salesPersonName = c.SalesPersonName;
    f.docketCode = c.DocketCode;
    f.docketText = c.DocketText;
    f.docketRelease = c.DocketRelease;
    for (size_t i = 0; i < LanguageFields.size(); ++i)
        f.language[i] = c.*LanguageFields[i].value;
    auto rate = [&](double x) { return GeneralText(x, 15, decimalSeparator); };
    f.taxRate = rate(c.TaxRate);
    f.discountLow = rate(c.DiscountLow);
    f.discountMed = rate(c.DiscountMed);
    f.discountHigh = rate(c.DiscountHigh);
    f.drawerPort = c.DrawerPort;
    f.displayPort = c.DisplayPort;
    f.displayWidth = std::to_string(c.DisplayWidth);
    f.denomination = c.Denomination;
    f.rounding = c.Rounding;
    f.printWidth = std::to_string(c.PrintWidth);
    f.pushOut = std::to_string(c.PushOut);
    f.lowStock = std::to_string(c.LowStockPercent);
    return f;
}

FieldsTakenOver TakeOverFields(const SetupFields& f, Configuration& c, char decimalSeparator) {
    FieldsTakenOver out;
    out.refused = basicFault(f, decimalSeparator);
    if (!out.refused) out.refused = salesPersonFault(f);
    if (!out.refused) out.refused = docketFault(f);
    if (out.refused) return out;

    takeSalesPersons(f, c);
    takeDocketStrings(f, c);
    for (size_t i = 0; i < LanguageFields.size(); ++i)
        c.*LanguageFields[i].value = plain(f.language[i], LanguageFields[i].storedLength);
    takeBasic(f, c, decimalSeparator);
    // "COM0", no device, may be shared.
    if (c.DrawerPort == c.DisplayPort && c.DrawerPort != "COM0")
        out.notices.push_back(
            {std::string("Warning: The cash drawer and customer display are configured to the "
                         "same port.") +
             ChoosePort});
    return out;
}
