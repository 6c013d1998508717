#pragma once

#include "store/Notice.h"

#include <array>
#include <string>

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

    // From Options.dat's prices-include-tax, set with the derived switches:
    // the sale prices (and the expense amounts typed) already hold the tax,
    // which is then taken out of them instead of added.
    bool PricesIncludeTax = false;
};

// Docket rows that carry a fixed text (the others are generated).
constexpr std::array<int, 6> DocketTextRows = {1, 2, 3, 7, 8, 9};

// The sound range of each number of the configuration. A value outside it
// makes its line of Configur.dat faulty, and the setup screen refuses it: a
// mistyped push-out or print width would otherwise fill every docket with
// feed lines or blanks.
template <class T> struct ValueRange {
    T min;
    T max;
    constexpr bool holds(T v) const { return v >= min && v <= max; }
};
namespace ConfigurationLimits {
constexpr ValueRange<long> DisplayWidth{0, 80};
constexpr ValueRange<long> PrintWidth{20, 255};
constexpr ValueRange<long> PushOut{0, 99};
constexpr ValueRange<long> LowStockPercent{0, 100};
constexpr ValueRange<double> TaxRate{0, 100};
constexpr ValueRange<double> Discount{0, 100};
} // namespace ConfigurationLimits

// The widths of the values that the reader takes by position: a shorter one
// would take the next characters of its line with it.
namespace ConfigurationWidths {
constexpr size_t SalesPersonCode = 1;
constexpr size_t Port = 4;
constexpr size_t Denomination = 2;
constexpr size_t Rounding = 1;
} // namespace ConfigurationWidths

// The values the setup screen starts from.
Configuration DefaultConfiguration();

struct ConfigurationReading {
    // False (and config unchanged) when the file does not exist.
    bool found = false;
    Notices notices;
};

// Reads the file into config. A line that does not fit the layout, or holds
// a number outside its range, ends the reading with the notice "Faulty file
// Configur.dat!"; what was read before stays. A blank sales person code reads
// as none.
ConfigurationReading ReadConfiguration(const std::string& path, Configuration& config);

// Writes the 45 lines, the fixed-width values filled with blanks to their
// widths. Returns false when the file cannot be created; a failing write
// throws IoError and leaves the old file in place.
bool WriteConfiguration(const std::string& path, const Configuration& config);

void DeriveSwitches(Configuration& config);
