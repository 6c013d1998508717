#include "reports/ShopRecords.h"

#include "consolidation/BalanceSheet.h"
#include "consolidation/PeriodArchives.h"
#include "consolidation/SalesPersonFile.h"
#include "inventory/InventoryFile.h"
#include "store/Digits.h"
#include "store/FileNames.h"
#include "store/Padding.h"
#include "store/TextReader.h"
#include "takings/TakingsReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace {

constexpr const char* MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

bool validDay(int year, int month, int day) {
    static constexpr int Days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > Days[month - 1]) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month != 2 || day <= 28 || leap;
}

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

class Reading {
  public:
    Reading(const RecordsRequest& request, ShopRecords& records)
        : m_request(request), m_records(records) {}

    // The name of the shop's file spelled `name` in any case, when it is
    // there and wanted.
    std::optional<std::string> wanted(const std::string& name) const {
        if (!m_request.onlyFile.empty() && !sameLetters(m_request.onlyFile, name)) return {};
        const std::string path = FileNames::resolve(m_request.shopDir, name);
        if (!FileNames::regularFile(path)) return {};
        return path;
    }

    size_t addFile(const std::string& path) {
        m_records.files.push_back(std::filesystem::path(path).filename().string());
        return m_records.files.size() - 1;
    }

    void problem(size_t file, size_t line) {
        m_records.problems.push_back("Line " + std::to_string(line) + " of " +
                                     m_records.files[file] + " cannot be read.");
    }

    void takings(const std::string& path, DayNumber day) {
        std::optional<TextReader> file = TextReader::Open(path);
        if (!file) return;
        const size_t index = addFile(path);
        TakingsReader reader(*file);
        TakingsEntry e;
        // The line records since the last total record or start record.
        size_t groupStart = m_records.lines.size();
        while (reader.next(e)) {
            const SourceRef source{index, reader.lineNumber()};
            if (e.kind == TakingsEntry::Kind::Start) {
                groupStart = m_records.lines.size();
            } else if (e.kind == TakingsEntry::Kind::Line) {
                TakingsLineRow& row = m_records.lines.emplace_back();
                row.source = source;
                row.day = day;
                row.person = e.marker;
                row.code = BlankTrimmed(e.code);
                row.quantity = ToCents(e.quantity);
                row.wholesale = ToCents(e.wholesale);
                row.listPrice = ToCents(e.listPrice);
                row.unitPrice = ToCents(e.unitPrice);
                row.amount = ToCents(e.amount);
                using K = TakingsLineRow::Kind;
                const bool service = !(e.marker >= 'A' && e.marker <= 'Z');
                if (e.marker == '$') {
                    row.kind = K::Expense;
                } else {
                    // A service's line carries its person's code 32 higher.
                    if (service)
                        row.person = e.marker == '@' ? ' ' : static_cast<char>(e.marker - 32);
                    row.kind = row.quantity < 0 ? K::Return : service ? K::Service : K::Article;
                }
            } else {
                TakingsTotalRow& row = m_records.totals.emplace_back();
                row.source = source;
                row.day = day;
                row.clock = BlankTrimmed(e.clock);
                row.cash = ToCents(e.cash);
                row.cheque = ToCents(e.cheque);
                row.credit = ToCents(e.credit);
                row.tax = ToCents(e.tax);
                row.total = ToCents(e.total);
                row.received = ToCents(e.received);
                row.change = ToCents(e.change);
                row.lines = m_records.lines.size() - groupStart;
                // A group is an expense when its last line is one, as the
                // day's totals count it.
                const bool expense =
                    row.lines > 0 && m_records.lines.back().kind == TakingsLineRow::Kind::Expense;
                row.kind = expense         ? TakingsTotalRow::Kind::Expense
                           : row.total < 0 ? TakingsTotalRow::Kind::Refund
                                           : TakingsTotalRow::Kind::Sale;
                for (size_t i = groupStart; i < m_records.lines.size(); ++i)
                    m_records.lines[i].paid = true;
                groupStart = m_records.lines.size();
            }
        }
        if (reader.faultyLines() > 0) {
            problem(index, reader.firstFaultyLine());
            if (reader.faultyLines() > 1)
                m_records.problems.back() +=
                    " " + std::to_string(reader.faultyLines() - 1) + " more lines of it neither.";
        }
    }

