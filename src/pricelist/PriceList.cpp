#include "pricelist/PriceList.h"

#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"

#include <exception>

namespace {

// Leaves the files closed after a failure half-way through, dropping a work
// copy that was not finished.
void abandonPriceFiles(DataFiles& files) {
    files.priceList.close();
    try {
        files.priceWork.erase();
    } catch (const std::exception&) {
        // The failure that brought us here is the one worth reporting.
    }
}

} // namespace

bool PriceListMissing(const DataFiles& files) {
    return !FileNames::exists(files.pathOf("Pricelist.dat"));
}

void CreateSamplePriceList(DataFiles& files) {
    if (!files.OpenPriceListForAppend()) return;
    files.priceList.writeLine(PriceListSampleLine);
    files.priceList.close();
}

bool OpenPriceList(DataFiles& files) {
    return files.priceList.openRead(files.compose("Pricelist.dat"));
}

Notices TidyPriceList(DataFiles& files) {
    if (files.OpenPriceWorkForAppend()) files.priceWork.erase();
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
    result.opened = OpenPriceList(files);
    try {
        if (result.opened && files.OpenPriceWorkForAppend())
            result.priceListError = BuildPriceWorkFile(files, config, result.notices);
        files.priceList.close();
        files.priceWork.close();
    } catch (const IoError& e) {
        abandonPriceFiles(files);
        result.notices.push_back({e.message()});
    } catch (...) {
        abandonPriceFiles(files);
        throw;
    }
    return result;
}
