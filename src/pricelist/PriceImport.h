#pragma once

#include "store/CsvReader.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A supplier's price list from a spreadsheet, taken into the editor's lines.
// Every row becomes a price list line through the line check, exactly as a
// typed line; a row that fails is named with its number and reason and is not
// taken; nothing of the list is changed but what the rows say.

// Which column (from 1; 0 for none) holds the code, description, wholesale
// price, sale price and stock level. The code and the sale price are needed.
struct ImportColumns {
    std::array<size_t, 5> column{1, 2, 3, 4, 5};
    size_t code() const { return column[0]; }
    size_t description() const { return column[1]; }
    size_t wholesale() const { return column[2]; }
    size_t sale() const { return column[3]; }
    size_t stock() const { return column[4]; }
};

// "1,2,3,4,5" as the option keeps it; nothing (with `fault` said) for a text
// that is no such map.
std::optional<ImportColumns> ParseImportColumns(std::string_view text, std::string& fault);
std::string ImportColumnsText(const ImportColumns& columns);

struct RefusedRow {
    size_t row = 0;
    std::string reason;
};

struct PriceImport {
    // The editor's lines with the import applied: existing lines in their
    // places (updated where chosen), new ones at the end.
    std::vector<std::string> lines;
    std::vector<RefusedRow> refused;
    size_t added = 0;
    size_t updated = 0;
    size_t kept = 0;
    bool headingSkipped = false;
};

// `current`: the editor's lines. With `updatePrices` an existing code gets
// the row's wholesale and sale price; without, it stays as it is.
PriceImport ImportPriceRows(const CsvTable& table, const ImportColumns& columns,
                            const std::vector<std::string>& current, bool updatePrices);

// What the import did, for the operator: the counts, then each refused row.
std::string PriceImportReport(const PriceImport& import);

class Options;
// The option that keeps the column map.
inline constexpr const char* ImportColumnsKey = "import-columns";
// Remembers the map in `options` and writes Options.dat anew. Throws IoError.
void SaveImportColumns(const std::string& dataDir, Options& options, const ImportColumns& columns);
