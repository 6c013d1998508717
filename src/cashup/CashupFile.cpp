#include "cashup/CashupFile.h"

#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/NumberParse.h"
#include "store/NumberText.h"
#include "store/Options.h"
#include "store/Padding.h"
#include "store/TextAppender.h"
#include "store/TextReader.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

namespace {

constexpr size_t LineLength = 77;
constexpr size_t AmountWidth = 12;
constexpr size_t AmountColumns[] = {26, 39, 52, 65}; // from 0

std::string amount(double x) {
    return " " + FormatFixed(x, AmountWidth, 2);
}

std::optional<double> readAmount(std::string_view line, size_t column) {
    const std::string text = BlankTrimmed(line.substr(column, AmountWidth));
    if (text.empty()) return std::nullopt;
    RealParse parsed = ParseReal(text);
    if (parsed.errorPosition != 0) return std::nullopt;
    return parsed.value;
}

bool blankAt(std::string_view line, std::initializer_list<size_t> columns) {
    for (size_t c : columns)
        if (line[c] != ' ') return false;
    return true;
}

} // namespace

std::string CashCountLine(const CashCount& c) {
    std::string line(1, c.kind);
    line += " " + PadLeft(std::to_string(c.number), 6);
    line += " " + PadRight(c.date.substr(0, 8), 8);
    line += " " + PadRight(c.time.substr(0, 5), 5);
    line += " ";
    line += c.salesPerson;
    line += amount(c.cashFloat) + amount(c.expected);
    if (c.counted)
        line += amount(*c.counted) + amount(c.difference());
    else
        line += std::string(2 * (AmountWidth + 1), ' ');
    return line;
}

bool ParseCashCount(std::string_view line, CashCount& c) {
    if (line.size() != LineLength) return false;
    if (line[0] != 'O' && line[0] != 'X' && line[0] != 'Z') return false;
    if (!blankAt(line, {1, 8, 17, 23, 25, 38, 51, 64})) return false;
    const std::string number = BlankTrimmed(line.substr(2, 6));
    std::optional<long> n = ParseInteger(number);
    if (number.empty() || !n || *n < 0) return false;
    std::optional<double> cashFloat = readAmount(line, AmountColumns[0]);
    std::optional<double> expected = readAmount(line, AmountColumns[1]);
    std::optional<double> counted = readAmount(line, AmountColumns[2]);
    std::optional<double> difference = readAmount(line, AmountColumns[3]);
    if (!cashFloat || !expected || counted.has_value() != difference.has_value()) return false;
    if (!counted && line[0] != 'Z') return false;
    c = CashCount{line[0],
                  *n,
                  BlankTrimmed(line.substr(9, 8)),
                  BlankTrimmed(line.substr(18, 5)),
                  line[24],
                  *cashFloat,
                  *expected,
                  counted};
    return true;
}

CashupRead ReadCashup(const std::string& path) {
    CashupRead read;
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file) return read;
    std::string line;
    CashCount count;
    for (size_t number = 1; file->readFullLine(line); ++number) {
        if (line.empty()) continue;
        if (ParseCashCount(line, count))
            read.counts.push_back(count);
        else
            read.faults.push_back(path + ", line " + std::to_string(number) +
                                  ": not a count of the drawer");
    }
    if (file->ioError()) throw IoError(path, "Read error");
    return read;
}

void AppendCashCount(const std::string& dataDir, const CashCount& count) {
    const std::string path = FileNames::resolve(dataDir, "Cashup.dat");
    std::optional<TextAppender> file = TextAppender::OpenElseCreate(path);
    if (!file) throw IoError(path, "Open error");
    try {
        file->writeLine(CashCountLine(count));
        // The count is on disk before the screen shows its result.
        file->sync();
        file->close();
    } catch (const IoError&) {
        file->discard();
        throw;
    }
}

long NextZNumber(const std::string& dataDir) {
    long highest = 0;
    auto scan = [&highest](const std::string& path) {
        for (const CashCount& c : ReadCashup(path).counts)
            if (c.kind == 'Z') highest = std::max(highest, c.number);
    };
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dataDir, error)) {
        const std::string name = entry.path().filename().string();
        if (::strncasecmp(name.c_str(), "Csh", 3) == 0 ||
            ::strcasecmp(name.c_str(), "Cashup.dat") == 0)
            scan(entry.path().string());
    }
    return highest + 1;
}

CashCount UncountedClose(const std::string& dataDir, const CashupRead& read,
                         const std::string& date, const std::string& time, double cashInDrawer) {
    const double cashFloat = OpeningFloat(read, date).value_or(0);
    return {'Z',       NextZNumber(dataDir),     date,        time, ' ',
            cashFloat, cashFloat + cashInDrawer, std::nullopt};
}

long NextCountNumber(const CashupRead& read) {
    long last = 0;
    for (const CashCount& c : read.counts)
        if (c.kind != 'Z') last = std::max(last, c.number);
    return last + 1;
}

std::optional<double> OpeningFloat(const CashupRead& read, std::string_view date) {
    std::optional<double> found;
    for (const CashCount& c : read.counts)
        if (c.kind == 'O' && c.date == date) found = c.cashFloat;
    return found;
}

std::vector<long> DenominationCents(const std::string& option, size_t most) {
    std::vector<long> cents;
    for (std::string_view rest = option; !rest.empty() && cents.size() < most;) {
        const size_t comma = rest.find(',');
        if (std::optional<long> c = OptionAmountCents(rest.substr(0, comma)); c && *c > 0)
            cents.push_back(*c);
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    return cents;
}

std::string CashupArchiveName(const std::string& resultsArchiveName) {
    return "Csh" + resultsArchiveName.substr(std::min<size_t>(3, resultsArchiveName.size()));
}
