#include "store/Configuration.h"

#include "platform/Dialogs.h"
#include "store/TextFile.h"

#include <functional>
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

// Reads one line with `body`; false when the line is missing or does not fit.
bool readLine(TextFile& file, const std::function<void()>& body) {
    if (file.eof()) return false;
    body();
    file.readLine();
    return !file.ioError();
}

bool readAll(TextFile& f, Configuration& c) {
    for (size_t i = 0; i < 5; ++i) {
        if (!readLine(f, [&] {
                c.SalesPersonCode[i] = f.readText(1);
                c.SalesPersonName[i] = f.readText(9);
            }))
            return false;
    }
    if (!readLine(f, [&] {
            c.DisplayPort = f.readText(4);
            f.readInteger(c.DisplayWidth);
        }))
        return false;
    if (!readLine(f, [&] { c.DrawerPort = f.readText(4); })) return false;
    if (!readLine(f, [&] {
            c.Denomination = f.readText(2);
            f.readChar();
            c.Rounding = f.readText(1);
            // After a failed number the file reads nothing more: the rest keep their values.
            f.readInteger(c.PrintWidth);
            f.readInteger(c.PushOut);
            f.readInteger(c.LowStockPercent);
            f.readReal(c.TaxRate);
            f.readReal(c.DiscountLow);
            f.readReal(c.DiscountMed);
            f.readReal(c.DiscountHigh);
        }))
        return false;
    for (std::string* s : docketStrings(c))
        if (!readLine(f, [&] { *s = f.readText(255); })) return false;
    for (const Label& label : Labels)
        if (!readLine(f, [&] { c.*label.field = f.readText(label.maxLength); })) return false;
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

bool ReadConfiguration(const std::string& path, Configuration& config, Dialogs& dialogs) {
    TextFile file;
    if (!file.openRead(path)) return false;
    if (!readAll(file, config)) dialogs.message("Faulty file Configur.dat!");
    return true;
}

bool WriteConfiguration(const std::string& path, const Configuration& config) {
    TextFile f;
    if (!f.openRewrite(path)) return false;
    const Configuration& c = config;
    for (size_t i = 0; i < 5; ++i)
        f.writeLine(c.SalesPersonCode[i] + c.SalesPersonName[i]);
    f.write(c.DisplayPort + "  ");
    f.writeInteger(c.DisplayWidth, 0);
    f.writeLine();
    f.writeLine(c.DrawerPort + "     " + Line7Comment);
    f.write(c.Denomination + " " + c.Rounding + "   ");
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
    f.close();
    return true;
}

void DeriveSwitches(Configuration& c) {
    c.RoundingOn = c.Rounding == "R" || c.Rounding == "r";
    c.TaxOn = c.TaxRate > 0;
    c.InventoryOn = c.LowStockPercent >= 1;
    c.DocketExtraWidth = c.PrintWidth - 34 < 0 ? 0 : c.PrintWidth - 34;
}
