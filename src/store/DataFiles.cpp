#include "store/DataFiles.h"

#include "store/FileNames.h"

DataFiles::DataFiles(std::string dataDir) : m_dataDir(std::move(dataDir)) {}

const std::string& DataFiles::compose(std::string_view name) {
    CurrentFileName = pathOf(name);
    return CurrentFileName;
}

std::string DataFiles::pathOf(std::string_view name) const {
    return FileNames::resolve(m_dataDir, name);
}

std::optional<TextRewriter> DataFiles::OpenInventoryForWrite() {
    return TextRewriter::Open(compose("Inventory.dat"));
}
std::optional<TextRewriter> DataFiles::OpenInventoryWorkForWrite() {
    return TextRewriter::Open(compose("Inventory.wrk"));
}
std::optional<TextReader> DataFiles::OpenInventoryWorkForRead() {
    return TextReader::Open(compose("Inventory.wrk"));
}
std::optional<TextReader> DataFiles::OpenInventoryForRead() {
    return TextReader::Open(compose("Inventory.dat"));
}
std::optional<TextReader> DataFiles::OpenInventoryNewForRead() {
    return TextReader::Open(compose("Inventory.new"));
}
std::optional<TextAppender> DataFiles::OpenInventoryNewForAppend() {
    return TextAppender::OpenElseCreate(compose("Inventory.new"));
}
std::optional<TextRewriter> DataFiles::OpenSalesPersonsForWrite() {
    return TextRewriter::Open(compose("Spersons.dat"));
}
std::optional<TextReader> DataFiles::OpenSalesPersonsForRead() {
    return TextReader::Open(compose("Spersons.dat"));
}
std::optional<TextAppender> DataFiles::OpenPriceListForAppend() {
    return TextAppender::OpenElseCreate(compose("Pricelist.dat"));
}
std::optional<TextRewriter> DataFiles::OpenPriceListNewForWrite() {
    return TextRewriter::Open(compose("Pricelist.new"));
}
std::optional<TextReader> DataFiles::OpenPriceListNewForRead() {
    return TextReader::Open(compose("Pricelist.new"));
}
std::optional<TextReader> DataFiles::OpenPriceWorkForRead() {
    return TextReader::Open(compose("Pricelist.wrk"));
}
std::optional<TextAppender> DataFiles::OpenPriceWorkForAppend() {
    return TextAppender::OpenElseCreate(compose("Pricelist.wrk"));
}
