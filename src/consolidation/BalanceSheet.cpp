#include "consolidation/BalanceSheet.h"

#include "consolidation/ConsolidationError.h"
#include "inventory/InventoryFile.h"
#include "store/NumberParse.h"
#include "store/NumberText.h"
#include "store/TextLines.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace {

constexpr size_t LabelWidth = 13;
constexpr size_t FixedRows = 6;
constexpr const char* Filler = "         0.00";
constexpr std::array<const char*, FixedRows - 1> FixedLabels = {
    "CASH TOTAL   ", "CHEQUE TOTAL ", "CREDIT TOTAL ", "TOTAL        ", "TAX TOTAL    "};

std::array<double, FixedRows - 1> fixedValues(const ConsolidationTotals& t) {
    return {t.TotCash, t.TotCheque, t.TotCredit, t.TotTakings, t.TotTax};
}

std::string column(double value) {
    return " " + FormatFixed(value, 12, 2);
}

[[noreturn]] void faultyBalance(const std::string& path, size_t number) {
    throw ConsolidationError(std::string(BalanceFaultyText) + "\r" +
                             UnreadableLineText(path, number));
}

// Calls `f` for each number of a row after its label; false when one cannot
// be read.
template <typename F> bool forEachNumber(std::string_view row, F&& f) {
    size_t pos = LabelWidth;
    while ((pos = row.find_first_not_of(' ', pos)) != std::string_view::npos) {
        size_t end = std::min(row.find(' ', pos), row.size());
        RealParse parsed = ParseReal(row.substr(pos, end - pos));
        if (parsed.errorPosition != 0) return false;
        f(parsed.value);
        pos = end;
    }
    return true;
}

std::vector<std::string_view> readOldRows(const std::string& text, const std::string& path) {
    std::vector<std::string_view> rows;
    ForEachLine(text, [&](std::string_view row, size_t number) {
        if (row.size() < LabelWidth) faultyBalance(path, number);
        if (number > 1 && !forEachNumber(row, [](double) {})) faultyBalance(path, number);
        rows.push_back(row);
    });
    if (rows.size() < FixedRows) faultyBalance(path, rows.size() + 1);
    return rows;
}

InventoryLine parseInventory(std::string_view text, const std::string& path, size_t number) {
    InventoryLine line;
    if (!ParseInventoryLine(text, line)) throw ConsolidationError(UnreadableLineText(path, number));
    return line;
}

std::string withValueReset(InventoryLine line) {
    line.InvValue = 0.0;
    return FormatInventoryLine(line, MinMaxWidthConsolidation) + "\r\n";
}

bool hasBalanceRow(char marker) {
    return marker == '$' || marker == '!';
}

BalanceUpdate firstSheet(std::string_view inventory, const std::string& inventoryPath,
                         const ConsolidationTotals& period, const RunDates& dates) {
    BalanceUpdate update;
    update.balance = "BALANCE SHEET      " + dates.MonthText + dates.YearText + "\r\n";
    auto values = fixedValues(period);
    for (size_t i = 0; i < values.size(); ++i)
        update.balance += FixedLabels[i] + column(values[i]) + "\r\n";
    ForEachLine(inventory, [&](std::string_view text, size_t number) {
        if (text.empty()) return;
        InventoryLine line = parseInventory(text, inventoryPath, number);
        if (!hasBalanceRow(line.ArticleMarker)) {
            update.inventory += FormatInventoryLine(line, MinMaxWidthConsolidation) + "\r\n";
            return;
        }
        update.balance += line.ArticleCode + column(line.InvValue) + "\r\n";
        update.inventory += withValueReset(line);
    });
    return update;
}

BalanceUpdate nextColumn(const std::string& oldBalance, const std::string& balancePath,
                         std::string_view inventory, const std::string& inventoryPath,
                         const ConsolidationTotals& period, const RunDates& dates) {
    const std::vector<std::string_view> rows = readOldRows(oldBalance, balancePath);
    BalanceUpdate update;
    update.balance.reserve(oldBalance.size() + rows.size() * 16);
    update.balance.append(rows[0]);
    update.balance += "      " + dates.MonthText + dates.YearText + "\r\n";
    auto values = fixedValues(period);
    for (size_t i = 0; i < values.size(); ++i) {
        update.balance.append(rows[i + 1]);
        update.balance += column(values[i]) + "\r\n";
    }
    std::string filler;
    while (filler.size() + LabelWidth < rows[FixedRows - 1].size())
        filler += Filler;
    // Item rows from row 7 on: a code spelled like a fixed row's label must
    // not take that row's history.
    std::unordered_map<std::string_view, std::string_view> items;
    items.reserve(rows.size());
    for (size_t r = FixedRows; r < rows.size(); ++r)
        items.try_emplace(rows[r].substr(0, LabelWidth), rows[r]);
    ForEachLine(inventory, [&](std::string_view text, size_t number) {
        if (text.empty()) return;
        InventoryLine line = parseInventory(text, inventoryPath, number);
        if (hasBalanceRow(line.ArticleMarker)) {
            auto found = items.find(line.ArticleCode);
            if (found != items.end())
                update.balance.append(found->second);
            else
                update.balance += line.ArticleCode + filler;
            update.balance += column(line.InvValue) + "\r\n";
        }
        update.inventory += withValueReset(line);
    });
    return update;
}

} // namespace

BalanceUpdate UpdateBalanceSheet(const std::optional<std::string>& oldBalance,
                                 const std::string& balancePath, std::string_view inventory,
                                 const std::string& inventoryPath,
                                 const ConsolidationTotals& period, const RunDates& dates) {
    if (!oldBalance) return firstSheet(inventory, inventoryPath, period, dates);
    return nextColumn(*oldBalance, balancePath, inventory, inventoryPath, period, dates);
}

std::string BalanceTotals(std::string_view balance, const std::string& balancePath) {
    std::string totals;
    totals.reserve(balance.size() + balance.size() / 10);
    ForEachLine(balance, [&](std::string_view row, size_t number) {
        if (number == 1) {
            totals.append(row);
            totals += "          Totals\r\n";
            return;
        }
        if (row.size() < LabelWidth) faultyBalance(balancePath, number);
        totals.append(row.substr(0, LabelWidth));
        double sum = 0;
        if (!forEachNumber(row, [&](double value) {
                sum += value;
                totals += FormatFixed(value, 13, 2);
            }))
            faultyBalance(balancePath, number);
        totals += " =" + FormatFixed(sum, 14, 2) + "\r\n";
    });
    return totals;
}
