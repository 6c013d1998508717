#pragma once

#include <string>
#include <vector>

// Removing the program from the shop's computer. The program cannot delete
// itself while it runs, and there is no list of files to delete at the next
// start of the system, so the files are recorded when the operator confirms
// and deleted when the program ends.

struct RemovalRecord {
    // Empty when the directory may be emptied; else why not, for the operator.
    std::string refusal;
    // The plain files and links directly in the directory, by full path.
    std::vector<std::string> paths;
};

// Records the files of `dataDir` (ending in its separator), but not the
// backups kept there, which outlive the program, nor the audit trail
// (Audit.dat), which records the removal itself. Refused unless
// the directory holds the program `programName` and its help files: a
// program wrongly installed in a directory shared with other files must not
// empty it.
RemovalRecord RecordProgramFiles(const std::string& dataDir, const std::string& programName);

// Deletes each recorded path that is still a plain file or a link (a link
// itself, never what it points to). Nothing else is touched: no directory,
// nothing below one. Returns the paths that could not be deleted.
std::vector<std::string> RemoveRecordedFiles(const std::vector<std::string>& paths);
