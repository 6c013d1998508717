#include "consolidation/SalesPersonFile.h"

#include "consolidation/ConsolidationError.h"
#include "store/LineFields.h"
#include "store/NumberText.h"
#include "store/Padding.h"
#include "store/TextReader.h"

#include <array>
#include <optional>
#include <vector>

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

// Services quantity and total, then sales quantity and total.
using Figures = std::array<double, 4>;

std::string personLine(const std::string& code, const std::string& name, const Figures& f) {
    return code + PadLeft(name, NameWidth) + figure(f[0]) + figure(f[1]) + figure(f[2]) +
           figure(f[3]);
}

struct StoredLine : SalesPersonFigures {
    std::string text;
    // The configured person the merge credits it to.
    std::optional<size_t> person;
};

// Every line of the file, each keyed line with the person it belongs to: the
// k-th stored line of a code goes to the k-th configured person with it. No
// file reads as no lines.
std::vector<StoredLine> readStoredLines(const std::string& path, const Configuration& config) {
    std::vector<StoredLine> lines;
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file) return lines;
    std::array<size_t, 256> seen{};
    std::string text;
    while (file->readFullLine(text)) {
        StoredLine& line = lines.emplace_back();
        line.text = text;
        if (!ParseSalesPersonLine(text, line))
            throw ConsolidationError(UnreadableLineText(file->path(), lines.size()));
        if (line.code == 0) continue;
        size_t wanted = seen[static_cast<unsigned char>(line.code)]++;
        for (size_t i = 0, found = 0; i < config.SalesPersonCode.size(); ++i) {
            if (config.SalesPersonCode[i] != std::string(1, line.code)) continue;
            if (found++ != wanted) continue;
            line.person = i;
            break;
        }
    }
    file->check();
    return lines;
}

bool hasFigures(const StoredLine& line) {
    for (double x : line.figures)
        if (x != 0) return true;
    return false;
}

} // namespace

bool ParseSalesPersonLine(std::string_view text, SalesPersonFigures& line) {
    line = SalesPersonFigures{};
    if (text.empty() || text[0] == ' ' || text[0] == '*') return true;
    LineFields fields(text);
    line.code = fields.readChar();
    line.name = fields.readText(NameWidth);
    for (double& x : line.figures)
        fields.readReal(x);
    return !fields.failed() && text.size() > NameWidth && text.find('\0') == std::string_view::npos;
}

std::string UnreadableLineText(const std::string& path, size_t lineNumber) {
    return "Line " + std::to_string(lineNumber) + " of the file " + path +
           " cannot be read.\rNothing was changed.";
}

std::string SalesPersonsHeading(const std::string& DateText) {
    return std::string("* ") + "   " + "   " + DateText + "          " + "Services" +
           "             " + "    " + "Sales";
}

std::string_view SalesPersonsHeadingDate(std::string_view heading) {
    if (!heading.starts_with('*')) return {};
    const size_t from = heading.find_first_not_of(' ', 1);
    if (from == std::string_view::npos) return {};
    const size_t to = heading.find(' ', from);
    return heading.substr(from, to == std::string_view::npos ? to : to - from);
}

std::string SalesPersonsLine(const std::string& code, const std::string& name,
                             const SalesPersonTotals& t, size_t i) {
    return personLine(
        code, name, {t.SpServicesQty[i], t.SpServicesTotal[i], t.SpSalesQty[i], t.SpSalesTotal[i]});
}

std::string MergeSalesPersonTotals(const std::string& path, const Configuration& config,
                                   const std::string& DateText, SalesPersonTotals& persons) {
    for (const StoredLine& line : readStoredLines(path, config)) {
        if (!line.person) continue;
        const size_t i = *line.person;
        persons.SpServicesQty[i] += line.figures[0];
        persons.SpServicesTotal[i] += line.figures[1];
        persons.SpSalesQty[i] += line.figures[2];
        persons.SpSalesTotal[i] += line.figures[3];
    }
    std::string content = SalesPersonsHeading(DateText) + "\r\n";
    for (size_t i = 0; i < config.SalesPersonCode.size(); ++i)
        content += SalesPersonsLine(config.SalesPersonCode[i],
                                    paddedName(config.SalesPersonName[i]), persons, i) +
                   "\r\n";
    return content;
}

std::array<bool, 5> SalesPersonsWithFigures(const std::string& path, const Configuration& config) {
    std::array<bool, 5> with{};
    for (const StoredLine& line : readStoredLines(path, config))
        if (line.person && hasFigures(line)) with[*line.person] = true;
    return with;
}

std::string MoveSalesPersonFigures(const std::string& path, const Configuration& before,
                                   const Configuration& after, const std::array<bool, 5>& move) {
    std::vector<StoredLine> lines = readStoredLines(path, before);
    auto moves = [&](const StoredLine& line) {
        return line.person && move[*line.person] && !after.SalesPersonCode[*line.person].empty();
    };
    auto target = [&](const StoredLine& line) {
        return moves(line) ? after.SalesPersonCode[*line.person][0] : line.code;
    };
    // The line each code's figures gather in: the one that stays under it,
    // else the first that comes to it.
    std::array<std::optional<size_t>, 256> keeper;
    for (bool moved : {false, true})
        for (size_t k = 0; k < lines.size(); ++k) {
            auto& keep = keeper[static_cast<unsigned char>(target(lines[k]))];
            if (lines[k].code != 0 && moves(lines[k]) == moved && !keep) keep = k;
        }
    std::vector<bool> changed(lines.size());
    std::vector<bool> dropped(lines.size());
    for (size_t k = 0; k < lines.size(); ++k) {
        if (!moves(lines[k])) continue;
        const size_t keep = *keeper[static_cast<unsigned char>(target(lines[k]))];
        changed[keep] = true;
        if (keep == k) continue;
        for (size_t x = 0; x < 4; ++x)
            lines[keep].figures[x] += lines[k].figures[x];
        dropped[k] = true;
    }
    std::string content;
    for (size_t k = 0; k < lines.size(); ++k) {
        const StoredLine& line = lines[k];
        if (dropped[k]) continue;
        if (!changed[k])
            content += line.text;
        else if (moves(line))
            content += personLine(std::string(1, target(line)),
                                  paddedName(after.SalesPersonName[*line.person]), line.figures);
        else
            content += personLine(std::string(1, line.code), line.name, line.figures);
        content += "\r\n";
    }
    return content;
}
