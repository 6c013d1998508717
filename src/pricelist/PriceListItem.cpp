#include "pricelist/PriceListItem.h"

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
    LineFields wholesale(line.substr(WholesaleColumn, WholesaleWidth));
    double ignored = 0;
    if (!wholesale.readReal(item.wholesale) || wholesale.readReal(ignored)) return false;
    LineFields rest(line.substr(WholesaleColumn + WholesaleWidth));
    return rest.readReal(item.salePrice) && rest.readInteger(item.StockLevel);
}
