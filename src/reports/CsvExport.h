#pragma once

#include "reports/ShopRecords.h"

#include <array>
#include <functional>
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

// The seven files: sales-lines, sales, expenses, days, sales-persons,
// balance and stock.
std::vector<std::string> CsvFileNames();
inline constexpr size_t CsvFileCount = 7;

// Writes each record as a row of its file as it is read, keeping no record.
// A file's text goes to `out` a piece at a time, with the file's index in
// CsvFileNames(); the header rows go first, at flush() the rest.
class CsvTables : public RecordsVisitor {
  public:
    using Output = std::function<void(size_t file, std::string_view text)>;
    explicit CsvTables(Output out);
    // Hands on what is held back.
    void flush();
    // What could not be read, as ShopRecords::problems.
    const std::vector<std::string>& problems() const { return m_problems; }

    void file(const std::string& name) override;
    void problem(const std::string& text) override { m_problems.push_back(text); }
    void takingsLine(const TakingsLineRow& row) override;
    void takingsTotal(const TakingsTotalRow& row) override;
    void dayByDay(const DayByDayRow& row) override;
    void salesPerson(const SalesPersonRow& row) override;
    void balance(const BalanceRow& row) override;
    void stock(const StockRow& row) override;

  private:
    class Row;
    Row row(size_t file, const SourceRef& source);
    const std::string& isoDate(DayNumber day);

    Output m_out;
    std::array<std::string, CsvFileCount> m_text;
    std::vector<std::string> m_files; // as CSV fields
    std::vector<std::string> m_problems;
    DayNumber m_day = -1;
    std::string m_dayText;
};
