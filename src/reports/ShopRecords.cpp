#include "reports/ShopRecords.h"

#include "consolidation/BalanceSheet.h"
#include "consolidation/PeriodArchives.h"
#include "consolidation/SalesPersonFile.h"
#include "consolidation/Stocktake.h"
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

// 1..12 for the month's name as archive names write it; 0 for none.
int monthOf(std::string_view name) {
    for (int m = 0; m < 12; ++m)
        if (sameLetters(name, MonthNames[m])) return m + 1;
    return 0;
}

// `name` is `prefix` + year + month + `suffix`: the month as yyyymm, else 0.
int monthFromName(std::string_view name, std::string_view prefix, std::string_view suffix) {
    if (name.size() != prefix.size() + 7 + suffix.size() ||
        !sameLetters(name.substr(0, prefix.size()), prefix) ||
        !sameLetters(name.substr(prefix.size() + 7), suffix))
        return 0;
    const std::string_view year = name.substr(prefix.size(), 4);
    const int month = monthOf(name.substr(prefix.size() + 4, 3));
    if (!Digits::all(year) || month == 0) return 0;
    return std::stoi(std::string(year)) * 100 + month;
}

class Reading {
  public:
    Reading(const RecordsRequest& request, RecordsVisitor& visitor)
        : m_request(request), m_visitor(visitor) {}

    // The name of the shop's file spelled `name` in any case, when it is
    // there and wanted.
    std::optional<std::string> wanted(const std::string& name) const {
        if (!m_request.onlyFile.empty() && !sameLetters(m_request.onlyFile, name)) return {};
        const std::string path = FileNames::resolve(m_request.shopDir, name);
        if (!FileNames::regularFile(path)) return {};
        return path;
    }

    size_t addFile(const std::string& path) {
        m_files.push_back(std::filesystem::path(path).filename().string());
        m_visitor.file(m_files.back());
        return m_files.size() - 1;
    }

    void problem(size_t file, size_t line, const std::string& more = {}) {
        m_visitor.problem("Line " + std::to_string(line) + " of " + m_files[file] +
                          " cannot be read." + more);
    }

    void takings(const std::string& path, DayNumber day) {
        std::optional<TextReader> file = TextReader::Open(path);
        if (!file) return;
        const size_t index = addFile(path);
        TakingsReader reader(*file);
        TakingsEntry e;
        // The line records since the last total record or start record wait
        // for what closes them; their rows are used again for the next sale.
        size_t waiting = 0;
        auto release = [&](bool paid) {
            for (size_t i = 0; i < waiting; ++i) {
                m_group[i].paid = paid;
                m_visitor.takingsLine(m_group[i]);
            }
            waiting = 0;
        };
        TakingsTotalRow total;
        total.day = day;
        while (reader.next(e)) {
            const SourceRef source{index, reader.lineNumber()};
            if (e.kind == TakingsEntry::Kind::Start) {
                release(false);
            } else if (e.kind == TakingsEntry::Kind::Line) {
                if (waiting == m_group.size()) m_group.emplace_back();
                TakingsLineRow& row = m_group[waiting++];
                row.source = source;
                row.day = day;
                row.person = e.marker;
                row.code = TrimBlanks(e.code);
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
                total.source = source;
                total.clock = TrimBlanks(e.clock);
                total.cash = ToCents(e.cash);
                total.cheque = ToCents(e.cheque);
                total.credit = ToCents(e.credit);
                total.tax = ToCents(e.tax);
                total.total = ToCents(e.total);
                total.received = ToCents(e.received);
                total.change = ToCents(e.change);
                total.lines = waiting;
                // A group is an expense when its last line is one, as the
                // day's totals count it.
                const bool expense =
                    waiting > 0 && m_group[waiting - 1].kind == TakingsLineRow::Kind::Expense;
                total.kind = expense           ? TakingsTotalRow::Kind::Expense
                             : total.total < 0 ? TakingsTotalRow::Kind::Refund
                                               : TakingsTotalRow::Kind::Sale;
                release(true);
                m_visitor.takingsTotal(total);
            }
        }
        release(false);
        if (reader.faultyLines() > 0)
            problem(index, reader.firstFaultyLine(),
                    reader.faultyLines() > 1 ? " " + std::to_string(reader.faultyLines() - 1) +
                                                   " more lines of it neither."
                                             : std::string());
    }

