#pragma once

#include <array>
#include <string>

class Dialogs;

// The shop's configuration as kept in Configur.dat. Sales persons are held at
// index 0..4 for persons 1..5; docket rows at index 1..9 (their row digits).
struct Configuration {
    std::array<std::string, 5> SalesPersonCode;
    std::array<std::string, 5> SalesPersonName;
    std::string DisplayPort;
    long DisplayWidth = 0;
    std::string DrawerPort;
    std::string Denomination;
    std::string Rounding;
    long PrintWidth = 0;
    long PushOut = 0;
    long LowStockPercent = 0;
    double TaxRate = 0;
    double DiscountLow = 0;
    double DiscountMed = 0;
    double DiscountHigh = 0;
    std::array<std::string, 10> DocketCode;
    std::array<std::string, 10> DocketText;
    std::array<std::string, 10> DocketRelease;
    std::string LabelTotal;
    std::string LabelSubtotal;
    std::string LabelTax;
    std::string LabelRounding;
    std::string LabelPaid;
    std::string LabelChange;
    std::string LabelCreditTender;
    std::string LabelChequeTender;
    std::string LabelCashTender;
    std::string LabelCreditRefund;
    std::string LabelChequeRefund;
    std::string LabelCashRefund;
    std::string LabelServedBy;

    // Derived switches, recomputed whenever the main screen is activated.
    bool RoundingOn = false;
    bool TaxOn = false;
    bool InventoryOn = false;
    long DocketExtraWidth = 0;
};

// Docket rows that carry a fixed text (the others are generated).
constexpr std::array<int, 6> DocketTextRows = {1, 2, 3, 7, 8, 9};

// The values the setup screen starts from.
Configuration DefaultConfiguration();

// Reads the file into config. Returns false (and changes nothing) when the
// file does not exist. A line that does not fit the layout shows
// "Faulty file Configur.dat!" and ends the reading; what was read stays.
bool ReadConfiguration(const std::string& path, Configuration& config, Dialogs& dialogs);

// Writes the 45 lines. Returns false when the file cannot be created; a
// failing write throws IoError and leaves the old file in place.
bool WriteConfiguration(const std::string& path, const Configuration& config);

void DeriveSwitches(Configuration& config);
