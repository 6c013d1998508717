#include "store/Configuration.h"

#include "store/TextReader.h"
#include "store/TextRewriter.h"

#include <functional>
#include <optional>
#include <vector>

namespace {

constexpr const char* Line7Comment = "currency-rounding-prnwidth-pushout-stock-tax-discount l m h";

// Every text of the docket rows in file order: rows with a fixed text have
// code, text and release; rows 4 to 6 only code and release.
template <class Config> auto docketStrings(Config& c) {
    std::vector<decltype(&c.DocketCode[0])> out;
    for (int row = 1; row <= 9; ++row) {
        out.push_back(&c.DocketCode[row]);
        if (row < 4 || row > 6) out.push_back(&c.DocketText[row]);
        out.push_back(&c.DocketRelease[row]);
    }
    return out;
}

struct Label {
    std::string Configuration::*field;
    size_t maxLength;
};

constexpr Label Labels[] = {
    {&Configuration::LabelTotal, 8},         {&Configuration::LabelSubtotal, 11},
    {&Configuration::LabelTax, 6},           {&Configuration::LabelRounding, 11},
    {&Configuration::LabelPaid, 14},         {&Configuration::LabelChange, 14},
    {&Configuration::LabelCreditTender, 14}, {&Configuration::LabelChequeTender, 14},
    {&Configuration::LabelCashTender, 14},   {&Configuration::LabelCreditRefund, 14},
    {&Configuration::LabelChequeRefund, 14}, {&Configuration::LabelCashRefund, 14},
    {&Configuration::LabelServedBy, 10},
};

// Reads one line with `body`; false when the line is missing or does not fit
// (`body` returns false for a value out of its range).
bool readLine(TextReader& file, const std::function<bool()>& body) {
    if (file.eof()) return false;
    if (!body()) return false;
    file.readLine();
    return !file.ioError();
}

// Takes the next number only when it reads and lies within its range; after
// a failure nothing more of the line is taken.
template <class T, class Read>
bool readInRange(TextReader& f, T& value, ValueRange<T> range, Read read) {
    if (f.ioError()) return false;
    T v{};
    if (!read(v) || !range.holds(v)) return false;
    value = v;
    return true;
}

bool readLong(TextReader& f, long& value, ValueRange<long> range) {
    return readInRange(f, value, range, [&](long& v) { return f.readInteger(v); });
}
bool readReal(TextReader& f, double& value, ValueRange<double> range) {
    return readInRange(f, value, range, [&](double& v) { return f.readReal(v); });
}

std::string fixedWidth(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

bool readAll(TextReader& f, Configuration& c) {
    for (size_t i = 0; i < 5; ++i) {
        if (!readLine(f, [&] {
                c.SalesPersonCode[i] = f.readText(1);
                // Written for an empty code; a blank must never match the space bar.
                if (c.SalesPersonCode[i] == " ") c.SalesPersonCode[i].clear();
                c.SalesPersonName[i] = f.readText(9);
                return true;
            }))
            return false;
    }
    if (!readLine(f, [&] {
            c.DisplayPort = f.readText(4);
            return readLong(f, c.DisplayWidth, ConfigurationLimits::DisplayWidth);
        }))
        return false;
    if (!readLine(f, [&] {
            c.DrawerPort = f.readText(4);
            return true;
        }))
        return false;
    if (!readLine(f, [&] {
            c.Denomination = f.readText(2);
            f.readChar();
            c.Rounding = f.readText(1);
            using namespace ConfigurationLimits;
            // After a failed number nothing more is taken: the rest keep their values.
            return readLong(f, c.PrintWidth, PrintWidth) && readLong(f, c.PushOut, PushOut) &&
                   readLong(f, c.LowStockPercent, LowStockPercent) &&
                   readReal(f, c.TaxRate, TaxRate) && readReal(f, c.DiscountLow, Discount) &&
                   readReal(f, c.DiscountMed, Discount) && readReal(f, c.DiscountHigh, Discount);
        }))
        return false;
    for (std::string* s : docketStrings(c))
        if (!readLine(f, [&] {
                *s = f.readText(255);
                return true;
            }))
            return false;
    for (const Label& label : Labels)
        if (!readLine(f, [&] {
                c.*label.field = f.readText(label.maxLength);
                return true;
            }))
            return false;
    return true;
}

} // namespace

Configuration DefaultConfiguration() {
    Configuration c;
    const char* letters[] = {"A", "B", "C", "D", "E"};
    for (size_t i = 0; i < 5; ++i)
        c.SalesPersonCode[i] = c.SalesPersonName[i] = letters[i];
    c.DisplayPort = c.DrawerPort = "COM0";
    c.Denomination = "??";
    c.Rounding = "N";
    c.PrintWidth = 40;
    c.PushOut = 5;
    for (std::string* s : docketStrings(c))
        *s = "?";
    c.LabelTotal = "Total";
    c.LabelSubtotal = "Subtotal";
    c.LabelTax = "Tax";
    c.LabelRounding = "-Rounding";
    c.LabelPaid = "Cash paid";
    c.LabelChange = "Change";
    c.LabelCreditTender = "Credit Tender";
    c.LabelChequeTender = "Cheque Tender";
    c.LabelCashTender = "Cash Tender";
    c.LabelCreditRefund = "Credit Refund";
    c.LabelChequeRefund = "Cheque Refund";
    c.LabelCashRefund = "Cash refund";
    c.LabelServedBy = "Served by";
    return c;
}

ConfigurationReading ReadConfiguration(const std::string& path, Configuration& config) {
    ConfigurationReading reading;
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file) return reading;
    reading.found = true;
    if (!readAll(*file, config)) reading.notices.push_back({"Faulty file Configur.dat!"});
    return reading;
}

