#include "pricelist/PriceLineForm.h"
#include "store/Padding.h"

#include <string_view>

namespace {

constexpr size_t Widths[] = {1, 13, 26, 10, 10, 2};

size_t index(PriceLineField field) {
    return static_cast<size_t>(field);
}

std::string fieldFault(PriceLineField field, bool expense) {
    switch (field) {
    case PriceLineField::Marker:
        return "Marker: blank for an article or a service, \"$\" for an expense";
    case PriceLineField::Code:
        return expense ? "Code: letters A to Z and digits, up to 13, without blanks"
                       : "Code: letters A to Z, digits and \"/\", up to 13, without blanks";
    case PriceLineField::Description:
        return "Description: up to 26 characters";
    case PriceLineField::WholesalePrice:
        return "Wholesale price: a number up to 9999999.99";
    case PriceLineField::SalePrice:
        return "Sale price: a number up to 9999999.99";
    case PriceLineField::StockLevel:
        return "Stock level: a whole number 0 to 99";
    }
    return {};
}

// Text fields start at their first column, numbers end at their last.
bool rightAligned(PriceLineField field) {
    return field == PriceLineField::WholesalePrice || field == PriceLineField::SalePrice ||
           field == PriceLineField::StockLevel;
}

} // namespace

size_t PriceFormWidth(PriceLineField field) {
    return Widths[index(field)];
}

bool PriceFormTakes(PriceLineField field, char key) {
    const bool digit = key >= '0' && key <= '9';
    const bool letter = (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
    if (key == '\b') return true;
    switch (field) {
    case PriceLineField::Marker:
        return key == ' ' || key == '$';
    case PriceLineField::Code:
        return digit || letter || key == '/';
    case PriceLineField::Description:
        return static_cast<unsigned char>(key) >= ' ' && key != '\x7f';
    case PriceLineField::WholesalePrice:
    case PriceLineField::SalePrice:
        return digit || key == '.' || key == '-';
    case PriceLineField::StockLevel:
        return digit;
    }
    return false;
}

ComposedPriceLine ComposePriceLine(const PriceFormTexts& texts) {
    ComposedPriceLine result;
    const bool expense = TrimBlanks(texts[0]) == "$";
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto field = static_cast<PriceLineField>(i);
        std::string_view text = TrimBlanks(texts[i]);
        const size_t width = Widths[i];
        // A field wider than its columns would shift every column after it.
        if (text.size() > width) {
            result.faultyField = field;
            result.fault = fieldFault(field, expense);
            return result;
        }
        if (i > 1) line += ' ';
        const std::string pad(width - text.size(), ' ');
        line += rightAligned(field) ? pad + std::string(text) : std::string(text) + pad;
    }
    if (CheckPriceLine(line, result.line)) {
        result.passed = true;
        return result;
    }
    result.faultyField = PriceLineFaultField(line);
    result.fault = fieldFault(result.faultyField, expense);
    return result;
}
