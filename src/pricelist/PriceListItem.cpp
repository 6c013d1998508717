#include "pricelist/PriceListItem.h"

#include "fast/ColumnNumbers.h"
#include "store/LineFields.h"

namespace {
constexpr size_t CodeColumn = 1;
constexpr size_t CodeLength = 13;
constexpr size_t WholesaleColumn = 42;
constexpr size_t WholesaleWidth = 10;
} // namespace

bool ParsePriceListItem(std::string_view line, PriceListItem& item) {
    if (line.size() < WholesaleColumn + WholesaleWidth) return false;
    if (line.find('\0') != std::string_view::npos) return false;
    item.marker = line[0];
    item.code = line.substr(CodeColumn, CodeLength);
    // As the program writes the line: the two prices and the stock level by
    // column.
    if (line.size() == WholesaleColumn + WholesaleWidth + 14 &&
        ColumnNumbers::readDecimal(line.data() + WholesaleColumn - 1,
                                   line.data() + WholesaleColumn + WholesaleWidth,
                                   item.wholesale) &&
        ReadColumnDecimals(line, WholesaleColumn + WholesaleWidth,
                           {WholesaleColumn + WholesaleWidth + 11}, {&item.salePrice}) &&
        ColumnNumbers::readInteger(line.data() + line.size() - 3, line.data() + line.size(),
                                   item.StockLevel))
        return true;
    LineFields wholesale(line.substr(WholesaleColumn, WholesaleWidth));
    double ignored = 0;
    if (!wholesale.readReal(item.wholesale) || wholesale.readReal(ignored)) return false;
    LineFields rest(line.substr(WholesaleColumn + WholesaleWidth));
    return rest.readReal(item.salePrice) && rest.readInteger(item.StockLevel);
}
