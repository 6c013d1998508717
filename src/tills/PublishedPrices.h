#pragma once

#include "platform/DateTime.h"
#include "store/Notice.h"

#include <string>

class DataFiles;
struct Configuration;

// The office's price list for the tills. `zorvi-collect --publish-prices`
// puts the list through the same checks a till makes before it takes one, so
// that a list every till would refuse is never sent; then it copies
// OFFICEDIR/Pricelist.dat into OFFICEDIR/Prices/, which Syncthing carries to
// each till's SHOPDIR/Prices/, and writes Published.txt there: one line, the
// time of publishing (YYYYMMDDHHMMSS), a blank and the SHA-256 of the list.
// Published.txt is written last, so a till that has it but not yet the list
// it names sees a digest that does not match and waits.
//
// At its next start a till takes a list newer than the one it took last
// (Prices.got in its data directory, in Published.txt's layout): through
// the price list editor's line check and double-entry check, saved as the
// editor saves (all or nothing, the till's own Inventory.dat kept line by
// line), and noted in Audit.dat when the till keeps one. A list that fails
// a check is refused, with the reason, and the till keeps its own.

inline constexpr const char* PricesFolder = "Prices/";
inline constexpr const char* PublishedName = "Published.txt";
inline constexpr const char* PricesTakenName = "Prices.got";

struct PricesPublished {
    // 0 published; 1 the list fails the check a till makes before it takes
    // one (nothing is published); 2 there is no price list to publish or it
    // cannot be written.
    int status = 0;
    std::string message;
};

PricesPublished PublishPrices(const std::string& officeDir, const DateTime& at);

// What the start tells the operator: nothing when there is no newer list
// (or it has not fully arrived); a note when one was taken; the reason
// when one was refused.
Notices TakePublishedPrices(DataFiles& files, const Configuration& config, const DateTime& now);
