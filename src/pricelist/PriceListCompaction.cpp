#include "pricelist/PriceList.h"
#include "store/DataFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/TextReader.h"
#include "store/TextRewriter.h"

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
    else if (std::rename(copyPath.c_str(), listPath.c_str()) == 0)
        FileNames::syncDirectory(FileNames::directoryOf(listPath));
}

// Whether the copy of the lines worth keeping would differ in any byte: a
// line dropped, or a line end other than CR LF mended. Read without writing,
// so that the usual start, with nothing to change, writes nothing at all.
bool copyWouldDiffer(TextReader& from) {
    std::uintmax_t written = 0;
    std::string line;
    while (from.readFullLine(line)) {
        if (line.size() < PriceListLineLength) return true;
        written += line.size() + 2;
    }
    std::error_code ec;
    std::uintmax_t size = std::filesystem::file_size(from.path(), ec);
    return ec || written != size;
}

// Copies the lines worth keeping.
void copyCompleteLines(TextReader& from, TextRewriter& to) {
    std::string line;
    while (from.readFullLine(line))
        if (line.size() >= PriceListLineLength) to.writeLine(line);
}

void replaceWith(const std::string& copyPath, const std::string& listPath) {
    if (std::rename(copyPath.c_str(), listPath.c_str()) != 0)
        throw IoError(listPath, std::string("Rename error (") + std::strerror(errno) + ")");
    // The new list must still be the list after a power cut.
    FileNames::syncDirectory(FileNames::directoryOf(listPath));
}

} // namespace

void CompactPriceList(DataFiles& files) {
    settleLeftOverCopy(files);
    std::string listPath;
    bool differs = false;
    bool readToEnd = false;
    {
        std::optional<TextReader> priceList = OpenPriceList(files);
        if (!priceList) return;
        listPath = priceList->path();
        differs = copyWouldDiffer(*priceList);
        // A list that could not be read to its end must not be replaced by the
        // part of it that was read.
        readToEnd = !priceList->ioError();
    }
    if (!differs || !readToEnd) return;
    // Without room for a copy the list simply stays as it is.
    std::optional<TextReader> priceList = TextReader::Open(listPath);
    if (!priceList) return;
    std::optional<TextRewriter> copy = files.OpenPriceListNewForWrite();
    if (!copy) return;
    copyCompleteLines(*priceList, *copy);
    readToEnd = !priceList->ioError();
    priceList.reset();
    if (!readToEnd) return;
    copy->commit();
    try {
        replaceWith(copy->path(), listPath);
    } catch (...) {
        // The list stays as it was; a copy left beside it would only be
        // dropped again at the next start.
        FileNames::remove(copy->path());
        throw;
    }
}
