#include "consolidation/PeriodArchives.h"

#include "consolidation/ConsolidationError.h"
#include "store/FileNames.h"
#include "store/LineFields.h"
#include "store/NumberText.h"
#include "store/Padding.h"
#include "store/TextLines.h"

#include <array>

namespace {

constexpr std::array<std::pair<int, int>, 7> QuantityFields = {
    {{6, 1}, {10, 2}, {11, 2}, {11, 2}, {12, 2}, {11, 2}, {12, 2}}};
constexpr std::array<std::pair<int, int>, 5> AmountFields = {
    {{29, 2}, {11, 2}, {12, 2}, {11, 2}, {12, 2}}};

template <size_t N>
std::string numbersLine(const std::array<double, N>& values,
                        const std::array<std::pair<int, int>, N>& fields) {
    std::string text;
    for (size_t i = 0; i < N; ++i) {
        if (i > 0) text += ' ';
        text += FormatFixed(values[i], fields[i].first, fields[i].second);
    }
    return text;
}

template <size_t N> bool readNumbers(std::string_view line, std::array<double, N>& values) {
    LineFields fields(line);
    fields.readChar();
    for (double& v : values)
        fields.readReal(v);
    return !fields.failed();
}

std::array<double*, 7> quantitySums(ConsolidationTotals& t) {
    return {&t.TotQuantity, &t.TotWholesale, &t.TotListValue, &t.TotSalesValue,
            &t.TotCash,     &t.TotCheque,    &t.TotCredit};
}

std::array<double*, 5> amountSums(ConsolidationTotals& t) {
    return {&t.TotServicesTotal, &t.TotTax, &t.TotTakings, &t.TotExpenses, &t.TotNet};
}

template <size_t N> std::array<double, N> valuesOf(const std::array<double*, N>& sums) {
    std::array<double, N> values{};
    for (size_t i = 0; i < N; ++i)
        values[i] = *sums[i];
    return values;
}

} // namespace

bool ReadDayQuantities(std::string_view line, std::array<double, 7>& values) {
    return readNumbers(line, values);
}

bool ReadDayAmounts(std::string_view line, std::array<double, 5>& values) {
    return readNumbers(line, values);
}

bool ReadDayArchiveLine(std::string_view line, DayArchiveLine& read) {
    read = DayArchiveLine{};
    constexpr std::string_view PeriodStart = " TOTAL from ";
    if (line.starts_with(PeriodStart)) {
        read.kind = DayArchiveLine::Kind::Period;
        read.text = TrimBlanks(line.substr(PeriodStart.size()));
        return true;
    }
    if (line.find('\0') != std::string_view::npos) return false;
    // The number lines are told by how many blank-separated words they hold.
    size_t words = 0;
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] != ' ' && (i == 0 || line[i - 1] == ' ')) ++words;
    LineFields fields(line);
    if (words == read.quantities.size()) {
        for (double& v : read.quantities)
            fields.readReal(v);
        read.kind = DayArchiveLine::Kind::Quantities;
        if (!fields.failed()) return true;
    } else if (words == read.amounts.size()) {
        for (double& v : read.amounts)
            fields.readReal(v);
        read.kind = DayArchiveLine::Kind::Amounts;
        if (!fields.failed()) return true;
    }
    // A heading: the 20 characters after a "*" right-aligned in 23.
    read = DayArchiveLine{};
    if (words == 0 || line.size() > 23) return false;
    read.text = TrimBlanks(line);
    return true;
}

std::optional<std::string> FreeLetterName(const std::string& dataDir, const std::string& base) {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::string name = base + letter;
        if (!FileNames::exists(FileNames::resolve(dataDir, name))) return name;
    }
    return std::nullopt;
}

DayArchive ArchiveDayByDay(std::string_view dayByDay, const std::string& path,
                           const std::string& DateText) {
    DayArchive archive;
    ConsolidationTotals& sums = archive.period;
    std::string startText;
    bool started = false;
    ForEachLine(dayByDay, [&](std::string_view line, size_t number) {
        if (line.empty() || line[0] == ' ') return;
        if (line[0] == '*') {
            std::string_view heading = line.substr(1, 20);
            if (!started) startText = std::string(heading.substr(0, 13));
            started = true;
            archive.content += PadLeft(std::string(heading), 23) + "\r\n";
        } else if (line[0] == '#') {
            std::array<double, 7> values{};
            if (!ReadDayQuantities(line, values))
                throw ConsolidationError(UnreadableLineText(path, number));
            auto targets = quantitySums(sums);
            for (size_t i = 0; i < values.size(); ++i)
                *targets[i] += values[i];
            archive.content += numbersLine(values, QuantityFields) + "\r\n";
        } else if (line[0] == '&') {
            std::array<double, 5> values{};
            if (!ReadDayAmounts(line, values))
                throw ConsolidationError(UnreadableLineText(path, number));
            auto targets = amountSums(sums);
            for (size_t i = 0; i < values.size(); ++i)
                *targets[i] += values[i];
            archive.content += numbersLine(values, AmountFields) + "  \r\n";
        } else {
            throw ConsolidationError(UnreadableLineText(path, number));
        }
    });
    archive.content += " TOTAL from " + startText + " to  " + DateText + "\r\n";
    archive.content += numbersLine(valuesOf(quantitySums(sums)), QuantityFields) + "\r\n";
    archive.content += numbersLine(valuesOf(amountSums(sums)), AmountFields) + "  \r\n";
    return archive;
}

std::string ArchiveSalesPersonTotals(std::string_view oldArchive, std::string_view salesPersons,
                                     const std::string& DateText) {
    std::string archive(oldArchive);
    ForEachLine(salesPersons, [&](std::string_view line, size_t) {
        archive += line;
        archive += "\r\n";
    });
    archive += " Results to and incl. " + DateText + "\r\n\r\n";
    return archive;
}
