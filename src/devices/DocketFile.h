#pragma once

#include "store/TextRewriter.h"

#include <optional>
#include <string>

struct Configuration;
struct CurrentArticle;
struct SaleState;

// The docket of a sale or an expense, written to Docket.Prn in the data
// directory one printed line per file line, each line led by the digit of
// its docket row (whose printer codes the docket printing program applies).
// The order: StartDocket, WriteDocketLine per line, WriteDocketTotals,
// FinishDocket, then the docket is printed.
//
// The lines go to a temporary name and replace the last docket only when
// FinishDocket closes it, so a reprint never finds half a docket. A failing
// write throws IoError.
class DocketFile {
  public:
    // Creates the docket and writes rows 1 to 3; false when the file cannot
    // be created (nothing is written then).
    bool StartDocket(const std::string& dataDir, const Configuration& config);
    bool isOpen() const { return m_file.has_value(); }
    // The current article or expense line: one line wide, two narrow.
    void WriteDocketLine(const Configuration& config, const CurrentArticle& article,
                         const SaleState& sale);
    // Separator, totals, paid-with lines and the served-by line, followed by
    // the till's line when `till` is a till number (0: none).
    void WriteDocketTotals(const Configuration& config, const SaleState& sale,
                           const std::string& clockText, const std::string& dateText, int till = 0);
    // A line of the article row as it stands.
    void writeLine(const std::string& line);
    // Rows 7 to 9 and PushOut feed lines; the docket replaces the last one.
    // It counts as finished even when that fails: the next sale starts anew.
    void FinishDocket(const Configuration& config);
    // Drops an unfinished docket; the last finished one stays for a reprint.
    void abandon() { m_file.reset(); }

  private:
    std::optional<TextRewriter> m_file;
    // The name on the last served-by line: a sales person without a name of
    // their own is served by the last one named.
    std::string m_servedByName;
};
