#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

// What has happened to the stock since the price work copy took it from
// Inventory.dat: the sales recorded in the takings that Inventory.dat does
// not hold yet, and the changes applied from the inventory update screen.
// The work copy's stock and the ledger together are the stock as it is now.
class StockLedger {
  public:
    // The work copy was built afresh: nothing has happened since.
    void restart() { m_change.clear(); }
    // A line of the takings: a sale takes stock away, a return brings it back.
    void sold(std::string_view code, double quantity) { m_change[key(code)] -= quantity; }
    // A change applied to Inventory.dat.
    void changed(std::string_view code, double quantity) { m_change[key(code)] += quantity; }
    double now(std::string_view code, double workCopyStock) const {
        auto found = m_change.find(key(code));
        return found == m_change.end() ? workCopyStock : workCopyStock + found->second;
    }

  private:
    // Codes are kept without the blanks that pad them to 13 columns.
    static std::string key(std::string_view code) {
        while (!code.empty() && code.back() == ' ')
            code.remove_suffix(1);
        return std::string(code);
    }

    std::unordered_map<std::string, double> m_change;
};
