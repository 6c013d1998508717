#pragma once

#include "fast/CodeTable.h"

#include <string>
#include <string_view>
#include <vector>

class TextReader;

// The lines of Inventory.dat and of its journal Inventory.new. Every writer of
// these lines goes through here, so the columns are laid down in one place.
//
// Inventory.dat has one line per price list line, in the same order: marker,
// 13-character code, a blank, then minmax, sold, on stock, total sold and
// value, each right-aligned after a blank. Readers take the numbers as blank
// separated, so lines with either width of minmax read alike.
struct InventoryLine {
    char ArticleMarker = ' '; // blank article, "$" expense code, "!" service
    std::string ArticleCode;  // 13 characters
    long InvMinMax = 0;
    double InvSold = 0;
    double InvOnStock = 0;
    double InvTotalSold = 0;
    double InvValue = 0;
};

// The width of minmax: the manual update and the price list save write 10
// (81-character lines), the consolidation, period end and stocktake write 5
// (76-character lines).
constexpr int MinMaxWidthUpdate = 10;
constexpr int MinMaxWidthConsolidation = 5;

// Whether `text` is exactly the line AppendInventoryLine writes for the line
// ParseInventoryLine reads from it: such a line whose figures do not change
// can be copied as it is.
bool InventoryLineWrittenAsRead(std::string_view text, int minMaxWidth);

// The line without its line end.
std::string FormatInventoryLine(const InventoryLine& line, int minMaxWidth);
// The same added to the end of `out`.
void AppendInventoryLine(std::string& out, const InventoryLine& line, int minMaxWidth);
// False when the line cannot be read (too short, a number missing or faulty,
// or a figure too large for any shop: the start and the apply agree on it).
bool ParseInventoryLine(std::string_view text, InventoryLine& line);
// The stock on hand alone: marker, code, one character, then the third
// number. The price list loader takes no more than that from a line.
bool ParseInventoryStock(std::string_view text, double& onStock);
// The line the price list save adds for a code that has none yet: nothing
// sold or on stock, the wholesale price as value, minmax in width 10.
std::string NewInventoryLine(char marker, const std::string& code, long stockLevel,
                             double wholesalePrice);

// The lines of an open inventory file, one at a time and whole, however long.
// A line that cannot be read is still handed out, so a writer can copy it
// unchanged and the file stays line-parallel with the price list.
class InventoryReader {
  public:
    explicit InventoryReader(TextReader& file) : m_file(file) {}
    // False at the end of the file; throws IoError when the file cannot be
    // read on.
    bool next();
    const std::string& text() const { return m_text; }
    bool readable() const { return m_readable; }
    const InventoryLine& line() const { return m_line; }
    InventoryLine& line() { return m_line; }
    size_t lineNumber() const { return m_number; }

  private:
    TextReader& m_file;
    std::string m_text;
    InventoryLine m_line;
    bool m_readable = false;
    size_t m_number = 0;
};

// The number of lines of an open inventory file; throws IoError when it
// cannot be read to its end.
long CountInventoryLines(TextReader& file);

// A line of the journal Inventory.new: a blank, the code, a blank and the
// signed quantity with 1 decimal in 10 (25 characters).
struct InventoryChange {
    std::string code; // 13 characters
    double quantity = 0;
};
std::string FormatInventoryChange(const InventoryChange& change);
bool ParseInventoryChange(std::string_view text, InventoryChange& change);

// The journal summed per code, in journal order, so that adding each sum once
// gives the very doubles that adding the lines one by one from 0 gives.
// Lines that cannot be read (empty ones aside) are skipped and their numbers
// kept in `unreadable`.
CodeTable<double> SumInventoryChanges(TextReader& journal, std::vector<size_t>& unreadable);

// The value field, the last of a line, taken apart: `head` is the line before
// it (without the blank that separates it), `value` its number (not read when
// null). False when the line has no value after its code, or an unreadable one. The period end
// starts the value again by writing a new field after `head`, leaving the other fields as the
// consolidation wrote them.
bool SplitInventoryValue(std::string_view text, std::string_view& head, double* value);
