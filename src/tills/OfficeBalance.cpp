#include "tills/OfficeBalance.h"

#include "consolidation/RunDates.h"
#include "store/NumberText.h"

#include <cstdio>
#include <map>

namespace {

constexpr std::array<const char*, 5> ShopLabels = {
    "CASH TOTAL   ", "CHEQUE TOTAL ", "CREDIT TOTAL ", "TOTAL        ", "TAX TOTAL    "};
constexpr std::array<const char*, 5> TillLabels = {" CASH     ", " CHEQUE   ", " CREDIT   ",
                                                   " TOTAL    ", " TAX      "};

using Months = std::map<std::string, DayFigures>; // YYYYMM -> sums

void add(Months& months, const std::string& month, const DayFigures& figures) {
    DayFigures& sum = months[month];
    for (size_t k = 0; k < sum.size(); ++k)
        sum[k] += figures[k];
}

std::string row(const std::string& label, const Months& all, const Months& own, size_t k) {
    std::string text = label;
    for (const auto& [month, unused] : all) {
        const auto found = own.find(month);
        text += " " + FormatFixed(found == own.end() ? 0.0 : found->second[k], 12, 2);
    }
    return text + "\r\n";
}

} // namespace

std::string OfficeBalanceSheet(const std::vector<CollectedDay>& days) {
    if (days.empty()) return {};
    Months shop;
    std::map<int, Months> tills;
    for (const CollectedDay& day : days) {
        const std::string month = day.date.substr(0, 6);
        add(shop, month, day.figures);
        add(tills[day.till], month, day.figures);
    }
    std::string sheet = "BALANCE SHEET";
    for (const auto& [month, unused] : shop)
        sheet += "      " + MonthName(std::stoi(month.substr(4, 2))) + month.substr(0, 4);
    sheet += "\r\n";
    for (size_t k = 0; k < ShopLabels.size(); ++k)
        sheet += row(ShopLabels[k], shop, shop, k);
    for (const auto& [till, months] : tills) {
        char name[8];
        std::snprintf(name, sizeof name, "T%02d", till % 100);
        for (size_t k = 0; k < TillLabels.size(); ++k)
            sheet += row(name + std::string(TillLabels[k]), shop, months, k);
    }
    return sheet;
}