    // Each consolidation since the last period end added one block ending in
    // an "&" line and archived one takings file, so the blocks match the
    // newest archives in order. The short date the lines carry is written in
    // the till's regional format, which a reader cannot tell for sure. The
    // file is small: its rows are kept until their dates are known.
    void dayByDay(std::vector<DayNumber> archiveDays) {
        const auto path = wanted("Daybyday.dat");
        if (!path) return;
        std::vector<DayByDayRow> rows;
        std::string dateText;
        forEachLine(*path, [&](size_t file, size_t number, const std::string& text) {
            if (text.empty() || text[0] == ' ') return true;
            DayByDayRow row;
            row.source = {file, number};
            row.marker = text[0];
            if (text[0] == '*') {
                const size_t stars = text.find("***");
                if (stars != std::string::npos) dateText = BlankTrimmed(text.substr(stars + 3));
                row.dateText = dateText;
            } else if (text[0] == '#' || text[0] == '&') {
                row.dateText = dateText;
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
            rows.push_back(std::move(row));
            return true;
        });
        size_t blocks = 0;
        for (const DayByDayRow& row : rows)
            if (row.marker == '&') ++blocks;
        if (blocks > archiveDays.size())
            archiveDays.insert(archiveDays.begin(), blocks - archiveDays.size(), 0);
        size_t block = archiveDays.size() - blocks;
        for (DayByDayRow& row : rows) {
            row.day = block < archiveDays.size() ? archiveDays[block] : 0;
            if (row.marker == '&') ++block;
            m_visitor.dayByDay(row);
        }
    }

    // The day-by-day archive of a closed period.
    void dayArchive(const std::string& path) {
        std::string dateText;
        bool sums = false;
        forEachLine(path, [&](size_t file, size_t number, const std::string& text) {
            if (text.empty()) return true;
            DayArchiveLine read;
            if (!ReadDayArchiveLine(text, read)) return false;
            DayByDayRow row;
            row.source = {file, number};
            row.archived = true;
            using K = DayArchiveLine::Kind;
            if (read.kind == K::Heading || read.kind == K::Period) {
                dateText = read.text;
                sums = read.kind == K::Period;
                row.marker = sums ? '=' : '*';
            } else {
                row.marker = read.kind == K::Quantities ? '#' : '&';
                row.periodSum = sums;
                for (size_t i = 0; i < read.quantities.size(); ++i)
                    row.quantities[i] = ToCents(read.quantities[i]);
                for (size_t i = 0; i < read.amounts.size(); ++i)
                    row.amounts[i] = ToCents(read.amounts[i]);
            }
            row.dateText = dateText;
            m_visitor.dayByDay(row);
            return true;
        });
    }

    // Spersons.dat, or a sales-person archive: its blocks, each a copy of
    // Spersons.dat closed by a line of its own.
    void salesPersons(const std::string& path, bool archived) {
        std::string dateText;
        forEachLine(path, [&](size_t file, size_t number, const std::string& text) {
            SalesPersonFigures line;
            if (!ParseSalesPersonLine(text, line)) return false;
            if (line.code == 0) {
                const std::string_view date = SalesPersonsHeadingDate(text);
                if (!date.empty()) dateText = date;
                return true;
            }
            SalesPersonRow row;
            row.source = {file, number};
            row.archived = archived;
            row.dateText = dateText;
            row.code = line.code;
            row.name = BlankTrimmed(line.name);
            for (size_t i = 0; i < line.figures.size(); ++i)
                row.figures[i] = ToCents(line.figures[i]);
            m_visitor.salesPerson(row);
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
            BalanceRow row;
            row.source = {file, number};
            row.label = BlankTrimmed(text.substr(0, 13));
            for (size_t i = 0; i < values.size(); ++i) {
                row.period = i < periods.size() ? periods[i] : std::string();
                row.value = ToCents(values[i]);
                m_visitor.balance(row);
            }
            return true;
        });
    }

    // Inventory.dat, or a stocktake listing: the counted lines in the
    // inventory's layout and the total value.
    void stock(const std::string& path, bool archived) {
        std::optional<TextReader> file = TextReader::Open(path);
        if (!file) return;
        const size_t index = addFile(path);
        InventoryReader reader(*file);
        while (reader.next()) {
            if (reader.text().empty()) continue;
            StockRow row;
            row.source = {index, reader.lineNumber()};
            row.archived = archived;
            if (!reader.readable()) {
                double total = 0;
                if (archived && ReadStocktakeTotal(reader.text(), total)) {
                    row.marker = '=';
                    row.value = ToCents(total);
                    m_visitor.stock(row);
                } else {
                    problem(index, reader.lineNumber());
                }
                continue;
            }
            const InventoryLine& line = reader.line();
            row.marker = line.ArticleMarker;
            row.code = BlankTrimmed(line.ArticleCode);
            row.minMax = line.InvMinMax;
            row.sold = ToCents(line.InvSold);
            row.onStock = ToCents(line.InvOnStock);
            row.totalSold = ToCents(line.InvTotalSold);
            row.value = ToCents(line.InvValue);
            m_visitor.stock(row);
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
    RecordsVisitor& m_visitor;
    std::vector<std::string> m_files;
    std::vector<TakingsLineRow> m_group;
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

int DayArchiveMonth(const std::string& name) {
    // "Day" + year + month + "." + a letter.
    if (name.size() != 12 || !std::isalpha(static_cast<unsigned char>(name[11]))) return 0;
    return monthFromName(std::string_view(name).substr(0, 11), "Day", ".");
}

int SalesPersonArchiveMonth(const std::string& name) {
    return monthFromName(name, "SP", ".dat");
}

int StocktakeListingYear(const std::string& name) {
    // "Inventory." + the year's last two digits + a letter.
    const std::string_view n(name);
    if (n.size() != 13 || !sameLetters(n.substr(0, 10), "Inventory.") ||
        !Digits::all(n.substr(10, 2)) || !std::isalpha(static_cast<unsigned char>(n[12])))
        return 0;
    return 2000 + std::stoi(name.substr(10, 2));
}

void ReadShopRecords(const RecordsRequest& request, RecordsVisitor& visitor) {
    Reading reading(request, visitor);
    // Files named by a date, in the order of their dates.
    struct Dated {
        int date;
        std::string name;
        bool operator<(const Dated& o) const {
            if (date != o.date) return date < o.date;
            if (name.size() != o.name.size()) return name.size() < o.name.size();
            return name < o.name;
        }
    };
    std::vector<Dated> archives, dayArchives, personArchives, listings;
    std::vector<DayNumber> archiveDays; // in and out of the range
    const ReportRange& range = request.range;
    // A period archive is read when its month, or year, meets the range.
    auto meets = [&](DayNumber first, DayNumber last) {
        return first <= range.to && last >= range.from;
    };
    std::error_code error;
    const std::string dir = request.shopDir.empty() ? "." : request.shopDir;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        const std::string name = entry.path().filename().string();
        if (const DayNumber day = TakingsArchiveDay(name)) {
            archiveDays.push_back(day);
            if (range.contains(day)) archives.push_back({day, name});
        } else if (const int month = DayArchiveMonth(name)) {
            if (meets(month * 100 + 1, month * 100 + 31)) dayArchives.push_back({month, name});
        } else if (const int spMonth = SalesPersonArchiveMonth(name)) {
            if (meets(spMonth * 100 + 1, spMonth * 100 + 31))
                personArchives.push_back({spMonth, name});
        } else if (const int year = StocktakeListingYear(name)) {
            if (meets(year * 10000 + 101, year * 10000 + 1231)) listings.push_back({year, name});
        }
    }
    std::sort(archiveDays.begin(), archiveDays.end());
    for (auto* list : {&archives, &dayArchives, &personArchives, &listings})
        std::sort(list->begin(), list->end());
    for (const Dated& archive : archives)
        if (const auto path = reading.wanted(archive.name)) reading.takings(*path, archive.date);
    if (range.contains(request.today))
        if (const auto path = reading.wanted("Results.dat")) reading.takings(*path, request.today);
    for (const Dated& archive : dayArchives)
        if (const auto path = reading.wanted(archive.name)) reading.dayArchive(*path);
    reading.dayByDay(std::move(archiveDays));
    for (const Dated& archive : personArchives)
        if (const auto path = reading.wanted(archive.name)) reading.salesPersons(*path, true);
    if (const auto path = reading.wanted("Spersons.dat")) reading.salesPersons(*path, false);
    reading.balance();
    for (const Dated& listing : listings)
        if (const auto path = reading.wanted(listing.name)) reading.stock(*path, true);
    if (const auto path = reading.wanted("Inventory.dat")) reading.stock(*path, false);
}
