#pragma once

#include <string>
#include <string_view>

// Docket text is Windows-1252. A printer set to another character page by
// ESC t n gets it converted: n 0 is PC437, 2 PC850 and 19 PC858 (PC850 with
// the euro sign); a character the page lacks prints as "?". Any other page
// number is taken to be the printer's number for Windows-1252 itself, and
// the text goes as it is.
std::string ToPrinterPage(std::string_view text, int page);
