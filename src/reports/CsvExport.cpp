#include "reports/CsvExport.h"

#include "store/Windows1252.h"

namespace {

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

// Builds one file row by row.
class Table {
  public:
    explicit Table(const ShopRecords& records, const std::vector<std::string>& header)
        : m_records(records) {
        m_text = CsvRow(header);
    }
    Table& source(const SourceRef& ref) {
        text(m_records.files[ref.file]);
        return number(std::to_string(ref.line));
    }
    // A text of the data files, in their code page.
    Table& text(std::string_view value) {
        separate();
        AppendCsvField(m_text, Utf8FromCp1252(value));
        return *this;
    }
    Table& number(const std::string& value) {
        separate();
        m_text += value;
        return *this;
    }
    Table& cents(long long value) { return number(CentsText(value)); }
    void end() {
        m_text += "\r\n";
        m_first = true;
    }
    std::string take() { return std::move(m_text); }

  private:
    void separate() {
        if (!m_first) m_text += ',';
        m_first = false;
    }
    const ShopRecords& m_records;
    std::string m_text;
    bool m_first = true;
};

std::string salesLines(const ShopRecords& r) {
    Table t(r, {"file", "line", "date", "kind", "sales_person", "code", "quantity", "wholesale",
                "list_price", "unit_price", "amount", "paid"});
    for (const TakingsLineRow& row : r.lines) {
        if (row.kind == TakingsLineRow::Kind::Expense) continue;
        t.source(row.source).number(IsoDateText(row.day)).number(lineKind(row.kind));
        t.text(std::string(1, row.person)).text(row.code).cents(row.quantity);
        t.cents(row.wholesale).cents(row.listPrice).cents(row.unitPrice).cents(row.amount);
        t.number(row.paid ? "yes" : "no").end();
    }
    return t.take();
}

std::string sales(const ShopRecords& r) {
    Table t(r, {"file", "line", "date", "time", "kind", "lines", "cash", "cheque", "credit", "tax",
                "total", "received", "change"});
    for (const TakingsTotalRow& row : r.totals) {
        t.source(row.source).number(IsoDateText(row.day)).text(row.clock);
        t.number(totalKind(row.kind)).number(std::to_string(row.lines));
        t.cents(row.cash).cents(row.cheque).cents(row.credit).cents(row.tax).cents(row.total);
        t.cents(row.received).cents(row.change).end();
    }
    return t.take();
}

std::string expenses(const ShopRecords& r) {
    Table t(r, {"file", "line", "date", "code", "amount", "paid"});
    for (const TakingsLineRow& row : r.lines) {
        if (row.kind != TakingsLineRow::Kind::Expense) continue;
        // Stored negative, as money going out of the drawer.
        t.source(row.source).number(IsoDateText(row.day)).text(row.code).cents(-row.amount);
        t.number(row.paid ? "yes" : "no").end();
    }
    return t.take();
}

std::string days(const ShopRecords& r) {
    Table t(r, {"file", "line", "date", "kind", "date_text", "quantity", "wholesale", "list_value",
                "sales_value", "cash", "cheque", "credit", "services", "tax", "takings", "expenses",
                "net"});
    for (const DayByDayRow& row : r.days) {
        t.source(row.source).number(IsoDateText(row.day));
        t.number(row.marker == '*' ? "start" : row.marker == '#' ? "quantities" : "amounts");
        t.text(row.dateText);
        for (long long v : row.quantities)
            row.marker == '#' ? t.cents(v) : t.number("");
        for (long long v : row.amounts)
            row.marker == '&' ? t.cents(v) : t.number("");
        t.end();
    }
    return t.take();
}

std::string salesPersons(const ShopRecords& r) {
    Table t(r, {"file", "line", "code", "name", "services_quantity", "services_total",
                "sales_quantity", "sales_total"});
    for (const SalesPersonRow& row : r.persons) {
        t.source(row.source).text(std::string(1, row.code)).text(row.name);
        for (long long v : row.figures)
            t.cents(v);
        t.end();
    }
    return t.take();
}

std::string balance(const ShopRecords& r) {
    Table t(r, {"file", "line", "row", "period", "value"});
    for (const BalanceRow& row : r.balance)
        t.source(row.source).text(row.label).text(row.period).cents(row.value).end();
    return t.take();
}

std::string stock(const ShopRecords& r) {
    Table t(r, {"file", "line", "kind", "code", "stock_level", "sold", "on_stock", "total_sold",
                "value"});
    for (const StockRow& row : r.stock) {
        t.source(row.source);
        t.number(row.marker == '$' ? "expense" : row.marker == '!' ? "service" : "article");
        t.text(row.code).number(std::to_string(row.minMax));
        t.cents(row.sold).cents(row.onStock).cents(row.totalSold).cents(row.value).end();
    }
    return t.take();
}

} // namespace

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

std::vector<CsvFile> MakeCsvFiles(const ShopRecords& records) {
    const std::vector<std::string> names = CsvFileNames();
    return {{names[0], salesLines(records)},   {names[1], sales(records)},
            {names[2], expenses(records)},     {names[3], days(records)},
            {names[4], salesPersons(records)}, {names[5], balance(records)},
            {names[6], stock(records)}};
}
