#include "setup/SetupFields.h"

#include "store/AmountText.h"
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

namespace {

constexpr size_t DocketStringLength = 255;
const char* const Recorrect = "An incorrect Number detected!\r\nGo back to Basic Setup again and "
                              "correct the Number for ";
const char* const ChoosePort = "\rGo back to Setup and designate the correct Serialport.";

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

// A decimal number written with the shop's decimal separator (and only with it).
std::optional<double> decimalNumber(std::string text, char separator, ValueRange<double> range) {
    if (separator != '.' && text.find('.') != std::string::npos) return std::nullopt;
    std::replace(text.begin(), text.end(), separator, '.');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    RealParse parsed = ParseReal(text);
    if (parsed.errorPosition != 0 || !range.holds(parsed.value)) return std::nullopt;
    return parsed.value;
}

bool isPort(const std::string& port) {
    return port.size() == 4 && port.compare(0, 3, "COM") == 0 && port[3] >= '0' && port[3] <= '4';
}

void takePort(const std::string& field, std::string& port, const char* device, Notices& notices) {
    port = upper(plain(field, ConfigurationWidths::Port));
    if (!isPort(port))
        notices.push_back({std::string("Warning: ") + device + " port " + port +
                           " is not a valid entry !" + ChoosePort});
}

void takeSalesPersons(const SetupFields& f, Configuration& c, Notices& notices) {
    for (size_t i = 0; i < 5; ++i) {
        // Takings records tell articles from services by the code's case, so
        // a code is one capital letter, or none.
        std::string code = upper(plain(f.salesPersonCode[i], ConfigurationWidths::SalesPersonCode));
        if (code.empty() || (code[0] >= 'A' && code[0] <= 'Z'))
            c.SalesPersonCode[i] = code;
        else
            notices.push_back({"Sales person SP" + std::to_string(i + 1) + ": the code " + code +
                               " is not a letter A to Z.\rThe code " + c.SalesPersonCode[i] +
                               " is kept."});
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

void takeNumbers(const SetupFields& f, Configuration& c, char separator, Notices& notices) {
    using namespace ConfigurationLimits;
    auto real = [&](const std::string& text, double& value, ValueRange<double> range,
                    const char* what) {
        if (auto v = decimalNumber(text, separator, range))
            value = *v;
        else
            notices.push_back({std::string(Recorrect) + what + "!"});
    };
    auto whole = [&](const std::string& text, long& value, ValueRange<long> range,
                     const char* what) {
        if (auto v = wholeNumber(text, range))
            value = *v;
        else
            notices.push_back({std::string(Recorrect) + what + "!"});
    };
    real(f.taxRate, c.TaxRate, TaxRate, "Tax");
    real(f.discountLow, c.DiscountLow, Discount, "Low Discount");
    real(f.discountMed, c.DiscountMed, Discount, "Medium Discount");
    real(f.discountHigh, c.DiscountHigh, Discount, "High Discount");
    whole(f.printWidth, c.PrintWidth, PrintWidth, "Print width");
    whole(f.pushOut, c.PushOut, PushOut, "Docket pusout");
    whole(f.lowStock, c.LowStockPercent, LowStockPercent, "Low Stock Alarm");
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

Notices TakeOverFields(const SetupFields& f, Configuration& c, char decimalSeparator) {
    Notices notices;
    takeSalesPersons(f, c, notices);
    takeDocketStrings(f, c);
    for (size_t i = 0; i < LanguageFields.size(); ++i)
        c.*LanguageFields[i].value = plain(f.language[i], LanguageFields[i].storedLength);

    takePort(f.drawerPort, c.DrawerPort, "Cash drawer", notices);
    takePort(f.displayPort, c.DisplayPort, "Customer display", notices);
    if (auto width = wholeNumber(f.displayWidth, ConfigurationLimits::DisplayWidth))
        c.DisplayWidth = *width;
    else
        notices.push_back({"An incorrect Number detected!\r\nGo back to Basic Setup again and "
                           "correct the Number for Customer Display\rmaximum No. of characters "
                           "per line."});
    if (c.DrawerPort == c.DisplayPort && isPort(c.DrawerPort) && c.DrawerPort != "COM0")
        notices.push_back(
            {std::string("Warning: The cash drawer and customer display are configured to the "
                         "same port.") +
             ChoosePort});

    c.Denomination = plain(f.denomination, ConfigurationWidths::Denomination);
    c.Rounding = plain(f.rounding, ConfigurationWidths::Rounding);
    takeNumbers(f, c, decimalSeparator, notices);
    return notices;
}
