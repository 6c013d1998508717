#include "consolidation/InventoryRebuild.h"

#include "consolidation/ConsolidationError.h"
#include "inventory/InventoryFile.h"
#include "pricelist/PriceListItem.h"
#include "store/TextLines.h"
#include "store/TextReader.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

// Where a price list or inventory line keeps its code.
constexpr size_t CodeColumn = 1;
constexpr size_t CodeLength = 13;

// The tables outgrow the caches and the codes come in no useful order, so
// the slots and entries of the codes a few lines on are fetched while this
// line is worked.
constexpr size_t SlotsAhead = 16;
constexpr size_t EntriesAhead = 8;

struct OldValues {
    double onStock = 0;
    double totalSold = 0;
    double value = 0;
};

// A file read whole, with where each of its lines lies: a string each would
// cost an allocation per line. The lines are those readFullLine gives,
// without the LF and a CR before it.
struct FileLines {
    std::string text;
    std::vector<std::pair<size_t, size_t>> spans; // start, length
    size_t size() const { return spans.size(); }
    std::string_view operator[](size_t n) const {
        return std::string_view(text).substr(spans[n].first, spans[n].second);
    }
    // Columns 2-14, as far as the line has them.
    std::string_view codeAt(size_t n) const {
        const std::string_view line = (*this)[n];
        return line.size() > CodeColumn ? line.substr(CodeColumn, CodeLength) : std::string_view();
    }
};

FileLines readLines(TextReader& file) {
    FileLines lines;
    file.readRest(lines.text);
    const char* const base = lines.text.data();
    lines.spans.reserve(lines.text.size() / 64 + 1);
    ForEachLine(lines.text, [&](std::string_view line, size_t) {
        lines.spans.emplace_back(static_cast<size_t>(line.data() - base), line.size());
    });
    return lines;
}

// The old inventory by code; the first line of a code counts. The lines are
// read first, so the table can be sized at once and the slot of a code a few
// lines on fetched while this one is parsed.
CodeTable<OldValues> readOldInventory(const std::string& path) {
    CodeTable<OldValues> old;
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file) return old;
    const FileLines lines = readLines(*file);
    old.reserve(lines.size());
    InventoryLine line;
    for (size_t n = 0; n < lines.size(); ++n) {
        if (n + SlotsAhead < lines.size()) old.prefetch(lines.codeAt(n + SlotsAhead), false);
        const std::string_view text = lines[n];
        if (text.empty()) continue;
        // An unreadable line taken as "no old values" would silently reset
        // that article's stock.
        if (!ParseInventoryLine(text, line) || text.find('\0') != std::string_view::npos)
            throw ConsolidationError(UnreadableLineText(file->path(), n + 1));
        old.tryEmplace(line.ArticleCode,
                       OldValues{line.InvOnStock, line.InvTotalSold, line.InvValue});
    }
    file->check();
    return old;
}

FileLines readPriceList(const std::string& path) {
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file)
        throw ConsolidationError("The file " + path +
                                 " not found!\rThe inventory cannot be brought up to date.\r"
                                 "Nothing was changed.");
    FileLines lines = readLines(*file);
    file->check();
    return lines;
}

InventoryLine newLine(const PriceListItem& item, const OldValues& old, const CodeTakings& day,
                      bool InventoryOn) {
    const bool expense = item.marker == '$';
    const bool service = !item.code.empty() && item.code[0] == '/';
    const double T = service ? 0 : day.quantity;
    const double Q = service ? day.quantity : 0;
    InventoryLine line;
    line.ArticleCode = std::string(item.code);
    line.InvMinMax = item.StockLevel;
    line.InvOnStock = InventoryOn ? old.onStock - T : 0;
    line.InvTotalSold = old.totalSold + T;
    if (service) line.InvTotalSold = line.InvTotalSold + Q;
    const double value = old.value + day.expense;
    if (expense) {
        line.ArticleMarker = '$';
        line.InvSold = T;
        line.InvValue = value;
    } else if (service) {
        line.ArticleMarker = '!';
        line.InvSold = Q;
        line.InvValue = value + day.amount;
    } else {
        line.ArticleMarker = ' ';
        line.InvSold = T;
        line.InvValue = item.wholesale * T;
    }
    return line;
}

} // namespace

std::string UpdateInventoryFromTakings(const std::string& priceListPath,
                                       const std::string& oldInventoryPath,
                                       const CodeTable<CodeTakings>& byCode, bool InventoryOn,
                                       const RebuildProgress& progress,
                                       const RebuiltLine& eachLine) {
    const FileLines priceList = readPriceList(priceListPath);
    const auto old = readOldInventory(oldInventoryPath);
    const size_t total = priceList.size();
    std::string content;
    content.reserve(total * 80);
    size_t shown = 0;
    size_t nextShown = (total + 99) / 100;
    if (progress) progress(0, total);
    const OldValues none;
    const CodeTakings nothing;
    PriceListItem item;
    for (size_t n = 0; n < total; ++n) {
        if (n + SlotsAhead < total) {
            old.prefetch(priceList.codeAt(n + SlotsAhead), false);
            byCode.prefetch(priceList.codeAt(n + SlotsAhead), false);
        }
        if (n + EntriesAhead < total) {
            old.prefetch(priceList.codeAt(n + EntriesAhead), true);
            byCode.prefetch(priceList.codeAt(n + EntriesAhead), true);
        }
        if (!ParsePriceListItem(priceList[n], item))
            throw ConsolidationError(UnreadableLineText(priceListPath, n + 1));
        const OldValues* o = old.find(item.code);
        const CodeTakings* d = byCode.find(item.code);
        const InventoryLine line = newLine(item, o ? *o : none, d ? *d : nothing, InventoryOn);
        const size_t start = content.size();
        AppendInventoryLine(content, line, MinMaxWidthConsolidation);
        if (eachLine) eachLine(line, std::string_view(content).substr(start), n + 1);
        content += "\r\n";
        // About a hundred repaints, however long the price list: each time
        // the percentage done changes, found without a division per line.
        if (progress && n + 1 >= nextShown) {
            shown = (n + 1) * 100 / total;
            nextShown = ((shown + 1) * total + 99) / 100;
            progress(n + 1, total);
        }
    }
    return content;
}
