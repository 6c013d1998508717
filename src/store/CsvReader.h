#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A spreadsheet's CSV file: fields separated by "," or, as spreadsheets in
// many countries write them, by ";" (whichever the first row holds more of
// outside quotes); quoted fields with separators, doubled quotes and line
// breaks inside; CR LF or LF line ends; UTF-8 with or without a byte-order
// mark, or Windows-1252. Fields come back in Windows-1252, the data files'
// code page. Debian 12 packages two CSV parsers: fast-cpp-csv-parser
// (libfccp-dev) fixes the number of columns at compile time and libcsv
// (libcsv-dev) is C with callbacks; neither chooses the separator or reads
// Windows-1252, so the reading is done here.
struct CsvTable {
    std::vector<std::vector<std::string>> rows; // from row 1; empty lines left out
    std::vector<size_t> rowNumbers;             // each row's number in the file
    char separator = ',';
};

struct CsvFault {
    size_t row = 0;
    size_t column = 0;
    std::string what;
    // "row 3, column 2: a quoted field is not closed"
    std::string text() const;
};

std::optional<CsvTable> ReadCsv(std::string_view bytes, CsvFault& fault);
