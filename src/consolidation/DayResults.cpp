#include "consolidation/DayResults.h"

#include "store/NumberText.h"
#include "store/TextReader.h"
#include "takings/TakingsReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace {

// The configured sales persons by code: a code configured twice counts for
// both, as the table of persons is laid out.
class PersonsByCode {
  public:
    explicit PersonsByCode(const Configuration& config) {
        for (size_t i = 0; i < config.SalesPersonCode.size(); ++i)
            if (config.SalesPersonCode[i].size() == 1)
                m_indexes[static_cast<unsigned char>(config.SalesPersonCode[i][0])].push_back(i);
    }
    const std::vector<size_t>& of(char code) const {
        return m_indexes[static_cast<unsigned char>(code)];
    }

  private:
    std::array<std::vector<size_t>, 256> m_indexes;
};

void addValues(ConsolidationTotals& t, const TakingsEntry& e, double factor) {
    t.TotWholesale += e.wholesale * factor;
    t.TotListValue += e.listPrice * factor;
    t.TotSalesValue += e.unitPrice * factor;
}

void count(const TakingsEntry& e, const PersonsByCode& persons, const std::string& DateText,
           DayResults& day) {
    ConsolidationTotals& t = day.totals;
    SalesPersonTotals& p = day.persons;
    const char m = e.marker;
    if (m == '*') {
        day.headerText = std::string(e.startText);
        day.dayByDayLines.push_back("* " + day.headerText + "    ***   " + DateText);
    } else if (m == '#') {
        t.TotCash += e.cash;
        t.TotCheque += e.cheque;
        t.TotCredit += e.credit;
        t.TotTax += e.tax;
        t.TotNet += e.total;
    } else if (m == '$') {
        t.TotExpenses += e.amount;
    } else if (m == '@') {
        // A service booked without a sales person: counted as the records
        // of that kind always have been.
        t.TotQuantity += e.quantity;
        addValues(t, e, -e.quantity);
        t.TotNet += e.amount;
    } else if (m >= 'A' && m <= 'Z') {
        t.TotQuantity += e.quantity;
        addValues(t, e, std::fabs(e.quantity));
        for (size_t i : persons.of(m)) {
            p.SpSalesQty[i] += e.quantity;
            p.SpSalesTotal[i] += e.amount;
        }
    } else {
        t.TotServicesQty += e.quantity;
        addValues(t, e, std::fabs(e.quantity));
        t.TotServicesTotal += e.amount;
        for (size_t i : persons.of(static_cast<char>(m - 32))) {
            p.SpServicesQty[i] += e.quantity;
            p.SpServicesTotal[i] += e.amount;
        }
    }
}

// The lines of the sale being read, until its total record shares its tax
// out by their rates.
class TaxSharing {
  public:
    TaxSharing(const Configuration& config, const TaxClasses& taxes, TaxShares& shares)
        : m_config(config), m_taxes(taxes), m_shares(shares) {}

    void add(const TakingsEntry& e) {
        // Without tax classes every line has the one rate: nothing to share.
        if (!m_config.TaxOn || m_taxes.empty()) return;
        if (e.kind == TakingsEntry::Kind::Start) {
            // Lines without a total before a start were never paid.
            m_lines.clear();
            m_expense = false;
        } else if (e.kind == TakingsEntry::Kind::Total) {
            settle(e.tax);
        } else if (e.marker == '$') {
            m_expense = true;
        } else {
            m_lines.push_back({m_taxes.rateOf(std::string(e.code), m_config.TaxRate), e.amount});
        }
    }

  private:
    struct Line {
        double rate;
        double amount;
    };

    // The tax the till took on the recorded amount at its rate, in whole
    // cents cut toward zero.
    static double taxOn(double amount, double rate) { return std::trunc(amount * rate) / 100; }

    void settle(double saleTax) {
        if (m_expense) {
            m_shares.expenses += saleTax;
        } else if (!m_lines.empty()) {
            std::vector<RateTax> sale;
            std::vector<RateTax> sold; // the amounts, for the rate that takes the rest
            double estimated = 0;
            for (const Line& line : m_lines) {
                const double tax = taxOn(line.amount, line.rate);
                AddRateTax(sale, line.rate, tax);
                AddRateTax(sold, line.rate, std::fabs(line.amount));
                estimated += tax;
            }
            const auto takesTheRest = [](const RateTax& a, const RateTax& b) {
                if ((a.rate > 0) != (b.rate > 0)) return a.rate > 0;
                return a.tax > b.tax;
            };
            size_t most = 0;
            for (size_t i = 1; i < sold.size(); ++i)
                if (takesTheRest(sold[i], sold[most])) most = i;
            sale[most].tax += saleTax - estimated;
            for (const RateTax& share : sale)
                AddRateTax(m_shares.byRate, share.rate, share.tax);
        }
        m_lines.clear();
        m_expense = false;
    }

