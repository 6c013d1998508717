#pragma once

#include <string>
#include <vector>

// A docket of plain text lines in the article row (the day's totals), each
// led by a blank, replacing the last docket at docketPath. A sale's docket is
// a DocketFile.
void WriteTotalsDocket(const std::string& docketPath, const std::vector<std::string>& lines);
