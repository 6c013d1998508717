#include "tills/PublishedPrices.h"

#include "pricelist/DoubleEntryCheck.h"
#include "pricelist/PriceListSave.h"
#include "store/AuditTrail.h"
#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Sha256.h"
#include "store/TextLines.h"
#include "store/TextRewriter.h"

#include <cstdio>
#include <optional>
#include <sys/stat.h>

namespace {

struct Stamp {
    std::string when; // YYYYMMDDHHMMSS
    std::string digest;
};

std::optional<Stamp> readStamp(const std::string& path) {
    const std::string text = ReadWholeFile(path);
    const size_t end = text.find_first_of("\r\n");
    const std::string line = text.substr(0, end);
    if (line.size() != 14 + 1 + 64 || line[14] != ' ') return std::nullopt;
    for (size_t i = 0; i < 14; ++i)
        if (line[i] < '0' || line[i] > '9') return std::nullopt;
    return Stamp{line.substr(0, 14), line.substr(15)};
}

std::string stampText(const Stamp& stamp) {
    return stamp.when + " " + stamp.digest;
}

// "2026-12-07 10:15" for the operator.
std::string whenText(const std::string& when) {
    return when.substr(0, 4) + "-" + when.substr(4, 2) + "-" + when.substr(6, 2) + " " +
           when.substr(8, 2) + ":" + when.substr(10, 2);
}

void writeWhole(const std::string& path, const std::string& bytes) {
    std::optional<TextRewriter> file = TextRewriter::Open(path);
    if (!file) throw IoError(path, "File cannot be created");
    file->write(bytes);
    file->commit();
}

std::vector<std::string> linesOf(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachLine(bytes, [&lines](std::string_view line, size_t) { lines.emplace_back(line); });
    return lines;
}

// Why the lines cannot be the till's price list; empty when they can.
std::string refusal(const std::vector<std::string>& lines) {
    const CheckedPriceLines checked = CheckPriceLines(lines);
    if (checked.faultyLine != std::string::npos)
        return "line " + std::to_string(checked.faultyLine + 1) + ", " + checked.fault;
    std::vector<std::string_view> kept;
    for (const std::string& line : checked.rebuilt)
        if (!line.empty()) kept.push_back(line);
    const DoubleEntryReport doubles = FindDoubleEntries(kept);
    if (doubles.found) return "a code stands on more than one line:" + doubles.lines.front();
    return {};
}

} // namespace

PricesPublished PublishPrices(const std::string& officeDir, const DateTime& at) {
    std::string dir = officeDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    const std::string list = FileNames::resolve(dir, "Pricelist.dat");
    const std::string folder = dir + PricesFolder;
    try {
        if (!FileNames::exists(list)) return {2, list + ": there is no price list to publish"};
        const std::string bytes = ReadWholeFile(list);
        // The tills would refuse it: it is not sent to them.
        const std::string why = refusal(linesOf(bytes));
        if (!why.empty())
            return {1, list + " is not published: " + why +
                           ". Correct it in the price list editor and publish it again."};
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            throw IoError(folder, "Folder cannot be made");
        // The new copies take their names by rename; Syncthing leaves them be
        // until they have.
        const std::string ignore = folder + ".stignore";
        if (!FileNames::exists(ignore))
            writeWhole(ignore, "*" + std::string(FileNames::RewriteSuffix) + "\n");
        char when[40];
        std::snprintf(when, sizeof when, "%04d%02d%02d%02d%02d%02d", at.year % 10000,
                      at.month % 100, at.day % 100, at.hour % 100, at.minute % 100,
                      at.second % 100);
        writeWhole(folder + "Pricelist.dat", bytes);
        writeWhole(folder + PublishedName, stampText({when, Sha256Hex(bytes)}) + "\r\n");
        return {0, "The price list " + list + " is published in " + folder + " as of " +
                       whenText(when) + "."};
    } catch (const IoError& e) {
        return {2, e.message()};
    }
}

Notices TakePublishedPrices(DataFiles& files, const Configuration& config, const DateTime& now) {
    const std::string dir = files.DataDir() + PricesFolder;
    try {
        const std::optional<Stamp> published = readStamp(dir + PublishedName);
        if (!published) return {};
        const std::optional<Stamp> taken = readStamp(files.pathOf(PricesTakenName));
        if (taken && (published->when < taken->when || published->digest == taken->digest))
            return {};
        const std::string bytes = ReadWholeFile(dir + "Pricelist.dat");
        // Still on its way: the next start takes it.
        if (Sha256Hex(bytes) != published->digest) return {};
        const std::vector<std::string> lines = linesOf(bytes);
        const std::string why = refusal(lines);
        if (!why.empty())
            return {{"The price list the office published on " + whenText(published->when) +
                     " was not taken: " + why + "\rThe till keeps its own price list."}};
        const bool audited = FileNames::exists(files.pathOf(AuditTrailName));
        const AuditSnapshot audit(files.DataDir(), {"Pricelist.dat", "Inventory.dat"});
        const PriceListSaveResult saved = SavePriceList(files, config, lines);
        if (audited) audit.record(now, "office prices");
        // Taken again after a crash before this line: the same list gives the
        // same files.
        writeWhole(files.pathOf(PricesTakenName), stampText(*published) + "\r\n");
        Notices notices = saved.notices;
        notices.push_back({"The price list the office published on " + whenText(published->when) +
                               " is now the till's price list.",
                           Notice::Kind::Note});
        return notices;
    } catch (const IoError& e) {
        return {{e.message() + "\rThe office's price list was not taken; the till keeps its own."}};
    }
}
