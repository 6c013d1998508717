#pragma once

#include <string>
#include <string_view>

class DataFiles;
class StockLedger;
class TextReader;

// Reads the takings file Results.dat back, line by line, keyed on column 1:
// the inverse of the records that TakingsRecord writes. A line is taken whole
// or not at all, so a line cut short by a crash, damaged by stray bytes or
// carrying an unknown marker never lends its numbers to another record.

// One record of the takings file.
struct TakingsEntry {
    enum class Kind { Start, Line, Total };
    Kind kind = Kind::Line;
    // Column 1: "*" start, "#" total, "$" expense line, a sales person's code
    // ("A".."Z"), the same 32 higher for a service ("a".."z"; "@" for a blank).
    char marker = ' ';
    // Line record: columns 3-15.
    std::string_view code;
    double quantity = 0;
    double wholesale = 0;
    double listPrice = 0;
    double unitPrice = 0;
    double amount = 0;
    // Total record.
    double cash = 0;
    double cheque = 0;
    double credit = 0;
    double tax = 0;
    double total = 0;
    double received = 0;
    double change = 0;
    // Total record: its clock, columns 11-15.
    std::string_view clock;
    // Start record: what follows its 13-character field, at most 29 characters.
    std::string_view startText;
};

// Whether column 1 starts a record of the takings file.
bool IsTakingsMarker(char marker);

// False when the line is not a complete record. The views in `entry` point
// into `line`.
bool ParseTakingsLine(std::string_view line, TakingsEntry& entry);

// Walks an open takings file record by record, passing over empty lines and
// counting the lines that cannot be read.
class TakingsReader {
  public:
    explicit TakingsReader(TextReader& file) : m_file(file) {}
    // The next readable record; false at the end of the file. The entry's
    // views stay valid until the next call.
    bool next(TakingsEntry& entry);

    // The line number (from 1) of the record last handed out.
    size_t lineNumber() const { return m_lineNumber; }
    size_t faultyLines() const { return m_faulty; }
    // Line number (from 1) and text of the first faulty line.
    size_t firstFaultyLine() const { return m_firstFaultyLine; }
    const std::string& firstFaultyText() const { return m_firstFaultyText; }

  private:
    TextReader& m_file;
    size_t m_lineNumber = 0;
    size_t m_faulty = 0;
    size_t m_firstFaultyLine = 0;
    std::string m_firstFaultyText;
};

// The ledger starts again from the sales in the day's takings file, taken as
// the consolidation takes them from the stock: every line but expense lines.
// A file that is not there holds none.
void RestartStockLedger(StockLedger& ledger, const DataFiles& files);