bool WriteConfiguration(const std::string& path, const Configuration& config) {
    std::optional<TextRewriter> file = TextRewriter::Open(path);
    if (!file) return false;
    TextRewriter& f = *file;
    const Configuration& c = config;
    namespace W = ConfigurationWidths;
    for (size_t i = 0; i < 5; ++i)
        f.writeLine(fixedWidth(c.SalesPersonCode[i], W::SalesPersonCode) + c.SalesPersonName[i]);
    f.write(fixedWidth(c.DisplayPort, W::Port) + "  ");
    f.writeInteger(c.DisplayWidth, 0);
    f.writeLine();
    f.writeLine(fixedWidth(c.DrawerPort, W::Port) + "     " + Line7Comment);
    f.write(fixedWidth(c.Denomination, W::Denomination) + " " +
            fixedWidth(c.Rounding, W::Rounding) + "   ");
    f.writeInteger(c.PrintWidth, 0);
    f.write("   ");
    f.writeInteger(c.PushOut, 0);
    f.write("     ");
    f.writeInteger(c.LowStockPercent, 0);
    f.write("     ");
    f.writeNumber(c.TaxRate, 5, 2);
    f.write("     ");
    f.writeNumber(c.DiscountLow, 5, 2);
    f.write("  ");
    f.writeNumber(c.DiscountMed, 5, 2);
    f.write("  ");
    f.writeNumber(c.DiscountHigh, 5, 2);
    f.writeLine();
    for (const std::string* s : docketStrings(c))
        f.writeLine(*s);
    for (const Label& label : Labels)
        f.writeLine(c.*label.field);
    f.commit();
    return true;
}

void DeriveSwitches(Configuration& c) {
    c.RoundingOn = c.Rounding == "R" || c.Rounding == "r";
    c.TaxOn = c.TaxRate > 0;
    c.InventoryOn = c.LowStockPercent >= 1;
    c.DocketExtraWidth = c.PrintWidth - 34 < 0 ? 0 : c.PrintWidth - 34;
}
