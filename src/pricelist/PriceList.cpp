#include "pricelist/PriceList.h"

#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"

#include <exception>

namespace {

// Drops a work copy that was not finished after a failure half-way through.
void abandonWorkCopy(TextAppender& priceWork) {
    try {
        priceWork.erase();
    } catch (const std::exception&) {
        // The failure that brought us here is the one worth reporting.
    }
}

} // namespace

bool PriceListMissing(const DataFiles& files) {
    return !FileNames::exists(files.pathOf("Pricelist.dat"));
}

void CreateSamplePriceList(DataFiles& files) {
    std::optional<TextAppender> priceList = files.OpenPriceListForAppend();
    if (!priceList) return;
    priceList->writeLine(PriceListSampleLine);
    priceList->close();
}

std::optional<TextReader> OpenPriceList(DataFiles& files) {
    return TextReader::Open(files.compose("Pricelist.dat"));
}

Notices TidyPriceList(DataFiles& files) {
    if (std::optional<TextAppender> priceWork = files.OpenPriceWorkForAppend()) priceWork->erase();
    try {
        CompactPriceList(files);
    } catch (const IoError& e) {
        // A failed compaction leaves the list as it was, which still serves
        // the day: the work copy is built from it all the same.
        return {{e.message()}};
    }
    return {};
}

PriceWorkPreparation PreparePriceWork(DataFiles& files, const Configuration& config) {
    PriceWorkPreparation result;
    std::optional<TextReader> priceList = OpenPriceList(files);
    result.opened = priceList.has_value();
    if (!priceList) return result;
    std::optional<TextAppender> priceWork = files.OpenPriceWorkForAppend();
    if (!priceWork) return result;
    try {
        result.priceListError =
            BuildPriceWorkFile(files, *priceList, *priceWork, config, result.notices);
        priceWork->close();
    } catch (const IoError& e) {
        abandonWorkCopy(*priceWork);
        result.notices.push_back({e.message()});
    } catch (...) {
        abandonWorkCopy(*priceWork);
        throw;
    }
    return result;
}
