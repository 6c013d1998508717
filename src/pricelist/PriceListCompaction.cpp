#include "pricelist/PriceList.h"
#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// A Pricelist.new can only be left by a start that stopped half-way. While
// Pricelist.dat exists it is complete (it is only ever replaced by a rename),
// so the copy is dropped and the compaction simply runs again; without it,
// the copy is the only price list there is and takes its place.
void settleLeftOverCopy(DataFiles& files) {
    std::string copyPath = files.pathOf("Pricelist.new");
    if (!FileNames::exists(copyPath)) return;
    std::string listPath = files.pathOf("Pricelist.dat");
    if (FileNames::exists(listPath))
        FileNames::remove(copyPath);
    else
        std::rename(copyPath.c_str(), listPath.c_str());
}

// Copies the lines worth keeping; tells whether the copy differs in any byte.
bool copyCompleteLines(TextFile& from, TextFile& to) {
    bool dropped = false;
    std::uintmax_t written = 0;
    std::string line;
    while (from.readFullLine(line)) {
        if (line.size() < PriceListLineLength) {
            dropped = true;
            continue;
        }
        to.writeLine(line);
        written += line.size() + 2;
    }
    std::error_code ec;
    std::uintmax_t size = std::filesystem::file_size(from.path(), ec);
    return dropped || ec || written != size;
}

void replaceWith(const std::string& copyPath, const std::string& listPath) {
    if (std::rename(copyPath.c_str(), listPath.c_str()) != 0)
        throw IoError(listPath, std::string("Rename error (") + std::strerror(errno) + ")");
}

} // namespace

void CompactPriceList(DataFiles& files, Dialogs& dialogs) {
    settleLeftOverCopy(files);
    if (!OpenPriceListOrOfferSample(files, dialogs)) return;
    if (!files.OpenPriceListNewForWrite()) {
        // Without room for a copy the list simply stays as it is.
        files.priceList.close();
        return;
    }
    try {
        bool changed = copyCompleteLines(files.priceList, files.priceListNew);
        // A list that could not be read to its end must not be replaced by
        // the part of it that was read.
        bool readToEnd = !files.priceList.ioError();
        files.priceList.close();
        if (!changed || !readToEnd) {
            files.priceListNew.erase();
            return;
        }
        files.priceListNew.close();
        replaceWith(files.priceListNew.path(), files.priceList.path());
    } catch (...) {
        files.priceList.close();
        try {
            files.priceListNew.erase();
        } catch (const std::exception&) {
            // The failure that brought us here is the one worth reporting.
        }
        throw;
    }
}