    void dayByDay() {
        const auto path = wanted("Daybyday.dat");
        if (!path) return;
        forEachLine(*path, [&](size_t file, size_t number, const std::string& text) {
            if (text.empty() || text[0] == ' ') return true;
            DayByDayRow row;
            row.source = {file, number};
            row.marker = text[0];
            if (text[0] == '*') {
                const size_t stars = text.find("***");
                if (stars != std::string::npos) m_dateText = BlankTrimmed(text.substr(stars + 3));
                row.dateText = m_dateText;
            } else if (text[0] == '#' || text[0] == '&') {
                row.dateText = m_dateText;
                std::array<double, 7> q{};
                std::array<double, 5> a{};
                if (text[0] == '#' ? !ReadDayQuantities(text, q) : !ReadDayAmounts(text, a))
                    return false;
                for (size_t i = 0; i < q.size(); ++i)
                    row.quantities[i] = ToCents(q[i]);
                for (size_t i = 0; i < a.size(); ++i)
                    row.amounts[i] = ToCents(a[i]);
            } else {
                return false;
            }
            m_records.days.push_back(std::move(row));
            return true;
        });
    }

    // Each consolidation since the last period end added one block ending in
    // an "&" line and archived one takings file, so the blocks match the
    // newest archives in order. The short date the lines carry is written in
    // the till's regional format, which a reader cannot tell for sure.
    void dayByDayDates(std::vector<DayNumber> archiveDays) {
        size_t blocks = 0;
        for (const DayByDayRow& row : m_records.days)
            if (row.marker == '&') ++blocks;
        if (blocks > archiveDays.size())
            archiveDays.insert(archiveDays.begin(), blocks - archiveDays.size(), 0);
        size_t block = archiveDays.size() - blocks;
        for (DayByDayRow& row : m_records.days) {
            row.day = block < archiveDays.size() ? archiveDays[block] : 0;
            if (row.marker == '&') ++block;
        }
    }

    void salesPersons() {
        const auto path = wanted("Spersons.dat");
        if (!path) return;
        forEachLine(*path, [&](size_t file, size_t number, const std::string& text) {
            SalesPersonFigures line;
            if (!ParseSalesPersonLine(text, line)) return false;
            if (line.code == 0) return true;
            SalesPersonRow& row = m_records.persons.emplace_back();
            row.source = {file, number};
            row.code = line.code;
            row.name = BlankTrimmed(line.name);
            for (size_t i = 0; i < line.figures.size(); ++i)
                row.figures[i] = ToCents(line.figures[i]);
            return true;
        });
    }

    void balance() {
        const auto path = wanted("Balance.dat");
        if (!path) return;
        std::vector<std::string> periods;
        std::vector<double> values;
        forEachLine(*path, [&](size_t file, size_t number, const std::string& text) {
            if (number == 1) {
                periods = BalancePeriods(text);
                return true;
            }
            if (text.empty()) return true;
            if (text.size() < 13 || !ReadBalanceNumbers(text, values)) return false;
            for (size_t i = 0; i < values.size(); ++i) {
                BalanceRow& row = m_records.balance.emplace_back();
                row.source = {file, number};
                row.label = BlankTrimmed(text.substr(0, 13));
                row.period = i < periods.size() ? periods[i] : std::string();
                row.value = ToCents(values[i]);
            }
            return true;
        });
    }

    void stock() {
        const auto path = wanted("Inventory.dat");
        if (!path) return;
        std::optional<TextReader> file = TextReader::Open(*path);
        if (!file) return;
        const size_t index = addFile(*path);
        InventoryReader reader(*file);
        while (reader.next()) {
            if (reader.text().empty()) continue;
            if (!reader.readable()) {
                problem(index, reader.lineNumber());
                continue;
            }
            const InventoryLine& line = reader.line();
            StockRow& row = m_records.stock.emplace_back();
            row.source = {index, reader.lineNumber()};
            row.marker = line.ArticleMarker;
            row.code = BlankTrimmed(line.ArticleCode);
            row.minMax = line.InvMinMax;
            row.sold = ToCents(line.InvSold);
            row.onStock = ToCents(line.InvOnStock);
            row.totalSold = ToCents(line.InvTotalSold);
            row.value = ToCents(line.InvValue);
        }
    }

