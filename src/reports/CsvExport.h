#pragma once

#include "reports/ShopRecords.h"

#include <string>
#include <string_view>
#include <vector>

// The records as CSV files for spreadsheets: comma separated, fields quoted
// where they must be (a comma, a quote, CR or LF; quotes doubled), CR LF line
// ends, UTF-8 with a header row, "." decimals, ISO dates, and each row with
// the file and line it comes from.

void AppendCsvField(std::string& out, std::string_view field);
// The fields as one row, with its line end.
std::string CsvRow(const std::vector<std::string>& fields);

struct CsvFile {
    std::string name; // "sales.csv"
    std::string content;
};

// The seven files: sales-lines, sales, expenses, days, sales-persons,
// balance and stock.
std::vector<CsvFile> MakeCsvFiles(const ShopRecords& records);

// The names MakeCsvFiles uses, for the check before anything is written.
std::vector<std::string> CsvFileNames();
