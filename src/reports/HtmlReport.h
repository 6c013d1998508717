#pragma once

#include "reports/ReportFigures.h"

#include <string>
#include <string_view>

// The one-page report: the period's totals, its charts drawn as inline SVG,
// and its tables. Well-formed XHTML without scripts, so any XML reader takes
// it; it narrows to a phone's width and prints on A4.

// Text of the data files (Windows-1252) made safe for the page, in UTF-8.
std::string HtmlText(std::string_view cp1252);

// `records` gives the tables of the lasting records (days, sales persons,
// balance, stock) besides the figures worked out from the takings.
std::string MakeHtmlReport(const ShopRecords& records, const ReportFigures& figures,
                           const std::string& title);
