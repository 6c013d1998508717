#include "reports/CsvExport.h"

#include "store/Windows1252.h"

#include <charconv>

namespace {

enum File : size_t { SalesLines, Sales, Expenses, Days, SalesPersons, Balance, Stock };

// A file's text goes on once it holds this much.
constexpr size_t PieceSize = 1 << 16;

const char* lineKind(TakingsLineRow::Kind kind) {
    switch (kind) {
    case TakingsLineRow::Kind::Article:
        return "article";
    case TakingsLineRow::Kind::Service:
        return "service";
    case TakingsLineRow::Kind::Return:
        return "return";
    case TakingsLineRow::Kind::Expense:
        return "expense";
    }
    return "";
}

const char* totalKind(TakingsTotalRow::Kind kind) {
    switch (kind) {
    case TakingsTotalRow::Kind::Sale:
        return "sale";
    case TakingsTotalRow::Kind::Refund:
        return "refund";
    case TakingsTotalRow::Kind::Expense:
        return "expense";
    }
    return "";
}

// Whether the bytes go into a field as they are: plain ASCII that needs no
// quotes.
bool plain(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80 || c == ',' || c == '"' || c == '\r' || c == '\n')
            return false;
    return true;
}

} // namespace

// One row of a file, field by field.
class CsvTables::Row {
  public:
    // The row starts with its source's file and line.
    Row(std::string& text, std::string_view file, size_t line) : m_text(text) {
        word(file).integer(static_cast<long long>(line));
    }
    Row(const Row&) = delete;
    ~Row() { m_text += "\r\n"; }
    // A text of the data files, in their code page.
    Row& text(std::string_view value) {
        separate();
        if (plain(value))
            m_text += value;
        else
            AppendCsvField(m_text, Utf8FromCp1252(value));
        return *this;
    }
    Row& word(std::string_view value) {
        separate();
        m_text += value;
        return *this;
    }
    Row& integer(long long value) {
        separate();
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_text.append(digits, end);
        return *this;
    }
    // Hundredths as "-12.30".
    Row& cents(long long value) {
        separate();
        unsigned long long magnitude =
            value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
        char digits[32];
        char* const end = digits + sizeof digits;
        char* p = end;
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        *--p = '.';
        do {
            *--p = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) *--p = '-';
        m_text.append(p, end);
        return *this;
    }

  private:
    void separate() {
        if (!m_first) m_text += ',';
        m_first = false;
    }
    std::string& m_text;
    bool m_first = true;
};

CsvTables::CsvTables(Output out) : m_out(std::move(out)) {
    m_text[SalesLines] = CsvRow({"file", "line", "date", "kind", "sales_person", "code", "quantity",
                                 "wholesale", "list_price", "unit_price", "amount", "paid"});
    m_text[Sales] = CsvRow({"file", "line", "date", "time", "kind", "lines", "cash", "cheque",
                            "credit", "tax", "total", "received", "change"});
    m_text[Expenses] = CsvRow({"file", "line", "date", "code", "amount", "paid"});
    m_text[Days] = CsvRow({"file", "line", "date", "kind", "date_text", "quantity", "wholesale",
                           "list_value", "sales_value", "cash", "cheque", "credit", "services",
                           "tax", "takings", "expenses", "net"});
    m_text[SalesPersons] = CsvRow({"file", "line", "date_text", "code", "name", "services_quantity",
                                   "services_total", "sales_quantity", "sales_total"});
    m_text[Balance] = CsvRow({"file", "line", "row", "period", "value"});
    m_text[Stock] = CsvRow(
        {"file", "line", "kind", "code", "stock_level", "sold", "on_stock", "total_sold", "value"});
}

void CsvTables::flush() {
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (!m_text[i].empty()) m_out(i, m_text[i]);
        m_text[i].clear();
    }
}

void CsvTables::file(const std::string& name) {
    std::string field;
    AppendCsvField(field, Utf8FromCp1252(name));
    m_files.push_back(std::move(field));
}

CsvTables::Row CsvTables::row(size_t file, const SourceRef& source) {
    std::string& text = m_text[file];
    if (text.size() >= PieceSize) {
        m_out(file, text);
        text.clear();
    }
    return Row(text, m_files[source.file], source.line);
}

const std::string& CsvTables::isoDate(DayNumber day) {
    if (day != m_day) {
        m_day = day;
        m_dayText = IsoDateText(day);
    }
    return m_dayText;
}

void CsvTables::takingsLine(const TakingsLineRow& r) {
    const char* paid = r.paid ? "yes" : "no";
    if (r.kind == TakingsLineRow::Kind::Expense) {
        // Stored negative, as money going out of the drawer.
        row(Expenses, r.source).word(isoDate(r.day)).text(r.code).cents(-r.amount).word(paid);
        return;
    }
    Row row = this->row(SalesLines, r.source);
    row.word(isoDate(r.day)).word(lineKind(r.kind)).text(std::string_view(&r.person, 1));
    row.text(r.code).cents(r.quantity).cents(r.wholesale).cents(r.listPrice);
    row.cents(r.unitPrice).cents(r.amount).word(paid);
}

void CsvTables::takingsTotal(const TakingsTotalRow& r) {
    Row row = this->row(Sales, r.source);
    row.word(isoDate(r.day)).text(r.clock).word(totalKind(r.kind));
    row.integer(static_cast<long long>(r.lines)).cents(r.cash).cents(r.cheque).cents(r.credit);
    row.cents(r.tax).cents(r.total).cents(r.received).cents(r.change);
}

void CsvTables::dayByDay(const DayByDayRow& r) {
    Row row = this->row(Days, r.source);
    row.word(isoDate(r.day));
    const bool sum = r.periodSum;
    row.word(r.marker == '*'   ? "start"
             : r.marker == '=' ? "period"
             : r.marker == '#' ? (sum ? "period_quantities" : "quantities")
                               : (sum ? "period_amounts" : "amounts"));
    row.text(r.dateText);
    for (long long v : r.quantities)
        r.marker == '#' ? row.cents(v) : row.word("");
    for (long long v : r.amounts)
        r.marker == '&' ? row.cents(v) : row.word("");
}

void CsvTables::salesPerson(const SalesPersonRow& r) {
    Row row = this->row(SalesPersons, r.source);
    row.text(r.dateText).text(std::string_view(&r.code, 1)).text(r.name);
    for (long long v : r.figures)
        row.cents(v);
}

void CsvTables::balance(const BalanceRow& r) {
    row(Balance, r.source).text(r.label).text(r.period).cents(r.value);
}

void CsvTables::stock(const StockRow& r) {
    Row row = this->row(Stock, r.source);
    row.word(r.marker == '$'   ? "expense"
             : r.marker == '!' ? "service"
             : r.marker == '=' ? "total"
                               : "article");
    if (r.marker == '=') {
        row.word("").word("").word("").word("").word("").cents(r.value);
        return;
    }
    row.text(r.code).integer(r.minMax);
    row.cents(r.sold).cents(r.onStock).cents(r.totalSold).cents(r.value);
}

void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string CsvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) row += ',';
        AppendCsvField(row, fields[i]);
    }
    return row + "\r\n";
}

std::vector<std::string> CsvFileNames() {
    return {"sales-lines.csv",   "sales.csv",   "expenses.csv", "days.csv",
            "sales-persons.csv", "balance.csv", "stock.csv"};
}
