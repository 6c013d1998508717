#include "pricelist/PriceList.h"
#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/TextLines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

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

// The lines worth keeping, each with CR LF; nothing when the list would come
// out byte for byte as it is (every line complete and ended by CR LF), so
// that the usual start writes nothing at all.
std::optional<std::string> completeLines(const std::string& text) {
    bool dropped = false;
    size_t written = 0;
    ForEachLine(text, [&](std::string_view line, size_t) {
        if (line.size() < PriceListLineLength)
            dropped = true;
        else
            written += line.size() + 2;
    });
    if (!dropped && written == text.size()) return std::nullopt;
    std::string kept;
    kept.reserve(written);
    ForEachLine(text, [&](std::string_view line, size_t) {
        if (line.size() < PriceListLineLength) return;
        kept += line;
        kept += "\r\n";
    });
    return kept;
}

void replaceWith(const std::string& copyPath, const std::string& listPath) {
    if (std::rename(copyPath.c_str(), listPath.c_str()) != 0)
        throw IoError(listPath, std::string("Rename error (") + std::strerror(errno) + ")");
}

} // namespace

void CompactPriceList(DataFiles& files, Dialogs& dialogs) {
    settleLeftOverCopy(files);
    if (!OpenPriceListOrOfferSample(files, dialogs)) return;
    std::string text;
    // A list that could not be read to its end must not be replaced by the
    // part of it that was read.
    const bool readToEnd = files.priceList.readRest(text) && !files.priceList.ioError();
    files.priceList.close();
    if (!readToEnd) return;
    const std::optional<std::string> kept = completeLines(text);
    if (!kept) return;
    // Without room for a copy the list simply stays as it is.
    if (!files.OpenPriceListNewForWrite()) return;
    try {
        files.priceListNew.write(*kept);
        files.priceListNew.close();
        replaceWith(files.priceListNew.path(), files.priceList.path());
    } catch (...) {
        try {
            files.priceListNew.erase();
        } catch (const std::exception&) {
            // The failure that brought us here is the one worth reporting.
        }
        throw;
    }
}
