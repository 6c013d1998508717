#include "consolidation/SalesPersonFile.h"

#include "consolidation/ConsolidationError.h"
#include "store/LineFields.h"
#include "store/NumberText.h"
#include "store/Padding.h"
#include "store/TextReader.h"

#include <array>
#include <optional>

namespace {
constexpr size_t NameWidth = 12;

// A figure in its 12 columns. One that fills them gets a blank before it: the
// reader skips the code and 13 characters and then takes blank-separated
// numbers, so a full field would lose its first digit or run into the next.
std::string figure(double x) {
    std::string text = FormatFixed(x, 12, 2);
    if (text.front() != ' ') text.insert(0, 1, ' ');
    return text;
}

std::string paddedName(const std::string& name) {
    return PadRight(name, 9);
}
} // namespace

std::string UnreadableLineText(const std::string& path, size_t lineNumber) {
    return "Line " + std::to_string(lineNumber) + " of the file " + path +
           " cannot be read.\rNothing was changed.";
}

std::string SalesPersonsHeading(const std::string& DateText) {
    return std::string("* ") + "   " + "   " + DateText + "          " + "Services" +
           "             " + "    " + "Sales";
}

std::string SalesPersonsLine(const std::string& code, const std::string& name,
                             const SalesPersonTotals& t, size_t i) {
    return code + PadLeft(name, NameWidth) + figure(t.SpServicesQty[i]) +
           figure(t.SpServicesTotal[i]) + figure(t.SpSalesQty[i]) + figure(t.SpSalesTotal[i]);
}

std::string MergeSalesPersonTotals(const std::string& path, const Configuration& config,
                                   const std::string& DateText, SalesPersonTotals& persons) {
    if (std::optional<TextReader> file = TextReader::Open(path)) {
        std::array<size_t, 256> seen{};
        std::string line;
        size_t lineNumber = 0;
        while (file->readFullLine(line)) {
            ++lineNumber;
            if (line.empty() || line[0] == ' ' || line[0] == '*') continue;
            LineFields fields(line);
            fields.readChar();
            fields.readText(NameWidth);
            double servicesQty = 0, servicesTotal = 0, salesQty = 0, salesTotal = 0;
            fields.readReal(servicesQty);
            fields.readReal(servicesTotal);
            fields.readReal(salesQty);
            fields.readReal(salesTotal);
            if (fields.failed() || line.size() <= NameWidth || line.find('\0') != std::string::npos)
                throw ConsolidationError(UnreadableLineText(file->path(), lineNumber));
            // The k-th stored line of a code belongs to the k-th person with it.
            size_t wanted = seen[static_cast<unsigned char>(line[0])]++;
            for (size_t i = 0, found = 0; i < config.SalesPersonCode.size(); ++i) {
                if (config.SalesPersonCode[i] != std::string(1, line[0])) continue;
                if (found++ != wanted) continue;
                persons.SpServicesQty[i] += servicesQty;
                persons.SpServicesTotal[i] += servicesTotal;
                persons.SpSalesQty[i] += salesQty;
                persons.SpSalesTotal[i] += salesTotal;
                break;
            }
        }
        file->check();
    }
    std::string content = SalesPersonsHeading(DateText) + "\r\n";
    for (size_t i = 0; i < config.SalesPersonCode.size(); ++i)
        content += SalesPersonsLine(config.SalesPersonCode[i],
                                    paddedName(config.SalesPersonName[i]), persons, i) +
                   "\r\n";
    return content;
}