  private:
    // Calls f(file, number, text) for each line; a false answer records the
    // line as one that cannot be read.
    template <typename F> void forEachLine(const std::string& path, F&& f) {
        std::optional<TextReader> file = TextReader::Open(path);
        if (!file) return;
        const size_t index = addFile(path);
        std::string text;
        size_t number = 0;
        while (file->readFullLine(text))
            if (!f(index, ++number, text)) problem(index, number);
        file->check();
    }

    const RecordsRequest& m_request;
    ShopRecords& m_records;
    std::string m_dateText;
};

} // namespace

DayNumber ParseIsoDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return 0;
    const std::string_view t(text);
    if (!Digits::all(t.substr(0, 4)) || !Digits::all(t.substr(5, 2)) ||
        !Digits::all(t.substr(8, 2)))
        return 0;
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    return validDay(year, month, day) ? year * 10000 + month * 100 + day : 0;
}

std::string IsoDateText(DayNumber day) {
    if (day == 0) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day / 10000, day / 100 % 100, day % 100);
    return text;
}

std::string CentsText(long long cents) {
    const unsigned long long magnitude =
        cents < 0 ? 0ULL - static_cast<unsigned long long>(cents) : cents;
    char text[32];
    std::snprintf(text, sizeof text, "%s%llu.%02llu", cents < 0 ? "-" : "", magnitude / 100,
                  magnitude % 100);
    return text;
}

long long ToCents(double x) {
    return std::llround(x * 100);
}

DayNumber TakingsArchiveDay(const std::string& name) {
    // "Res" + year + month + "." + day, and a letter when the day had more.
    if (name.size() < 13 || name.size() > 14 || !sameLetters(name.substr(0, 3), "Res") ||
        name[10] != '.')
        return 0;
    const std::string_view n(name);
    if (!Digits::all(n.substr(3, 4)) || !Digits::all(n.substr(11, 2))) return 0;
    if (name.size() == 14 && !std::isalpha(static_cast<unsigned char>(name[13]))) return 0;
    int month = 0;
    for (int m = 0; m < 12; ++m)
        if (sameLetters(n.substr(7, 3), MonthNames[m])) month = m + 1;
    const int year = std::stoi(name.substr(3, 4));
    const int day = std::stoi(name.substr(11, 2));
    return validDay(year, month, day) ? year * 10000 + month * 100 + day : 0;
}

ShopRecords ReadShopRecords(const RecordsRequest& request) {
    ShopRecords records;
    Reading reading(request, records);
    struct Archive {
        DayNumber day;
        std::string name;
    };
    std::vector<Archive> archives;
    std::vector<DayNumber> archiveDays; // in and out of the range
    std::error_code error;
    const std::string dir = request.shopDir.empty() ? "." : request.shopDir;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        const std::string name = entry.path().filename().string();
        const DayNumber day = TakingsArchiveDay(name);
        if (day != 0) archiveDays.push_back(day);
        if (day != 0 && request.range.contains(day)) archives.push_back({day, name});
    }
    std::sort(archiveDays.begin(), archiveDays.end());
    std::sort(archives.begin(), archives.end(), [](const Archive& a, const Archive& b) {
        if (a.day != b.day) return a.day < b.day;
        if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
        return a.name < b.name;
    });
    for (const Archive& archive : archives)
        if (const auto path = reading.wanted(archive.name)) reading.takings(*path, archive.day);
    if (request.range.contains(request.today))
        if (const auto path = reading.wanted("Results.dat")) reading.takings(*path, request.today);
    reading.dayByDay();
    reading.dayByDayDates(std::move(archiveDays));
    reading.salesPersons();
    reading.balance();
    reading.stock();
    return records;
}
