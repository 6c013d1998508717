#include "inventory/InventoryFile.h"
#include "platform/Dialogs.h"
#include "pricelist/PriceList.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/LineFields.h"
#include "store/NumberText.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const char* const LoaderMessage = "There is an Error in the Pricelist\rPress  >Update< + >Update "
                                  "Price list<\rand correct the faulty line.";

// Marker, code, separator and description: copied into the work copy as read.
constexpr size_t HeadLength = 41;

struct PriceLine {
    std::string_view head;
    double wholesalePrice = 0;
    double salePrice = 0;
    long minmax = 0;
};

bool readPriceLine(std::string_view line, PriceLine& out) {
    LineFields fields(line);
    fields.readChar();
    fields.readText(13);
    fields.readChar();
    fields.readText(26);
    if (!fields.readReal(out.wholesalePrice) || !fields.readReal(out.salePrice) ||
        !fields.readInteger(out.minmax))
        return false;
    out.head = line.substr(0, HeadLength);
    // A stray CR in the copied columns would end the work copy line early
    // for every later reader.
    return out.head.find('\r') == std::string_view::npos;
}

// The work copy's stock column is read back as a whole number; a larger
// figure would make its article unfindable.
constexpr double StockLimit = 1e15;

std::string stockColumn(double stock) {
    std::string text = FormatFixed(stock, 5, 0);
    // The minmax number comes right before: a stock that fills the column
    // would run into it and both would read back as one number.
    if (text.front() != ' ') text.insert(0, 1, ' ');
    return text;
}

std::string workLine(const PriceLine& price, const std::string& stock) {
    std::string out;
    out.reserve(80);
    out.append(price.head);
    out += ' ';
    out += FormatFixed(price.wholesalePrice, 10, 2);
    out += ' ';
    out += FormatFixed(price.salePrice, 10, 2);
    out += ' ';
    out += FormatInteger(price.minmax, 5);
    out += stock;
    return out;
}

// Inventory.dat holds one line per price list line, in the same order; when
// it runs out early the remaining articles get stock 0.
class InventorySource {
  public:
    InventorySource(DataFiles& files, bool inventoryOn)
        : m_file(files.inventory), m_open(inventoryOn && files.OpenInventoryForRead()) {}
    ~InventorySource() {
        if (m_open) m_file.close();
    }
    InventorySource(const InventorySource&) = delete;
    InventorySource& operator=(const InventorySource&) = delete;

    // A faulty line counts as stock 0; the first one is remembered for the report.
    double nextStock() {
        if (!m_open || !m_file.readFullLine(m_line)) return 0;
        ++m_lineNumber;
        double stock = 0;
        if (ParseInventoryStock(m_line, stock) && std::fabs(stock) < StockLimit) return stock;
        if (m_firstFaulty == 0) m_firstFaulty = m_lineNumber;
        return 0;
    }
    size_t firstFaultyLine() const { return m_firstFaulty; }

  private:
    size_t m_lineNumber = 0;
    size_t m_firstFaulty = 0;
    TextFile& m_file;
    bool m_open;
    std::string m_line;
};

} // namespace

bool BuildPriceWorkFile(DataFiles& files, const Configuration& config, Dialogs& dialogs) {
    const bool withInventory = config.InventoryOn;
    const std::string withoutStock = "    0";
    InventorySource inventory(files, withInventory);

    bool priceListError = false;
    std::string line;
    PriceLine price;
    while (files.priceList.readFullLine(line)) {
        priceListError = false;
        if (!readPriceLine(line, price)) {
            dialogs.message(LoaderMessage);
            priceListError = true;
        }
        // Read for every line, faulty or not, so the two files stay in step.
        double stock = withInventory ? inventory.nextStock() : 0;
        if (!priceListError)
            files.priceWork.writeLine(
                workLine(price, withInventory ? stockColumn(stock) : withoutStock));
    }
    if (size_t faulty = inventory.firstFaultyLine())
        dialogs.message("Faulty line " + std::to_string(faulty) + " in file " +
                        files.pathOf("Inventory.dat") + ": its stock is taken as 0.");
    if (files.priceList.ioError()) {
        // The rest of the list could not be read: as faulty as a bad line.
        dialogs.message(LoaderMessage);
        priceListError = true;
    }
    return priceListError;
}
