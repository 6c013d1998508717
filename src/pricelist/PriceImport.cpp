#include "pricelist/PriceImport.h"

#include "fast/CodeTable.h"
#include "pricelist/PriceLineCheck.h"
#include "store/FileCommit.h"
#include "store/Options.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* FieldNames[] = {"code", "description", "wholesale price", "sale price",
                                      "stock level"};

std::string trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
}

std::string padRight(std::string s, size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

std::string padLeft(const std::string& s, size_t width) {
    return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}

// An amount as a spreadsheet writes it ("1.5", "1,50", "-3") with 2
// decimals, or nothing when it has more decimals, thousands separators or
// anything else.
std::optional<std::string> amount(std::string text) {
    text = trim(text);
    if (text.find('.') == std::string::npos) std::replace(text.begin(), text.end(), ',', '.');
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    const size_t point = text.find('.');
    const std::string whole =
        text.substr(i, point == std::string::npos ? std::string::npos : point - i);
    const std::string decimals = point == std::string::npos ? "" : text.substr(point + 1);
    auto digits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || !digits(whole) || !digits(decimals) || decimals.size() > 2)
        return std::nullopt;
    return text.substr(0, i) + whole + "." + decimals + std::string(2 - decimals.size(), '0');
}

std::string cell(const std::vector<std::string>& row, size_t column) {
    return column == 0 || column > row.size() ? std::string() : trim(row[column - 1]);
}

std::string codeOf(std::string_view line) {
    return line.size() < 2 ? std::string() : trim(line.substr(1, 13));
}

// The row as a typed line, or the reason it cannot be one.
std::optional<std::string> typedLine(const std::vector<std::string>& row,
                                     const ImportColumns& columns, std::string& reason) {
    const std::string code = cell(row, columns.code());
    const std::string description = cell(row, columns.description());
    if (code.size() > 13) {
        reason = "code \"" + code + "\" is longer than 13 characters";
        return std::nullopt;
    }
    if (description.size() > 26) {
        reason = "description is longer than 26 characters";
        return std::nullopt;
    }
    std::array<std::string, 2> prices;
    for (size_t k = 0; k < 2; ++k) {
        const size_t column = k == 0 ? columns.wholesale() : columns.sale();
        const std::string text = cell(row, column);
        std::optional<std::string> value = amount(column == 0 && text.empty() ? "0" : text);
        if (!value) {
            reason = std::string(FieldNames[2 + k]) + " \"" + text +
                     "\" is no amount with at most 2 decimals";
            return std::nullopt;
        }
        prices[k] = *value;
    }
    // A field wider than its columns would push the next one along, and the
    // check would read a changed line.
    for (size_t k = 0; k < 2; ++k)
        if (prices[k].size() > 10) {
            reason = std::string(FieldNames[2 + k]) + " \"" + prices[k] +
                     "\" is larger than the price list holds";
            return std::nullopt;
        }
    std::string stock = cell(row, columns.stock());
    if (stock.empty()) stock = "0";
    if (stock.size() > 2) {
        reason = "stock level \"" + stock + "\" is not a whole number 0 to 99";
        return std::nullopt;
    }
    return " " + padRight(code, 13) + " " + padRight(description, 26) + " " +
           padLeft(prices[0], 10) + " " + padLeft(prices[1], 10) + " " + padLeft(stock, 2);
}

} // namespace

std::optional<ImportColumns> ParseImportColumns(std::string_view text, std::string& fault) {
    ImportColumns columns;
    size_t k = 0;
    std::string item;
    const std::string all = std::string(text) + ",";
    for (char c : all) {
        if (c != ',') {
            item += c;
            continue;
        }
        item = trim(item);
        if (k == columns.column.size() || item.empty() || item.size() > 3 ||
            !std::all_of(item.begin(), item.end(), [](char d) { return d >= '0' && d <= '9'; })) {
            fault = "five column numbers separated by \",\" (0 for none)";
            return std::nullopt;
        }
        columns.column[k++] = std::stoul(item);
        item.clear();
    }
    if (k != columns.column.size()) {
        fault = "five column numbers separated by \",\" (0 for none)";
        return std::nullopt;
    }
    if (columns.code() == 0 || columns.sale() == 0) {
        fault = "the code and the sale price need a column";
        return std::nullopt;
    }
    return columns;
}

