#pragma once
#include "pricelist/CurrentArticle.h"
#include "till/SaleState.h"

#include <string>

class DataFiles;
class Dialogs;
class TextFile;
struct Configuration;
struct CurrentArticle;

// The price list Pricelist.dat (66-character lines: marker, code, blank,
// description, blank, wholesale price, blank, sale price, blank, minmax) and
// its work copy Pricelist.wrk, which adds the stock on hand and is what the
// sales and expense screens search.

inline constexpr const char* PriceListSampleLine =
    " SAMPLE___CODE Sample entry of an article       0.00       0.00  0";
inline constexpr size_t PriceListLineLength = 66;

// Opens DataDir + "Pricelist.dat" into files.priceList and returns whether it
// is open for reading. When there is no such file, offers to create one with
// the sample line; even when that is accepted the result stays false, so the
// caller skips its own work this time and the next call finds the file.
bool OpenPriceListOrOfferSample(DataFiles& files, Dialogs& dialogs);

// Drops every line shorter than 66 characters from Pricelist.dat (offering
// the sample line when it is missing). The new list is built in Pricelist.new
// and renamed over the old one, so whenever the program stops, a complete
// Pricelist.dat is there: the old one or the new one.
void CompactPriceList(DataFiles& files, Dialogs& dialogs);

// Writes the work copy of the open files.priceList into the open
// files.priceWork, with the stock on hand from Inventory.dat in inventory
// mode. A line that cannot be read is reported and left out. Returns the
// price list error flag: true when the last line was faulty.
bool BuildPriceWorkFile(DataFiles& files, const Configuration& config, Dialogs& dialogs);

// Looks EnteredCode up in the work copy, which the caller has opened from its
// start. The article was found when article.ArticleCode == EnteredCode
// afterwards; otherwise only ArticleMarker and ArticleCode have changed.
void FindArticle(TextFile& priceWork, const std::string& EnteredCode, CurrentArticle& article);

// The price list's part of the program start: removes a left-over work copy,
// compacts the price list, opens it (offering the sample line again when it
// is still missing) and builds the work copy, then closes both. Tells through
// priceListOpened whether the price list could be opened; returns the price
// list error flag.
bool PreparePriceList(DataFiles& files, const Configuration& config, Dialogs& dialogs,
                      bool& priceListOpened);
