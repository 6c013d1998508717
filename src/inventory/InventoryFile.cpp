#include "inventory/InventoryFile.h"

#include "fast/ColumnNumbers.h"
#include "store/IoError.h"
#include "store/LineFields.h"
#include "store/NumberText.h"
#include "store/TextReader.h"

#include <cmath>

namespace {

constexpr size_t CodeLength = 13;

// Marker and code take the first 14 columns; a line that ends before them
// carries no article.
bool readHead(LineFields& fields, std::string_view text, char& marker, std::string& code) {
    if (text.size() <= CodeLength) return false;
    marker = fields.readChar();
    code = std::string(fields.readText(CodeLength));
    return true;
}

} // namespace

std::string FormatInventoryLine(const InventoryLine& line, int minMaxWidth) {
    std::string text;
    text.reserve(1 + CodeLength + 1 + minMaxWidth + 1 + 10 + 1 + 12 + 1 + 15 + 1 + 15);
    AppendInventoryLine(text, line, minMaxWidth);
    return text;
}

void AppendInventoryLine(std::string& out, const InventoryLine& line, int minMaxWidth) {
    out += line.ArticleMarker;
    out += line.ArticleCode;
    out += ' ';
    AppendInteger(out, line.InvMinMax, minMaxWidth);
    out += ' ';
    AppendFixed(out, line.InvSold, 10, 1);
    out += ' ';
    AppendFixed(out, line.InvOnStock, 12, 1);
    out += ' ';
    AppendFixed(out, line.InvTotalSold, 15, 1);
    out += ' ';
    AppendFixed(out, line.InvValue, 15, 2);
}

bool InventoryLineWrittenAsRead(std::string_view text, int minMaxWidth) {
    // Marker and code are copied as read unless a line break cuts the code.
    if (text.size() <= CodeLength + 1 ||
        text.substr(0, CodeLength + 1).find_first_of("\r\n") != std::string_view::npos)
        return false;
    size_t pos = CodeLength + 1;
    // A blank, then the number right-aligned in its width, or wider.
    auto field = [&](size_t width, int decimals) {
        if (pos >= text.size() || text[pos] != ' ') return false;
        const size_t padding = ++pos;
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        const size_t start = pos;
        while (pos < text.size() && text[pos] != ' ')
            ++pos;
        const size_t length = pos - start;
        return length > 0 && start - padding == (length < width ? width - length : 0) &&
               WritesBackUnchanged(text.substr(start, length), decimals);
    };
    return field(static_cast<size_t>(minMaxWidth), -1) && field(10, 1) && field(12, 1) &&
           field(15, 1) && field(15, 2) && pos == text.size();
}

// A line as the program writes it, in either width of its minimum stock,
// read by column.
bool readWritten(std::string_view text, InventoryLine& line) {
    const size_t head = CodeLength + 1;
    size_t minMaxEnd;
    if (text.size() == head + 1 + MinMaxWidthConsolidation + 56)
        minMaxEnd = head + 1 + MinMaxWidthConsolidation;
    else if (text.size() == head + 1 + MinMaxWidthUpdate + 56)
        minMaxEnd = head + 1 + MinMaxWidthUpdate;
    else
        return false;
    for (size_t i = 1; i < head; ++i)
        if (text[i] == '\r' || text[i] == '\n') return false;
    if (!ColumnNumbers::readInteger(text.data() + head, text.data() + minMaxEnd, line.InvMinMax) ||
        !ReadColumnDecimals(text, minMaxEnd,
                            {minMaxEnd + 11, minMaxEnd + 24, minMaxEnd + 40, minMaxEnd + 56},
                            {&line.InvSold, &line.InvOnStock, &line.InvTotalSold, &line.InvValue}))
        return false;
    line.ArticleMarker = text[0];
    line.ArticleCode.assign(text.data() + 1, CodeLength);
    return true;
}

namespace {

// A figure this large is no shop's: its line is faulty for the start and the
// apply alike, rather than read by one and written back a thousand
// characters wide by the other. (The price work copy's stock column is read
// back as a whole number, and a larger stock would make its article
// unfindable.)
constexpr double FigureLimit = 1e15;

bool withinLimit(std::initializer_list<double> figures) {
    for (double x : figures)
        if (!(std::fabs(x) < FigureLimit)) return false;
    return true;
}

} // namespace

bool ParseInventoryLine(std::string_view text, InventoryLine& line) {
    if (!readWritten(text, line)) {
        LineFields fields(text);
        if (!readHead(fields, text, line.ArticleMarker, line.ArticleCode)) return false;
        fields.readInteger(line.InvMinMax);
        fields.readReal(line.InvSold);
        fields.readReal(line.InvOnStock);
        fields.readReal(line.InvTotalSold);
        fields.readReal(line.InvValue);
        if (fields.failed()) return false;
    }
    return withinLimit({static_cast<double>(line.InvMinMax), line.InvSold, line.InvOnStock,
                        line.InvTotalSold, line.InvValue});
}

bool ParseInventoryStock(std::string_view text, double& onStock) {
    LineFields fields(text);
    fields.readChar();
    fields.readText(CodeLength);
    fields.readChar();
    // Minmax and sold are checked, not used.
    double minMax = 0, sold = 0;
    return fields.readReal(minMax) && fields.readReal(sold) && fields.readReal(onStock) &&
           withinLimit({minMax, sold, onStock});
}

std::string NewInventoryLine(char marker, const std::string& code, long stockLevel,
                             double wholesalePrice) {
    return FormatInventoryLine({marker, code, stockLevel, 0.0, 0.0, 0.0, wholesalePrice},
                               MinMaxWidthUpdate);
}

bool InventoryReader::next() {
    if (!m_file.readFullLine(m_text)) {
        if (m_file.ioError()) throw IoError(m_file.path(), "Read error");
        return false;
    }
    ++m_number;
    m_readable = ParseInventoryLine(m_text, m_line);
    return true;
}

long CountInventoryLines(TextReader& file) {
    long count = 0;
    std::string text;
    while (file.readFullLine(text))
        ++count;
    if (file.ioError()) throw IoError(file.path(), "Read error");
    return count;
}

std::string FormatInventoryChange(const InventoryChange& change) {
    return " " + change.code + " " + FormatFixed(change.quantity, 10, 1);
}

bool ParseInventoryChange(std::string_view text, InventoryChange& change) {
    LineFields fields(text);
    char blank;
    if (!readHead(fields, text, blank, change.code)) return false;
    fields.readReal(change.quantity);
    return !fields.failed();
}

CodeTable<double> SumInventoryChanges(TextReader& journal, std::vector<size_t>& unreadable) {
    CodeTable<double> sums;
    std::string text;
    InventoryChange change;
    for (size_t number = 1; journal.readFullLine(text); ++number) {
        if (text.empty()) continue;
        if (ParseInventoryChange(text, change))
            sums[change.code] += change.quantity;
        else
            unreadable.push_back(number);
    }
    if (journal.ioError()) throw IoError(journal.path(), "Read error");
    return sums;
}

bool SplitInventoryValue(std::string_view text, std::string_view& head, double* value) {
    size_t end = text.find_last_not_of(' ');
    if (end == std::string_view::npos || end <= CodeLength) return false;
    size_t start = text.find_last_of(' ', end);
    if (start == std::string_view::npos || start <= CodeLength) return false;
    size_t headEnd = text.find_last_not_of(' ', start);
    if (headEnd == std::string_view::npos || headEnd < CodeLength) return false;
    if (value && !LineFields(text.substr(start + 1, end - start)).readReal(*value)) return false;
    head = text.substr(0, headEnd + 1);
    return true;
}
