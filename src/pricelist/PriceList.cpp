#include "pricelist/PriceList.h"

#include "platform/Dialogs.h"
#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"

#include <exception>

namespace {
const char* const SampleQuestion =
    "A Pricelist was not found !\r\nCreate a Price list with a sample line 0?";

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

bool OpenPriceListOrOfferSample(DataFiles& files, Dialogs& dialogs) {
    const std::string& path = files.compose("Pricelist.dat");
    if (files.priceList.openRead(path)) return true;
    // A list that is there but cannot be read is not "not found": creating
    // one would only append a sample line to it.
    if (FileNames::exists(path)) return false;
    if (dialogs.confirm(SampleQuestion, Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
        return false;
    if (files.OpenPriceListForAppend()) {
        files.priceList.writeLine(PriceListSampleLine);
        files.priceList.close();
    }
    return false;
}

bool PreparePriceList(DataFiles& files, const Configuration& config, Dialogs& dialogs,
                      bool& priceListOpened) {
    if (files.OpenPriceWorkForAppend()) files.priceWork.erase();
    try {
        CompactPriceList(files, dialogs);
    } catch (const IoError& e) {
        // A failed compaction leaves the list as it was, which still serves
        // the day: the work copy is built from it all the same.
        dialogs.message(e.message());
    }

    bool priceListError = false;
    priceListOpened = OpenPriceListOrOfferSample(files, dialogs);
    try {
        if (priceListOpened && files.OpenPriceWorkForAppend())
            priceListError = BuildPriceWorkFile(files, config, dialogs);
        files.priceList.close();
        files.priceWork.close();
    } catch (...) {
        abandonPriceFiles(files);
        throw;
    }
    return priceListError;
}
