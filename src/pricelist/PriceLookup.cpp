#include "pricelist/CurrentArticle.h"
#include "pricelist/PriceList.h"
#include "store/LineFields.h"
#include "store/ProgramState.h"
#include "store/TextReader.h"
#include "till/SaleState.h"

namespace {

constexpr size_t CodeColumn = 1;
constexpr size_t CodeLength = 13;

// Marker and code as the text reads take them from a line's start: the code
// is at most 13 characters and ends at a line end.
void takeMarkerAndCode(std::string_view start, CurrentArticle& article) {
    if (start.empty()) return;
    article.ArticleMarker = start[0];
    std::string_view code = start.substr(CodeColumn, CodeLength);
    article.ArticleCode.assign(code.substr(0, code.find('\r')));
}

bool readArticle(std::string_view line, CurrentArticle& article) {
    LineFields fields(line);
    char marker = fields.readChar();
    std::string_view code = fields.readText(CodeLength);
    fields.readChar();
    std::string_view description = fields.readText(26);
    double wholesalePrice = 0, salePrice = 0;
    long stockLevel = 0, stockOnHand = 0;
    if (!fields.readReal(wholesalePrice) || !fields.readReal(salePrice) ||
        !fields.readInteger(stockLevel) || !fields.readInteger(stockOnHand))
        return false;
    article.ArticleMarker = marker;
    article.ArticleCode.assign(code);
    article.ArticleDescription.assign(description);
    article.WholesalePrice = wholesalePrice;
    article.SalePrice = salePrice;
    article.StockLevel = stockLevel;
    article.StockOnHand = stockOnHand;
    return true;
}

// A code that cannot equal EnteredCode, for a search that found nothing to
// leave behind: an empty work copy must not let the code of an earlier
// lookup count as found.
std::string notFound(const std::string& EnteredCode) {
    return EnteredCode.empty() ? std::string(" ") : std::string();
}

// A line whose numbers cannot be read counts as not found: the loader writes
// only lines it could read, so such a line was damaged afterwards.
void takeFoundLine(std::string_view line, const std::string& EnteredCode, CurrentArticle& article) {
    if (!readArticle(line, article)) article.ArticleCode = notFound(EnteredCode);
}

bool scannable(const std::string& code) {
    return code.size() == CodeLength && code.find_first_of("\r\n") == std::string::npos;
}

} // namespace

void FindArticle(TextReader& priceWork, const std::string& EnteredCode, CurrentArticle& article) {
    std::string line;
    if (scannable(EnteredCode)) {
        std::string lastPassed;
        if (priceWork.skipToLineWith(CodeColumn, EnteredCode, &lastPassed)) {
            priceWork.readFullLine(line);
            takeFoundLine(line, EnteredCode, article);
            return;
        }
        article.ArticleCode = notFound(EnteredCode);
        takeMarkerAndCode(lastPassed, article);
        return;
    }
    // A code of another length can only match a damaged line; it is looked
    // for line by line.
    article.ArticleCode = notFound(EnteredCode);
    while (priceWork.readFullLine(line)) {
        takeMarkerAndCode(line, article);
        if (article.ArticleCode == EnteredCode) {
            takeFoundLine(line, EnteredCode, article);
            return;
        }
    }
}
