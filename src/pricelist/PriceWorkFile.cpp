#include "inventory/InventoryFile.h"
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

// The price line's three numbers as the reading above finds them, when each
// would be written back unchanged: the work copy line then takes them as
// they are, without reading and writing them again.
bool copyableNumbers(std::string_view line, std::string_view (&numbers)[3]) {
    if (line.size() < HeadLength || line.substr(0, HeadLength).find('\r') != std::string_view::npos)
        return false;
    size_t pos = HeadLength;
    for (std::string_view& number : numbers) {
        while (pos < line.size() && static_cast<unsigned char>(line[pos]) <= ' ')
            ++pos;
        const size_t start = pos;
        while (pos < line.size() && static_cast<unsigned char>(line[pos]) > ' ')
            ++pos;
        number = line.substr(start, pos - start);
    }
    return WritesBackUnchanged(numbers[0], 2) && WritesBackUnchanged(numbers[1], 2) &&
           WritesBackUnchanged(numbers[2], -1);
}

void appendPadded(std::string& out, std::string_view text, size_t width) {
    if (text.size() < width) out.append(width - text.size(), ' ');
    out += text;
}

// The stock column, added to `out`; `scratch` is reused from line to line.
void appendStockColumn(std::string& out, double stock, std::string& scratch) {
    scratch.clear();
    AppendFixed(scratch, stock, 5, 0);
    // The minmax number comes right before: a stock that fills the column
    // would run into it and both would read back as one number.
    if (scratch.front() != ' ') out += ' ';
    out += scratch;
}

void appendWorkLine(std::string& out, const PriceLine& price) {
    out += price.head;
    out += ' ';
    AppendFixed(out, price.wholesalePrice, 10, 2);
    out += ' ';
    AppendFixed(out, price.salePrice, 10, 2);
    out += ' ';
    AppendInteger(out, price.minmax, 5);
}

// Inventory.dat holds one line per price list line, in the same order; when
// it runs out early the remaining articles get stock 0.
class InventorySource {
  public:
    InventorySource(DataFiles& files, bool inventoryOn)
        : m_file(inventoryOn ? files.OpenInventoryForRead() : std::nullopt) {}

    // A faulty line counts as stock 0; the first one is remembered for the report.
    double nextStock() {
        if (!m_file || !m_file->readFullLine(m_line)) return 0;
        ++m_lineNumber;
        double stock = 0;
        if (ParseInventoryStock(m_line, stock)) return stock;
        if (m_firstFaulty == 0) m_firstFaulty = m_lineNumber;
        return 0;
    }
    size_t firstFaultyLine() const { return m_firstFaulty; }

  private:
    size_t m_lineNumber = 0;
    size_t m_firstFaulty = 0;
    std::optional<TextReader> m_file;
    std::string m_line;
};

} // namespace

bool BuildPriceWorkFile(DataFiles& files, TextReader& priceList, TextAppender& priceWork,
                        const Configuration& config, Notices& notices) {
    const bool withInventory = config.InventoryOn;
    const std::string_view withoutStock = "    0";
    InventorySource inventory(files, withInventory);

    // The work copy is composed in a text written in pieces that stay in the
    // caches: start-up does this for every line of the list.
    constexpr size_t WriteEvery = 1 << 18;
    std::string work;
    work.reserve(WriteEvery + 4096);
    std::string scratch;
    bool priceListError = false;
    std::string line;
    PriceLine price;
    std::string_view numbers[3];
    while (priceList.readFullLine(line)) {
        priceListError = false;
        const bool copyable = copyableNumbers(line, numbers);
        if (!copyable && !readPriceLine(line, price)) {
            notices.push_back({LoaderMessage});
            priceListError = true;
        }
        // Read for every line, faulty or not, so the two files stay in step.
        double stock = withInventory ? inventory.nextStock() : 0;
        if (copyable) {
            work += std::string_view(line).substr(0, HeadLength);
            work += ' ';
            appendPadded(work, numbers[0], 10);
            work += ' ';
            appendPadded(work, numbers[1], 10);
            work += ' ';
            appendPadded(work, numbers[2], 5);
        } else if (!priceListError) {
            appendWorkLine(work, price);
        }
        if (!priceListError) {
            if (withInventory)
                appendStockColumn(work, stock, scratch);
            else
                work += withoutStock;
            work += "\r\n";
            if (work.size() >= WriteEvery) {
                priceWork.write(work);
                work.clear();
            }
        }
    }
    priceWork.write(work);
    if (size_t faulty = inventory.firstFaultyLine())
        notices.push_back({"Faulty line " + std::to_string(faulty) + " in file " +
                           files.pathOf("Inventory.dat") + ": its stock is taken as 0."});
    if (priceList.ioError()) {
        // The rest of the list could not be read: as faulty as a bad line.
        notices.push_back({LoaderMessage});
        priceListError = true;
    }
    return priceListError;
}
