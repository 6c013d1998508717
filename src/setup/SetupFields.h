#pragma once

#include "store/Configuration.h"
#include "store/Notice.h"

#include <array>
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

// The fields as the screen shows them for these values: texts as they are,
// whole numbers in decimal, rates in their shortest form with the shop's
// decimal separator.
SetupFields FieldsFromConfiguration(const Configuration& config, char decimalSeparator);

// Takes the fields over into the configuration in the screen's fixed order,
// with a notice for each warning and each refused number as it comes; none
// of them stops the rest. A refused value keeps its previous one.
Notices TakeOverFields(const SetupFields& fields, Configuration& config, char decimalSeparator);
