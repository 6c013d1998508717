#include "reports/HtmlReport.h"

#include "store/Windows1252.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string number(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", x);
    return text;
}

struct Scale {
    long long low = 0;
    long long high = 0;
    explicit Scale(const std::vector<ChartBar>& bars) {
        for (const ChartBar& bar : bars) {
            low = std::min(low, bar.value);
            high = std::max(high, bar.value);
        }
        if (high == low) high = low + 1;
    }
    // Where `value` falls on a length of `size`.
    double at(long long value, double size) const {
        return static_cast<double>(value - low) * size / static_cast<double>(high - low);
    }
};

bool noData(const std::vector<ChartBar>& bars) {
    return std::all_of(bars.begin(), bars.end(), [](const ChartBar& b) { return b.value == 0; });
}

std::string emptyChart(const std::string& title) {
    return "<h2>" + HtmlText(title) + "</h2>\n<p class=\"empty\">" + NoSalesText + "</p>\n";
}

// Upright bars over a row of labels, for days, months and hours.
std::string columns(const std::string& title, const std::vector<ChartBar>& bars) {
    if (noData(bars)) return emptyChart(title);
    constexpr double Width = 640, Height = 220, Top = 10, Bottom = 30, Left = 60;
    const Scale scale(bars);
    const double plot = Height - Top - Bottom;
    const double step = (Width - Left) / static_cast<double>(bars.size());
    const double zero = Top + plot - scale.at(0, plot);
    std::string svg = "<h2>" + HtmlText(title) +
                      "</h2>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                      "viewBox=\"0 0 640 220\" role=\"img\" aria-label=\"" +
                      HtmlText(title) + "\">\n";
    svg += "<text x=\"" + number(Left - 4) + "\" y=\"" + number(Top + 8) +
           "\" text-anchor=\"end\">" + CentsText(scale.high) + "</text>\n";
    svg += "<line x1=\"" + number(Left) + "\" y1=\"" + number(zero) + "\" x2=\"" + number(Width) +
           "\" y2=\"" + number(zero) + "\" class=\"axis\"/>\n";
    // About a dozen labels along the bottom, however many bars.
    const size_t every = std::max<size_t>(1, (bars.size() + 11) / 12);
    for (size_t i = 0; i < bars.size(); ++i) {
        const double y = Top + plot - scale.at(bars[i].value, plot);
        const double x = Left + step * static_cast<double>(i);
        svg += "<rect x=\"" + number(x + step * 0.1) + "\" y=\"" + number(std::min(y, zero)) +
               "\" width=\"" + number(std::max(step * 0.8, 0.5)) + "\" height=\"" +
               number(std::max(std::abs(zero - y), 0.0)) + "\"><title>" + HtmlText(bars[i].label) +
               ": " + CentsText(bars[i].value) + "</title></rect>\n";
        if (i % every == 0)
            svg += "<text x=\"" + number(x + step / 2) + "\" y=\"" + number(Height - 10) +
                   "\" text-anchor=\"middle\">" + HtmlText(bars[i].label) + "</text>\n";
    }
    return svg + "</svg>\n";
}

// Bars lying down, one a row with its label and value, for persons and
// articles.
std::string rows(const std::string& title, const std::vector<ChartBar>& bars) {
    if (noData(bars)) return emptyChart(title);
    constexpr double Width = 640, Row = 20, Label = 150, ValueWidth = 90;
    const Scale scale(bars);
    const double plot = Width - Label - ValueWidth;
    const double height = Row * static_cast<double>(bars.size()) + 4;
    std::string svg = "<h2>" + HtmlText(title) +
                      "</h2>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                      "viewBox=\"0 0 640 " +
                      number(height) + "\" role=\"img\" aria-label=\"" + HtmlText(title) + "\">\n";
    const double zero = Label + scale.at(0, plot);
    for (size_t i = 0; i < bars.size(); ++i) {
        const double y = Row * static_cast<double>(i) + 2;
        const double end = Label + scale.at(bars[i].value, plot);
        svg += "<text x=\"" + number(Label - 6) + "\" y=\"" + number(y + 14) +
               "\" text-anchor=\"end\">" + HtmlText(bars[i].label) + "</text>\n";
        svg += "<rect x=\"" + number(std::min(zero, end)) + "\" y=\"" + number(y + 2) +
               "\" width=\"" + number(std::abs(end - zero)) + "\" height=\"" + number(Row - 4) +
               "\"/>\n";
        svg += "<text x=\"" + number(Width - 2) + "\" y=\"" + number(y + 14) +
               "\" text-anchor=\"end\">" + CentsText(bars[i].value) + "</text>\n";
    }
    return svg + "</svg>\n";
}

