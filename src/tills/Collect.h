#pragma once

#include <string>
#include <vector>

// The office's side: the days the tills have sent, as Syncthing delivers them
// to OFFICEDIR/Tills/Tnn/YYYYMMDD-Tnn-Zn/, are checked against their
// manifests and added to the office's own Daybyday.dat (each till's lines
// and the total of each date, see OfficeDayByDay.h) and Spersons.dat, each
// day exactly once. Collected.dat in OFFICEDIR lists the days merged (folder
// name, manifest digest and the day's cash, cheque, credit, takings and tax,
// one a line), from which Balance.dat and Balance.Tot are made again for the
// whole shop with each till's subtotals; all of them change in one
// all-or-nothing commit. Each merged day is then acknowledged with an empty
// file OFFICEDIR/Acks/Tnn/ack-<folder>, which goes back to the till's Inbox.
//
// A second copy of a day that was merged, a conflict copy made by Syncthing,
// a folder that does not match its manifest, and two days of one till under
// one Z number are reported and never merged. Running it again on the same
// folders changes nothing. A day dated after the office's today, or before a
// day the till closed earlier, is merged and reported: a till's clock is wrong.

struct CollectResult {
    // One line per day merged now, then the takings of each date of them.
    std::vector<std::string> merged;
    // What is wrong, each naming the folder or file.
    std::vector<std::string> findings;
    // The office directory could not be read or written; nothing was merged.
    bool unusable = false;
};

// `today` (YYYYMMDD, the office's date) finds days dated in the future.
CollectResult Collect(const std::string& officeDir, const std::string& today);

// The office's ledger of merged days.
constexpr const char* CollectedName = "Collected.dat";
