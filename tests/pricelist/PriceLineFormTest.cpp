#include "pricelist/PriceLineForm.h"

#include <gtest/gtest.h>

// Each form is laid out into a line and put through the line check; the
// expected lines are written out column by column.
TEST(PriceLineForm, FieldsAreLaidOutAndAFaultNamesItsField) {
    using F = PriceLineField;
    struct Case {
        PriceFormTexts texts;
        const char* line; // nullptr: refused
        F faulty;
        const char* fault;
    };
    const char* const code = "Code: letters A to Z, digits and \"/\", up to 13, without blanks";
    const char* const wholesale = "Wholesale price: a number up to 9999999.99";
    // clang-format off
    const Case cases[] = {
        {{"", "9300675012345", "vegemite 220g", "3.2", "5.50", "12"},
         " 9300675012345 Vegemite 220g                    3.20       5.50 12", F::Code, ""},
        {{"$", "rent", "", "0", " 0 ", "5"},
         "$RENT                                           0.00       0.00  5", F::Code, ""},
        {{" ", "/cut", "Haircut", "0", "-3", "0"},
         " /CUT          Haircut                          0.00      -3.00  0", F::Code, ""},
        {{"", "A", "Apple", "1", "10000000", "1"}, nullptr, F::SalePrice,
         "Sale price: a number up to 9999999.99"},
        {{"", "A", "Apple", "1.2.3", "1", "1"}, nullptr, F::WholesalePrice, wholesale},
        {{"", "A", "Apple", "", "1", "1"}, nullptr, F::WholesalePrice, wholesale},
        {{"", "", "Apple", "1", "1", "1"}, nullptr, F::Code, code},
        {{"", "AB CD", "Apple", "1", "1", "1"}, nullptr, F::Code, code},
        {{"$", "/X", "Fee", "1", "1", "1"}, nullptr, F::Code,
         "Code: letters A to Z and digits, up to 13, without blanks"},
        {{"", "12345678901234", "Apple", "1", "1", "1"}, nullptr, F::Code, code},
        {{"", "A", "A description of 27 letters", "1", "1", "1"}, nullptr, F::Description,
         "Description: up to 26 characters"},
        {{"", "A", "Apple", "1", "1", ""}, nullptr, F::StockLevel,
         "Stock level: a whole number 0 to 99"},
        {{"#", "A", "Apple", "1", "1", "1"}, nullptr, F::Marker,
         "Marker: blank for an article or a service, \"$\" for an expense"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts[1] + "|" + c.texts[3] + "|" + c.texts[4]);
        ComposedPriceLine composed = ComposePriceLine(c.texts);
        EXPECT_EQ(composed.passed, c.line != nullptr);
        if (c.line) {
            EXPECT_EQ(composed.line, c.line);
            continue;
        }
        EXPECT_EQ(composed.faultyField, c.faulty);
        EXPECT_EQ(composed.fault, c.fault);
    }
}
