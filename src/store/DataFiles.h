#pragma once

#include "store/TextAppender.h"
#include "store/TextReader.h"
#include "store/TextRewriter.h"

#include <optional>
#include <string>
#include <string_view>

// The data directory and the openers of its files. An opener composes the
// path into CurrentFileName and hands back the file open in its fixed mode,
// or nothing when it cannot be opened; the caller keeps the file for as long
// as it uses it. Openers never throw and never show anything: the caller
// decides what a missing file means.
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

    // Inventory.dat
    [[nodiscard]] std::optional<TextRewriter> OpenInventoryForWrite();
    [[nodiscard]] std::optional<TextReader> OpenInventoryForRead();
    // Inventory.wrk
    [[nodiscard]] std::optional<TextRewriter> OpenInventoryWorkForWrite();
    [[nodiscard]] std::optional<TextReader> OpenInventoryWorkForRead();
    // Inventory.new
    [[nodiscard]] std::optional<TextReader> OpenInventoryNewForRead();
    [[nodiscard]] std::optional<TextAppender> OpenInventoryNewForAppend();
    // Spersons.dat
    [[nodiscard]] std::optional<TextRewriter> OpenSalesPersonsForWrite();
    [[nodiscard]] std::optional<TextReader> OpenSalesPersonsForRead();
    // Pricelist.dat
    [[nodiscard]] std::optional<TextAppender> OpenPriceListForAppend();
    // Pricelist.new
    [[nodiscard]] std::optional<TextRewriter> OpenPriceListNewForWrite();
    [[nodiscard]] std::optional<TextReader> OpenPriceListNewForRead();
    // Pricelist.wrk
    [[nodiscard]] std::optional<TextReader> OpenPriceWorkForRead();
    [[nodiscard]] std::optional<TextAppender> OpenPriceWorkForAppend();

  private:
    std::string m_dataDir;
};
