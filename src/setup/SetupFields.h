#pragma once

#include "store/Configuration.h"
#include "store/Notice.h"

#include <array>
#include <optional>
#include <string>

// What the setup screen's fields hold, as Windows-1252 text, one member per
// field. Sales persons at index 0..4; docket rows at index 1..9.
struct SetupFields {
    std::array<std::string, 5> salesPersonCode; // sp1ed .. sp5ed
    std::array<std::string, 5> salesPersonName; // sp1ned .. sp5ned
    std::array<std::string, 10> docketCode;     // dl1ed .. dl9ed
    std::array<std::string, 10> docketText;     // dn1ed .. dn9ed (rows 1-3, 7-9)
    std::array<std::string, 10> docketRelease;  // dr1ed .. dr9ed
    std::array<std::string, 13> language;       // in the order of LanguageFields

    std::string taxRate;      // taxed
    std::string discountLow;  // ldisced
    std::string discountMed;  // mdisced
    std::string discountHigh; // hdisced
    std::string drawerPort;   // COMed
    std::string displayPort;  // displayed
    std::string displayWidth; // dispNoched
    std::string denomination; // denomed
    std::string rounding;     // rounded
    std::string printWidth;   // Prnwed
    std::string pushOut;      // pushed
    std::string lowStock;     // stocked
};

// The fields of the language panel in their tab order: the field's name,
// its label, how many characters may be typed and how many are kept.
struct LanguageField {
    const char* name;
    const char* caption;
    std::string Configuration::*value;
    int maxLength;
    size_t storedLength;
};
extern const std::array<LanguageField, 13> LanguageFields;

// The docket rows in the order the screen lists them, with their labels.
struct DocketRowLabel {
    size_t row;
    const char* label;
};
extern const std::array<DocketRowLabel, 9> DocketRowsOnScreen;

// The fields as the screen shows them for these values: texts as they are,
// whole numbers in decimal, rates in their shortest form with the shop's
// decimal separator.
SetupFields FieldsFromConfiguration(const Configuration& config, char decimalSeparator);

// A field whose value cannot be saved.
struct FieldFault {
    std::string field;   // the field's name, as taxed or sp2ed
    std::string message; // names the field and says what it takes
};

struct FieldsTakenOver {
    // The first field that cannot be saved; the configuration is unchanged.
    std::optional<FieldFault> refused;
    // Warnings that do not stop the save.
    Notices notices;
};

// Checks every field in the screen's order (the panels as their buttons
// stand, each panel in its tab order) and stops at the first that cannot be
// saved. When all can, takes them over into the configuration.
FieldsTakenOver TakeOverFields(const SetupFields& fields, Configuration& config,
                               char decimalSeparator);