std::string ImportColumnsText(const ImportColumns& columns) {
    std::string text;
    for (size_t c : columns.column)
        text += (text.empty() ? "" : ",") + std::to_string(c);
    return text;
}

PriceImport ImportPriceRows(const CsvTable& table, const ImportColumns& columns,
                            const std::vector<std::string>& current, bool updatePrices) {
    PriceImport result;
    result.lines = current;
    // Flat tables by code: a supplier's file of a million rows against a
    // list as long would spend its time in a tree's scattered nodes.
    CodeTable<size_t> listed; // code -> its first line
    listed.reserve(current.size());
    for (size_t i = 0; i < current.size(); ++i)
        if (!EmptyPriceLine(current[i])) listed.tryEmplace(codeOf(current[i]), i);
    CodeTable<size_t> imported; // code -> the row that brought it
    imported.reserve(table.rows.size());
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const size_t rowNumber = table.rowNumbers[r];
        const std::vector<std::string>& row = table.rows[r];
        // A first row whose sale price is no amount names the columns.
        if (r == 0 && !amount(cell(row, columns.sale()))) {
            result.headingSkipped = true;
            continue;
        }
        std::string reason;
        std::optional<std::string> typed = typedLine(row, columns, reason);
        std::string line;
        if (typed && !CheckPriceLine(*typed, line)) reason = PriceLineFault(*typed);
        if (!reason.empty()) {
            result.refused.push_back({rowNumber, reason});
            continue;
        }
        const std::string code = codeOf(line);
        if (const size_t* twice = imported.find(code)) {
            result.refused.push_back({rowNumber, "code " + code + " stands on row " +
                                                     std::to_string(*twice) + " already"});
            continue;
        }
        imported.tryEmplace(code, rowNumber);
        const size_t* existing = listed.find(code);
        if (!existing) {
            result.lines.push_back(line);
            ++result.added;
            continue;
        }
        if (!updatePrices) {
            ++result.kept;
            continue;
        }
        std::string old;
        if (!CheckPriceLine(result.lines[*existing], old)) {
            result.refused.push_back({rowNumber, "the list's line " +
                                                     std::to_string(*existing + 1) + " for code " +
                                                     code + " has a fault of its own"});
            continue;
        }
        // Only the prices change: columns 43-52 when the file has wholesale
        // prices, and 54-63.
        const size_t from = columns.wholesale() != 0 ? 42 : 53;
        result.lines[*existing] =
            old.substr(0, from) + line.substr(from, 63 - from) + old.substr(63);
        ++result.updated;
    }
    return result;
}

std::string PriceImportReport(const PriceImport& import) {
    std::string text = std::to_string(import.added) + " lines added, " +
                       std::to_string(import.updated) + " prices updated, " +
                       std::to_string(import.kept) + " existing codes kept, " +
                       std::to_string(import.refused.size()) + " rows refused.";
    // A box shows a screenful; the rest are counted.
    constexpr size_t Shown = 30;
    for (size_t i = 0; i < import.refused.size() && i < Shown; ++i)
        text += "\rRow " + std::to_string(import.refused[i].row) + ": " + import.refused[i].reason;
    if (import.refused.size() > Shown)
        text += "\r... and " + std::to_string(import.refused.size() - Shown) + " rows more.";
    return text;
}

void SaveImportColumns(const std::string& dataDir, Options& options, const ImportColumns& columns) {
    Options changed = options;
    changed.set(ImportColumnsKey, ImportColumnsText(columns));
    FileCommit commit(dataDir);
    commit.replace("Options.dat", changed.text());
    commit.commit();
    options = std::move(changed);
}
