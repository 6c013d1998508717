#pragma once

#include "consolidation/RunDates.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct Configuration;

// After each close a till with a till number leaves the day's lasting records
// in Outbox/YYYYMMDD-Tnn-Zn/ of its data directory, for Syncthing to carry to
// the office: the archived takings, the day's lines of Daybyday.dat, its
// sales-person figures (Spersons.dat's layout), the day's archives of
// Cashup.dat and Journal.dat where there are such, and Manifest.txt. The
// folder is written whole under a name Syncthing ignores and then renamed, so
// the office never sees half a day; afterwards the till leaves it alone until
// the office's acknowledgement (Inbox/ack-<folder>) is older than 30 days.

struct OutboxDay {
    std::string dataDir;
    const Configuration& config;
    // The run's dates: the day is filed under the day the run began.
    RunDates dates;
    // The name the takings file was archived under.
    std::string takingsArchive;
    long z = 0;
};

struct OutboxOptions {
    // For tests: stop after writing this many files, as a crash would.
    size_t stopAfter = static_cast<size_t>(-1);
    bool sync = true;
};

// The day's date as YYYYMMDD.
std::string OutboxDate(const RunDates& dates);

// The files of the day's folder, by name, with their bytes (no manifest).
// Throws IoError when a file of the day cannot be read.
std::vector<std::pair<std::string, std::string>> DayOutboxFiles(const OutboxDay& day);

// Writes the day's folder for till `till` and prunes what the office has
// acknowledged. Empty when done; otherwise what the operator is told (the
// close itself stands).
std::string WriteDayOutbox(const OutboxDay& day, int till, const OutboxOptions& options = {});

// Outbox.due in the data directory: the closed days whose folder is still to
// be written, one a line: till, Z, takings archive, year, month and day text,
// then the date text to the end of the line. The close stages the day's line
// in its own all-or-nothing commit, so a crash between the close and the
// folder leaves the day on the list, and the next start writes it from the
// archived files.
constexpr const char* OutboxDueName = "Outbox.due";

// Outbox.due with the closed day added, when Options.dat gives this till a
// number (a shop with one till and no office gathers no folders); the Z
// number is the closing count line's. Nothing when the day is not sent.
std::optional<std::string> OutboxDueWith(const std::string& dataDir, const RunDates& dates,
                                         const std::string& takingsArchive,
                                         const std::string& closingCountLine);

// Writes the folder of each day on Outbox.due that has none yet and takes it
// off the list; a day whose folder is there already is only taken off, so no
// day is ever sent twice. Empty when done; otherwise what the operator is
// told (the days stay on the list for the next start).
std::string SendDueDays(const std::string& dataDir, const Configuration& config,
                        const OutboxOptions& options = {});

// Removes the folders of days more than 30 days before `today` (YYYYMMDD)
// whose acknowledgement is in Inbox/.
void PruneOutbox(const std::string& dataDir, const std::string& today);

// Outbox/.stignore: keeps folders still being written out of Syncthing's sight.
std::string OutboxIgnoreText();