std::string table(const std::string& title, const std::string& first, const std::string& second,
                  const std::vector<ChartBar>& bars) {
    if (bars.empty()) return {};
    std::string html = "<h2>" + HtmlText(title) + "</h2>\n<table>\n<tr><th>" + HtmlText(first) +
                       "</th><th class=\"n\">" + HtmlText(second) + "</th></tr>\n";
    for (const ChartBar& bar : bars)
        html += "<tr><td>" + HtmlText(bar.label) + "</td><td class=\"n\">" + CentsText(bar.value) +
                "</td></tr>\n";
    return html + "</table>\n";
}

std::string totalsTable(const PeriodTotals& t) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Sales", std::to_string(t.sales)}, {"Refunds", std::to_string(t.refunds)},
        {"Takings", CentsText(t.takings)},  {"Cash", CentsText(t.cash)},
        {"Cheque", CentsText(t.cheque)},    {"Credit", CentsText(t.credit)},
        {"Tax", CentsText(t.tax)},          {"Expenses", CentsText(t.expenseTotal)},
        {"Net", CentsText(t.net())},
    };
    std::string html = "<table class=\"totals\">\n";
    for (const auto& [label, value] : rows)
        html += "<tr><th>" + label + "</th><td class=\"n\">" + value + "</td></tr>\n";
    return html + "</table>\n";
}

// A table of rows of cells; numbers right-aligned.
class Grid {
  public:
    Grid(const std::string& title, const std::vector<std::string>& heads, size_t texts)
        : m_texts(texts) {
        m_html = "<h2>" + HtmlText(title) + "</h2>\n<table>\n<tr>";
        for (size_t i = 0; i < heads.size(); ++i)
            m_html += (i < texts ? "<th>" : "<th class=\"n\">") + HtmlText(heads[i]) + "</th>";
        m_html += "</tr>\n";
    }
    void row(const std::vector<std::string>& cells) {
        m_html += "<tr>";
        for (size_t i = 0; i < cells.size(); ++i)
            m_html += (i < m_texts ? "<td>" : "<td class=\"n\">") + HtmlText(cells[i]) + "</td>";
        m_html += "</tr>\n";
        ++m_rows;
    }
    std::string html() const { return m_rows == 0 ? std::string() : m_html + "</table>\n"; }

  private:
    std::string m_html;
    size_t m_texts;
    size_t m_rows = 0;
};

