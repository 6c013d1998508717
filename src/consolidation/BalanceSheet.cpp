#include "consolidation/BalanceSheet.h"

#include "consolidation/ConsolidationError.h"
#include "fast/CodeTable.h"
#include "inventory/InventoryFile.h"
#include "store/NumberParse.h"
#include "store/NumberText.h"
#include "store/TextLines.h"

#include <algorithm>
#include <array>
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

// Calls `f` with each number of a row after its label and its text; false
// when one cannot be read.
template <typename F> bool forEachNumber(std::string_view row, F&& f) {
    size_t pos = LabelWidth;
    while ((pos = row.find_first_not_of(' ', pos)) != std::string_view::npos) {
        size_t end = std::min(row.find(' ', pos), row.size());
        std::string_view text = row.substr(pos, end - pos);
        RealParse parsed = ParseReal(text);
        if (parsed.errorPosition != 0) return false;
        f(parsed.value, text);
        pos = end;
    }
    return true;
}

// Whether `text` is the number as :w:2 writes it (a minus only before a
// nonzero amount, no leading zeros, two decimals, well within the digits a
// double holds), so that rewriting it with 2 decimals gives the same text.
bool writtenWithTwoDecimals(std::string_view text) {
    size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
    size_t digits = text.size() - i;
    if (digits < 4 || digits > 16 || text[text.size() - 3] != '.') return false;
    if (text[i] == '0' && text.size() - 3 - i > 1) return false;
    for (size_t k = i; k < text.size(); ++k)
        if (k != text.size() - 3 && (text[k] < '0' || text[k] > '9')) return false;
    return i == 0 || text.find_first_not_of("0.", i) != std::string_view::npos;
}

// value:13:2, without formatting it again when its text already is that.
void appendRewritten(std::string& out, double value, std::string_view text) {
    if (!writtenWithTwoDecimals(text)) {
        out += FormatFixed(value, 13, 2);
        return;
    }
    if (text.size() < 13) out.append(13 - text.size(), ' ');
    out.append(text);
}

// The same check as reading every number, without converting those written
// by the sheet itself.
bool numbersReadable(std::string_view row) {
    size_t pos = LabelWidth;
    while ((pos = row.find_first_not_of(' ', pos)) != std::string_view::npos) {
        size_t end = std::min(row.find(' ', pos), row.size());
        std::string_view text = row.substr(pos, end - pos);
        if (!writtenWithTwoDecimals(text) && ParseReal(text).errorPosition != 0) return false;
        pos = end;
    }
    return true;
}

std::vector<std::string_view> readOldRows(const std::string& text, const std::string& path) {
    std::vector<std::string_view> rows;
    ForEachLine(text, [&](std::string_view row, size_t number) {
        if (row.size() < LabelWidth) faultyBalance(path, number);
        if (number > 1 && !numbersReadable(row)) faultyBalance(path, number);
        rows.push_back(row);
    });
    if (rows.size() < FixedRows) faultyBalance(path, rows.size() + 1);
    return rows;
}

bool hasBalanceRow(char marker) {
    return marker == '$' || marker == '!';
}

// An inventory line of the day, taken apart only as far as the balance sheet
// needs: marker, code and value.
struct ItemValue {
    char marker;
    std::string_view code;
    std::string_view head;
    double value = 0;
};

ItemValue parseInventory(std::string_view text, const std::string& path, size_t number) {
    ItemValue item{text.empty() ? ' ' : text[0], text.substr(1, LabelWidth), {}, 0};
    // Only expense and service lines carry their value into the sheet.
    if (!SplitInventoryValue(text, item.head, hasBalanceRow(item.marker) ? &item.value : nullptr))
        throw ConsolidationError(UnreadableLineText(path, number));
    return item;
}

// The line with its value field started again at "0.00".
void appendWithValueReset(std::string& out, const ItemValue& item) {
    out.append(item.head);
    out += "            0.00\r\n";
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
        ItemValue item = parseInventory(text, inventoryPath, number);
        if (!hasBalanceRow(item.marker)) {
            update.inventory.append(text);
            update.inventory += "\r\n";
            return;
        }
        update.balance.append(item.code);
        update.balance += column(item.value) + "\r\n";
        appendWithValueReset(update.inventory, item);
    });
    return update;
}

BalanceUpdate nextColumn(const std::string& oldBalance, const std::string& balancePath,
                         std::string_view inventory, const std::string& inventoryPath,
                         const ConsolidationTotals& period, const RunDates& dates) {
    const std::vector<std::string_view> rows = readOldRows(oldBalance, balancePath);
    BalanceUpdate update;
    update.balance.reserve(oldBalance.size() + rows.size() * 16);
    update.inventory.reserve(inventory.size());
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
    // not take that row's history; the first row of a code counts. The sheet
    // was written in the inventory's order, so a flat table whose entries
    // keep the rows' order is read nearly in turn: at a hundred thousand
    // rows a table of scattered nodes spends its time waiting for memory.
    CodeTable<size_t> items;
    items.reserve(rows.size());
    for (size_t r = FixedRows; r < rows.size(); ++r)
        items.tryEmplace(rows[r].substr(0, LabelWidth), r);
    ForEachLine(inventory, [&](std::string_view text, size_t number) {
        if (text.empty()) return;
        ItemValue item = parseInventory(text, inventoryPath, number);
        if (hasBalanceRow(item.marker)) {
            if (const size_t* found = items.find(item.code)) {
                update.balance.append(rows[*found]);
            } else {
                update.balance.append(item.code);
                update.balance += filler;
            }
            update.balance += column(item.value) + "\r\n";
        }
        appendWithValueReset(update.inventory, item);
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

bool ReadBalanceNumbers(std::string_view row, std::vector<double>& values) {
    values.clear();
    return forEachNumber(row, [&](double value, std::string_view) { values.push_back(value); });
}

std::vector<std::string> BalancePeriods(std::string_view heading) {
    std::vector<std::string> periods;
    size_t pos = std::min(heading.size(), LabelWidth);
    while ((pos = heading.find_first_not_of(' ', pos)) != std::string_view::npos) {
        size_t end = std::min(heading.find(' ', pos), heading.size());
        periods.emplace_back(heading.substr(pos, end - pos));
        pos = end;
    }
    return periods;
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
        if (!forEachNumber(row, [&](double value, std::string_view text) {
                sum += value;
                appendRewritten(totals, value, text);
            }))
            faultyBalance(balancePath, number);
        totals += " =" + FormatFixed(sum, 14, 2) + "\r\n";
    });
    return totals;
}
