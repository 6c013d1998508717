#pragma once
#include "pricelist/CurrentArticle.h"
#include "till/SaleState.h"

#include "store/Notice.h"
#include "store/TextAppender.h"
#include "store/TextReader.h"

#include <optional>
#include <string>

class DataFiles;
struct Configuration;
struct CurrentArticle;

// The price list Pricelist.dat (66-character lines: marker, code, blank,
// description, blank, wholesale price, blank, sale price, blank, minmax) and
// its work copy Pricelist.wrk, which adds the stock on hand and is what the
// sales and expense screens search.

inline constexpr const char* PriceListSampleLine =
    " SAMPLE___CODE Sample entry of an article       0.00       0.00  0";
inline constexpr size_t PriceListLineLength = 66;

// When there is no Pricelist.dat at all, the operator is offered one with
// the sample line (OK/Cancel). A list that is there but cannot be read is not
// "not found": creating one would only append a sample line to it.
inline constexpr const char* PriceListSampleQuestion =
    "A Pricelist was not found !\r\nCreate a Price list with a sample line 0?";
bool PriceListMissing(const DataFiles& files);
// The offer accepted: Pricelist.dat with the sample line.
void CreateSamplePriceList(DataFiles& files);

// Opens DataDir + "Pricelist.dat" for reading; empty when it cannot be.
[[nodiscard]] std::optional<TextReader> OpenPriceList(DataFiles& files);

// Drops every line shorter than 66 characters from Pricelist.dat; a missing
// list is left missing. The new list is built in Pricelist.new and renamed
// over the old one, so whenever the program stops, a complete Pricelist.dat
// is there: the old one or the new one.
void CompactPriceList(DataFiles& files);

// Writes the work copy of the open `priceList` into the open `priceWork`,
// with the stock on hand from Inventory.dat in inventory mode. A line that
// cannot be read is left out and told in `notices`, which are added to as
// the lines are read, so that those of a build an IoError cuts short are
// still there. Returns the price list error flag: true when
// the last line was faulty.
bool BuildPriceWorkFile(DataFiles& files, TextReader& priceList, TextAppender& priceWork,
                        const Configuration& config, Notices& notices);

// Looks EnteredCode up in the work copy, which the caller has opened from its
// start. The article was found when article.ArticleCode == EnteredCode
// afterwards; otherwise only ArticleMarker and ArticleCode have changed.
void FindArticle(TextReader& priceWork, const std::string& EnteredCode, CurrentArticle& article);

// The price list's part of the program start, in two steps around the offer
// of a sample list, which the caller makes when the list is missing after the
// first step, and again before the second.
//
// The first removes a left-over work copy and compacts the price list. A
// compaction that fails leaves the list as it was and is told.
Notices TidyPriceList(DataFiles& files);

struct PriceWorkPreparation {
    // Whether the price list could be opened.
    bool opened = false;
    // The price list error flag of BuildPriceWorkFile.
    bool priceListError = false;
    Notices notices;
};

// The second opens the price list and builds the work copy, then closes both.
// An IoError abandons the work copy and is told as the last notice: the old
// files serve the day all the same.
PriceWorkPreparation PreparePriceWork(DataFiles& files, const Configuration& config);
