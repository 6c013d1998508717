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

bool DataFiles::OpenInventoryForWrite() {
    return inventory.openRewrite(compose("Inventory.dat"));
}
bool DataFiles::OpenInventoryWorkForWrite() {
    return inventoryWork.openRewrite(compose("Inventory.wrk"));
}
bool DataFiles::OpenInventoryWorkForRead() {
    return inventoryWork.openRead(compose("Inventory.wrk"));
}
bool DataFiles::OpenInventoryForRead() {
    return inventory.openRead(compose("Inventory.dat"));
}
bool DataFiles::OpenInventoryNewForRead() {
    return inventoryNew.openRead(compose("Inventory.new"));
}
bool DataFiles::OpenInventoryNewForAppend() {
    return inventoryNew.openAppendElseRewrite(compose("Inventory.new"));
}
bool DataFiles::OpenSalesPersonsForWrite() {
    return salesPersons.openRewrite(compose("Spersons.dat"));
}
bool DataFiles::OpenSalesPersonsForRead() {
    return salesPersons.openRead(compose("Spersons.dat"));
}
bool DataFiles::OpenPriceListForAppend() {
    return priceList.openAppendElseRewrite(compose("Pricelist.dat"));
}
bool DataFiles::OpenPriceListNewForWrite() {
    return priceListNew.openRewrite(compose("Pricelist.new"));
}
bool DataFiles::OpenPriceListNewForRead() {
    return priceListNew.openRead(compose("Pricelist.new"));
}
bool DataFiles::OpenPriceWorkForRead() {
    return priceWork.openRead(compose("Pricelist.wrk"));
}
bool DataFiles::OpenPriceWorkForAppend() {
    return priceWork.openAppendElseRewrite(compose("Pricelist.wrk"));
}