std::string recordTables(const ShopRecords& r) {
    Grid days("Day by day",
              {"Date", "Cash", "Cheque", "Credit", "Tax", "Takings", "Expenses", "Net"}, 1);
    // A day's "#" line and its "&" line make one row.
    std::vector<std::string> day;
    for (const DayByDayRow& row : r.days) {
        if (row.archived) continue;
        if (row.marker == '#') {
            day = {row.dateText, CentsText(row.quantities[4]), CentsText(row.quantities[5]),
                   CentsText(row.quantities[6])};
        } else if (row.marker == '&' && day.size() == 4) {
            for (size_t i = 1; i < row.amounts.size(); ++i)
                day.push_back(CentsText(row.amounts[i]));
            days.row(day);
            day.clear();
        }
    }
    Grid persons("Sales persons since the period began",
                 {"Code", "Name", "Services qty", "Services", "Sales qty", "Sales"}, 2);
    for (const SalesPersonRow& row : r.persons)
        if (!row.archived)
            persons.row({std::string(1, row.code), row.name, CentsText(row.figures[0]),
                         CentsText(row.figures[1]), CentsText(row.figures[2]),
                         CentsText(row.figures[3])});
    Grid balance("Balance sheet", {"Row", "Period", "Value"}, 2);
    for (const BalanceRow& row : r.balance)
        balance.row({row.label, row.period, CentsText(row.value)});
    Grid stock("Stock", {"Code", "Sold", "On stock", "Total sold", "Value"}, 1);
    for (const StockRow& row : r.stock)
        if (!row.archived)
            stock.row({row.code, CentsText(row.sold), CentsText(row.onStock),
                       CentsText(row.totalSold), CentsText(row.value)});
    return days.html() + persons.html() + balance.html() + stock.html();
}

std::vector<ChartBar> hours(const ReportFigures& f) {
    std::vector<ChartBar> bars;
    for (size_t h = 0; h < f.perHour.size(); ++h)
        bars.push_back({std::to_string(h), f.perHour[h]});
    return bars;
}

constexpr const char* Style =
    "body{font-family:sans-serif;margin:0 auto;max-width:48em;padding:0.5em;color:#222}\n"
    "h1{font-size:1.4em}h2{font-size:1.1em;margin-top:1.5em;page-break-after:avoid}\n"
    "svg{width:100%;height:auto;font-size:11px;page-break-inside:avoid}\n"
    "rect{fill:#3a6ea5}.axis{stroke:#888}\n"
    "table{border-collapse:collapse;width:100%}td,th{padding:0.2em 0.4em;"
    "border-bottom:1px solid #ddd;text-align:left}.n{text-align:right}\n"
    ".empty{color:#888;font-style:italic}\n"
    "@page{size:A4;margin:15mm}@media print{body{max-width:none}}\n";

} // namespace

std::string HtmlText(std::string_view cp1252) {
    std::string text;
    for (char c : Utf8FromCp1252(cp1252)) {
        switch (c) {
        case '&':
            text += "&amp;";
            break;
        case '<':
            text += "&lt;";
            break;
        case '>':
            text += "&gt;";
            break;
        case '"':
            text += "&quot;";
            break;
        case '\'':
            text += "&#39;";
            break;
        default:
            // XML holds no control characters but tab and line ends.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')
                text += ' ';
            else
                text += c;
        }
    }
    return text;
}

std::string MakeHtmlReport(const ShopRecords& records, const ReportFigures& f,
                           const std::string& title) {
    std::string html = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
                       "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
                       "<meta charset=\"UTF-8\"/>\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
                       "<title>" +
                       HtmlText(title) + "</title>\n<style>\n" + Style +
                       "</style>\n</head>\n<body>\n<h1>" + HtmlText(title) + "</h1>\n";
    if (f.firstDay != 0)
        html += "<p>From " + IsoDateText(f.firstDay) + " to " + IsoDateText(f.lastDay) + "</p>\n";
    html += totalsTable(f.totals);
    html += columns("Takings per day", f.perDay);
    html += columns("Takings of the last 12 months", f.perMonth);
    html += columns("Takings by hour of the day", hours(f));
    html += rows("Takings by sales person", f.perPerson);
    html += rows("Best-selling articles by amount", f.topByAmount);
    html += rows("Best-selling articles by quantity", f.topByQuantity);
    html += table("Days", "Date", "Takings", f.perDay);
    html += table("Sales persons", "Sales person", "Amount", f.perPerson);
    html += table("Articles by amount", "Code", "Amount", f.topByAmount);
    html += recordTables(records);
    return html + "</body>\n</html>\n";
}
