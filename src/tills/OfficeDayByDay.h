#pragma once

#include <map>
#include <string>
#include <string_view>

// The office's Daybyday.dat, as zorvi-collect makes it: for each date, the
// lines of each till's day, then the shop's total of that date as an
// ordinary day block ("*" heading, "#" and "&" lines). A till's lines come
// under a line naming its folder, and every one of them starts with a blank:
//
//    20261205-T01-Z3
//    *    05/12/26 09:00    ***   05/12/26
//    #  4.0       4.00 ...
//    &                       20.00 ...
//    20261205-T02-Z7
//    *    05/12/26 10:00    ***   05/12/26
//    ...
//   *    05/12/26 all tills    ***   05/12/26
//   #  6.0       5.60 ...
//   &                       20.00 ...
//
// Every reader of Daybyday.dat passes over a line that starts with a blank
// (the period end's archive, the export, the report and the graphs), so each
// of them counts the date once, by its total; the till's lines stay in the
// file for the viewer and for the next run of the collect.

struct OfficeDayLines {
    // The lines of each till's day, by folder name, as the till wrote them
    // (CR LF lines, without the leading blank).
    std::map<std::string, std::string> tills;
    // Lines that are neither a till's nor a date's total: the office's own
    // days from before it collected (a shop directory that was a till's),
    // which stay at the head of the file, as they are.
    std::string own;
};

OfficeDayLines ReadOfficeDayLines(std::string_view text);

// The whole file: `own`, then the days (folder name -> the till's lines) by
// date, and in a date by till and Z, each date closed by its total. Throws
// ConsolidationError naming `path` when a till's lines cannot be summed.
std::string OfficeDayByDay(const OfficeDayLines& lines, const std::string& path);
