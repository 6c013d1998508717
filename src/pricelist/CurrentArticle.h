#pragma once

#include <string>

// The article found by the last lookup of EnteredCode.
struct CurrentArticle {
    char ArticleMarker = ' ';
    std::string ArticleCode;
    std::string ArticleDescription;
    double WholesalePrice = 0;
    double SalePrice = 0;
    long StockLevel = 0;
    long StockOnHand = 0;
};
