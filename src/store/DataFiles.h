#pragma once

#include "store/TextFile.h"

#include <string>
#include <string_view>

// The data directory and the openers of its files. Each file has one handle;
// an opener composes the path into CurrentFileName, opens the handle in its
// fixed mode and reports whether it opened. Openers never throw and never
// show anything: the caller decides what a missing file means.
class DataFiles {
  public:
    explicit DataFiles(std::string dataDir = {});

    const std::string& DataDir() const { return m_dataDir; }
    void setDataDir(std::string dataDir) { m_dataDir = std::move(dataDir); }

    // The full path of a data file (an existing file keeps its own spelling)
    // also stored as CurrentFileName.
    const std::string& compose(std::string_view name);
    // The full path without touching CurrentFileName.
    std::string pathOf(std::string_view name) const;

    std::string CurrentFileName;

    TextFile inventory;     // Inventory.dat
    TextFile inventoryWork; // Inventory.wrk
    TextFile inventoryNew;  // Inventory.new
    TextFile salesPersons;  // Spersons.dat
    TextFile priceList;     // Pricelist.dat
    TextFile priceListNew;  // Pricelist.new
    TextFile priceWork;     // Pricelist.wrk

    bool OpenInventoryForWrite();
    bool OpenInventoryWorkForWrite();
    bool OpenInventoryWorkForRead();
    bool OpenInventoryForRead();
    bool OpenInventoryNewForRead();
    bool OpenInventoryNewForAppend();
    bool OpenSalesPersonsForWrite();
    bool OpenSalesPersonsForRead();
    bool OpenPriceListForAppend();
    bool OpenPriceListNewForWrite();
    bool OpenPriceListNewForRead();
    bool OpenPriceWorkForRead();
    bool OpenPriceWorkForAppend();

  private:
    std::string m_dataDir;
};
