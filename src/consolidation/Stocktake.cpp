#include "consolidation/Stocktake.h"

#include "consolidation/ConsolidationError.h"
#include "consolidation/PeriodArchives.h"
#include "inventory/InventoryFile.h"
#include "store/AuditTrail.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/LineFields.h"
#include "store/NumberText.h"
#include "store/TextLines.h"
#include "takings/SealJournal.h"

#include <utility>

namespace {

constexpr std::string_view TotalValueText = "Total value of the inventory = $";

struct StocktakeFiles {
    std::string inventory;
    std::string listing;
    double totalValue = 0;
};

std::string freeName(const std::string& dataDir, const std::string& base) {
    auto name = FreeLetterName(dataDir, base);
    if (!name)
        throw ConsolidationError("Every name from " + base + "A to " + base +
                                 "Z is taken.\rNothing was changed.");
    return *name;
}

// The counted quantity of an article becomes its stock, with its wholesale
// value; services and expense codes start from nothing.
InventoryLine counted(InventoryLine line) {
    double stock = line.InvTotalSold;
    if (line.ArticleMarker == '!' || line.ArticleMarker == '$') {
        stock = 0;
        line.InvValue = 0;
    }
    line.InvSold = 0;
    line.InvOnStock = stock;
    line.InvTotalSold = 0;
    return line;
}

// The line as a reader of the written text gets it back, without reading
// the text: the same fields, the numbers as their written decimals read.
// False where only the text can tell (a code with a line break, a number
// too large or not finite).
bool readBack(const InventoryLine& built, InventoryLine& line) {
    if (built.ArticleCode.find_first_of("\r\n") != std::string::npos) return false;
    line.ArticleMarker = built.ArticleMarker;
    line.ArticleCode = built.ArticleCode;
    line.InvMinMax = built.InvMinMax;
    return FixedReadBack(built.InvSold, 1, line.InvSold) &&
           FixedReadBack(built.InvOnStock, 1, line.InvOnStock) &&
           FixedReadBack(built.InvTotalSold, 1, line.InvTotalSold) &&
           FixedReadBack(built.InvValue, 2, line.InvValue);
}

StocktakeFiles composeFiles(const StocktakeInput& in, const DayCommitOptions& options) {
    const std::string inventoryPath = FileNames::resolve(in.dataDir, "Inventory.dat");
    StocktakeFiles files;
    // The counted inventory is made from the first pass as it is written, so
    // what the listing shows and what the inventory keeps agree.
    auto countLine = [&](const InventoryLine& built, std::string_view text, size_t number) {
        InventoryLine line;
        if (!readBack(built, line) && !ParseInventoryLine(text, line))
            throw ConsolidationError(UnreadableLineText(inventoryPath, number));
        line = counted(line);
        files.totalValue += line.InvValue;
        AppendInventoryLine(files.inventory, line, MinMaxWidthConsolidation);
        files.inventory += "\r\n";
    };
    // No old inventory: every item starts from zero.
    std::string firstPass =
        UpdateInventoryFromTakings(FileNames::resolve(in.dataDir, "Pricelist.dat"), std::string(),
                                   in.day.byCode, in.InventoryOn, options.progress, countLine);
    files.listing = std::move(firstPass);
    files.listing +=
        "\r\n" + std::string(TotalValueText) + FixedDigits(files.totalValue, 2) + "\r\n";
    return files;
}

} // namespace

bool ReadStocktakeTotal(std::string_view line, double& value) {
    if (!line.starts_with(TotalValueText)) return false;
    LineFields fields(line.substr(TotalValueText.size()));
    fields.readReal(value);
    return !fields.failed();
}

std::string FinishedStocktakeText(const std::string& DateText) {
    return "The stocktake of " + DateText + " was interrupted and has now been finished.";
}

StocktakeResult CommitStocktake(const StocktakeInput& in, const DayCommitOptions& options) {
    const std::string results = FileNames::resolve(in.dataDir, "Results.dat");
    if (!FileNames::exists(results))
        throw ConsolidationError(" The file " + results + " not found!\rNothing was changed.");
    const std::string& year = in.dates.YearText;
    const std::string yy = year.size() > 2 ? year.substr(year.size() - 2) : year;
    StocktakeResult result;
    result.recordName = freeName(in.dataDir, "Stocktake." + yy);
    result.listingName = freeName(in.dataDir, "Inventory." + yy);
    FileCommit commit(in.dataDir);
    if (!options.sync) commit.skipSyncs();
    commit.stopAfter(options.stopAfter);
    commit.setNote(FinishedStocktakeText(in.dates.DateText));
    try {
        StocktakeFiles files = composeFiles(in, options);
        result.totalValue = files.totalValue;
        commit.replace("Inventory.dat", files.inventory);
        commit.replace(result.listingName, files.listing);
        commit.remove("Inventory.wrk");
        // The new files and the filed takings are sealed, and the stocktake
        // recorded, in the same commit.
        const std::string inventoryPath = FileNames::resolve(in.dataDir, "Inventory.dat");
        std::optional<std::string> before;
        if (FileNames::exists(inventoryPath)) before = ReadWholeFile(inventoryPath);
        commit.replace(
            AuditTrailName,
            AuditTextWith(in.dataDir, {AuditChange(in.at, "stocktake", "Inventory.dat", before,
                                                   files.inventory),
                                       AuditChange(in.at, "stocktake", result.listingName,
                                                   std::nullopt, files.listing)}));
        const std::string takings = ReadWholeFile(results);
        commit.replace(SealJournalName, SealJournal(in.dataDir)
                                            .withSeals({{'W', "Inventory.dat", files.inventory},
                                                        {'W', result.listingName, files.listing},
                                                        {'F', result.recordName, takings}},
                                                       in.at));
        commit.move("Results.dat", result.recordName);
        commit.commit();
    } catch (const IoError& e) {
        if (!commit.committed())
            throw ConsolidationError("The file " + e.path() + " could not be written:\r" +
                                     e.what() + "\rNothing was changed.");
        result.unfinished = "The file " + e.path() + " could not be changed:\r" + e.what() +
                            "\rThe stocktake will be finished at the next start.";
    }
    return result;
}