    const Configuration& m_config;
    const TaxClasses& m_taxes;
    TaxShares& m_shares;
    std::vector<Line> m_lines;
    bool m_expense = false;
};

// A line record with its line end.
constexpr size_t ShortestLine = 77;

// The sums per code, adding in file order. The table outgrows the caches
// and the codes come in no order, so each line waits in a short queue while
// the slot of its code and then its entry are fetched ahead.
class CodeSums {
  public:
    // `lines` is about how many lines will come, so that the table is not
    // rebuilt on the way.
    CodeSums(CodeTable<CodeTakings>& byCode, size_t lines) : m_byCode(byCode) {
        byCode.reserve(lines);
    }

    void add(const TakingsEntry& e) {
        if (e.kind != TakingsEntry::Kind::Line) return;
        // The line Ahead places back leaves the slot the new one takes.
        Pending& line = m_queue[m_count % Ahead];
        if (m_count >= Ahead) apply(line);
        line.length = static_cast<unsigned char>(std::min(e.code.size(), sizeof line.code));
        std::memcpy(line.code, e.code.data(), line.length);
        line.expense = e.marker == '$';
        line.quantity = e.quantity;
        line.amount = e.amount;
        m_byCode.prefetch(line.view(), false);
        if (m_count >= EntryAhead)
            m_byCode.prefetch(m_queue[(m_count - EntryAhead) % Ahead].view(), true);
        ++m_count;
    }

    // Adds the lines still waiting.
    void finish() {
        for (size_t n = m_count > Ahead ? m_count - Ahead : 0; n < m_count; ++n)
            apply(m_queue[n % Ahead]);
        m_count = 0;
    }

  private:
    struct Pending {
        char code[13];
        unsigned char length;
        bool expense;
        double quantity;
        double amount;
        std::string_view view() const { return std::string_view(code, length); }
    };
    static constexpr size_t Ahead = 16;
    static constexpr size_t EntryAhead = 8;

    void apply(const Pending& line) {
        CodeTakings& sums = m_byCode[line.view()];
        if (line.expense) {
            sums.expense += line.amount;
        } else {
            sums.quantity += line.quantity;
            sums.amount += line.amount;
        }
    }

    CodeTable<CodeTakings>& m_byCode;
    std::array<Pending, Ahead> m_queue{};
    size_t m_count = 0;
};

} // namespace

std::string DayQuantitiesLine(const ConsolidationTotals& t) {
    return "#" + FormatFixed(t.TotQuantity, 5, 1) + " " + FormatFixed(t.TotWholesale, 10, 2) + " " +
           FormatFixed(t.TotListValue, 11, 2) + " " + FormatFixed(t.TotSalesValue, 11, 2) + " " +
           FormatFixed(t.TotCash, 12, 2) + " " + FormatFixed(t.TotCheque, 11, 2) + " " +
           FormatFixed(t.TotCredit, 12, 2);
}

std::string DayAmountsLine(const ConsolidationTotals& t) {
    return "&" + FormatFixed(t.TotServicesTotal, 28, 2) + " " + FormatFixed(t.TotTax, 11, 2) + " " +
           FormatFixed(t.TotTakings, 12, 2) + " " + FormatFixed(t.TotExpenses, 11, 2) + " " +
           FormatFixed(t.TotNet, 12, 2) + "  ";
}

bool ReadDayResults(const std::string& resultsPath, const Configuration& config,
                    const std::string& DateText, DayResults& day, const TaxClasses& taxes) {
    day = DayResults{};
    std::optional<TextReader> file = TextReader::Open(resultsPath);
    if (!file) return false;
    TakingsReader reader(*file);
    TakingsEntry entry;
    const PersonsByCode persons(config);
    std::error_code sizeUnknown;
    const auto bytes = std::filesystem::file_size(resultsPath, sizeUnknown);
    CodeSums sums(day.byCode, sizeUnknown ? 0 : static_cast<size_t>(bytes / ShortestLine));
    TaxSharing sharing(config, taxes, day.taxShares);
    while (reader.next(entry)) {
        count(entry, persons, DateText, day);
        sums.add(entry);
        sharing.add(entry);
    }
    sums.finish();
    day.faultyLines = reader.faultyLines();
    day.firstFaultyLine = reader.firstFaultyLine();
    day.firstFaultyText = reader.firstFaultyText();
    // Expense amounts are stored negative.
    day.totals.TotExpenses = -day.totals.TotExpenses;
    day.totals.TotTakings = day.totals.TotNet + day.totals.TotExpenses;
    day.dayByDayLines.push_back(DayQuantitiesLine(day.totals));
    day.dayByDayLines.push_back(DayAmountsLine(day.totals));
    return true;
}
