#include "inventory/InventoryFile.h"
#include "platform/Dialogs.h"
#include "pricelist/PriceList.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/LineFields.h"
#include "store/NumberText.h"

#include <algorithm>

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

    double nextStock() {
        if (!m_open || !m_file.readFullLine(m_line)) return 0;
        double stock = 0;
        return ParseInventoryStock(m_line, stock) ? stock : 0;
    }

  private:
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
    if (files.priceList.ioError()) {
        // The rest of the list could not be read: as faulty as a bad line.
        dialogs.message(LoaderMessage);
        priceListError = true;
    }
    return priceListError;
}
