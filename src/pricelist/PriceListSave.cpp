#include "pricelist/PriceListSave.h"

#include "fast/CodeIndex.h"
#include "inventory/InventoryFile.h"
#include "pricelist/PriceLineCheck.h"
#include "pricelist/PriceList.h"
#include "pricelist/PriceListItem.h"
#include "store/DataFiles.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/TextReader.h"
#include "store/TextRewriter.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <string_view>

namespace {

constexpr size_t CodeColumn = 1;
constexpr size_t CodeLength = 13;

template <typename Line> std::string joinLines(const std::vector<Line>& lines) {
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

// Every line of an existing file; false when there is no such file.
bool readAllLines(const std::string& path, std::string& bytes,
                  std::vector<std::string_view>& lines) {
    if (!FileNames::exists(path)) return false;
    if (!ReadWholeLines(path, bytes, lines)) throw IoError(path, "Read error");
    return true;
}

class ProgressSteps {
  public:
    ProgressSteps(const PriceProgress& progress, size_t total)
        : m_progress(progress), m_total(total) {
        if (m_progress) m_progress(0, total);
    }
    void at(size_t done) {
        if (!m_progress) return;
        size_t percent = m_total ? done * 100 / m_total : 100;
        if (percent == m_shown) return;
        m_shown = percent;
        m_progress(done, m_total);
    }

  private:
    const PriceProgress& m_progress;
    size_t m_total;
    size_t m_shown = 0;
};

void rebuildWorkCopy(DataFiles& files, const Configuration& config, PriceListSaveResult& result) {
    // The list has just been written, so nobody need be offered a sample one.
    std::optional<TextReader> priceList = OpenPriceList(files);
    if (std::optional<TextAppender> oldWork = files.OpenPriceWorkForAppend()) oldWork->erase();
    if (!priceList) return;
    std::optional<TextAppender> priceWork = files.OpenPriceWorkForAppend();
    if (!priceWork) return;
    try {
        result.priceListError =
            BuildPriceWorkFile(files, *priceList, *priceWork, config, result.notices);
        priceWork->close();
    } catch (...) {
        try {
            priceWork->erase();
        } catch (const std::exception&) {
            // The failure that brought us here is the one worth reporting.
        }
        throw;
    }
}

} // namespace

bool ReadPriceListLines(DataFiles& files, std::vector<std::string>& lines) {
    std::optional<TextReader> file = OpenPriceList(files);
    if (!file) return false;
    std::vector<std::string> read;
    std::string line;
    while (file->readFullLine(line))
        read.push_back(line);
    if (file->ioError()) return false;
    lines = std::move(read);
    return true;
}

bool WritePriceListBackup(DataFiles& files, const std::vector<std::string>& lines) {
    std::optional<TextRewriter> file = TextRewriter::Open(files.compose("Pricelist.bak"));
    if (!file) return false;
    try {
        file->write(joinLines(lines));
        file->commit();
        return true;
    } catch (const IoError&) {
        return false;
    }
}

std::string RealignInventory(const std::vector<std::string_view>& priceLines,
                             const std::vector<std::string_view>& inventoryLines,
                             const PriceProgress& progress) {
    // A line too short to hold a whole code cannot match one.
    std::vector<std::string_view> codes;
    codes.reserve(inventoryLines.size());
    for (std::string_view line : inventoryLines)
        codes.push_back(line.size() >= CodeColumn + CodeLength ? line.substr(CodeColumn, CodeLength)
                                                               : std::string_view());
    CodeIndex firstOf(codes);

    std::string out;
    out.reserve(priceLines.size() * 83);
    ProgressSteps steps(progress, inventoryLines.size());
    PriceListItem item;
    for (size_t n = 0; n < priceLines.size(); ++n) {
        std::string_view line = priceLines[n];
        std::string_view code = line.substr(CodeColumn, CodeLength);
        size_t found = firstOf.find(code);
        if (found != std::string::npos) {
            out += inventoryLines[found];
        } else {
            // The save passes only checked lines, whose numbers always read.
            if (!ParsePriceListItem(line, item)) item = PriceListItem{};
            out += NewInventoryLine(line[0], std::string(code), item.StockLevel, item.wholesale);
        }
        out += "\r\n";
        steps.at(std::min(n + 1, inventoryLines.size()));
    }
    return out;
}

PriceListSaveResult SavePriceList(DataFiles& files, const Configuration& config,
                                  const std::vector<std::string>& lines,
                                  const PriceListSaveOptions& options) {
    PriceListSaveResult result;
    result.checked = CheckPriceLines(lines);
    if (result.checked.faultyLine != std::string::npos) return result;

    std::vector<std::string_view> kept;
    kept.reserve(lines.size());
    for (const auto& line : result.checked.rebuilt)
        if (!line.empty()) kept.push_back(line);

    const std::string listPath = files.pathOf("Pricelist.dat");
    const std::string inventoryPath = files.pathOf("Inventory.dat");
    const std::string workPath = files.pathOf("Inventory.wrk");
    for (const auto& path : {listPath, inventoryPath, workPath})
        FileNames::requireWritable(path);
    std::string inventoryBytes;
    std::vector<std::string_view> inventory;
    const bool withInventory = readAllLines(inventoryPath, inventoryBytes, inventory);

    FileCommit commit(files.DataDir());
    if (options.skipSyncs) commit.skipSyncs();
    commit.replace("Pricelist.dat", joinLines(kept));
    if (withInventory) {
        commit.replace("Inventory.wrk", joinLines(inventory));
        commit.replace("Inventory.dat", RealignInventory(kept, inventory, options.progress));
    }
    commit.setNote("The saving of the price list was interrupted and has now been finished.");
    commit.stopAfter(options.stopCommitAfter);
    commit.commit();
    result.saved = true;
    if (options.stopCommitAfter != static_cast<size_t>(-1)) return result;

    rebuildWorkCopy(files, config, result);
    return result;
}
