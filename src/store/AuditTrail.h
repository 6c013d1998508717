#pragma once

#include "platform/DateTime.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Audit.dat: every change made through the program to a sealed or a
// configuration file outside selling, one line each, appended. CR LF, fixed
// columns:
//
//   col   1-10   date (YYYY-MM-DD), col 12-19 time (HH:MM:SS)
//   col  21-32   who: the sales person, or "owner"
//   col  34-49   what was done ("viewer edit", "price list save", ...)
//   col  51-64   the file's name; "*" for every file of the shop
//   col  66-129  SHA-256 of the whole file before the change; zeros when
//                there was no file
//   col 131-194  SHA-256 of the whole file after it; zeros when it is gone
//   col 196-203  the number of lines changed, right-aligned
//
// This module is the file's only reader and writer.

struct AuditEntry {
    DateTime at;
    std::string who = "owner";
    std::string action;
    std::string file;
    std::string before; // 64 hex digits
    std::string after;  // 64 hex digits
    long linesChanged = 0;
};

inline constexpr const char* AuditTrailName = "Audit.dat";
inline constexpr const char* AuditOwner = "owner";

// The hash written for a file that is not there.
std::string AbsentFileHash();

// The entry for a change of `file` from `before` to `after` (nothing: no
// file): both hashes, and the lines changed counted between the first and
// the last line that differ.
AuditEntry AuditChange(const DateTime& at, std::string action, std::string file,
                       const std::optional<std::string_view>& before,
                       const std::optional<std::string_view>& after);

std::string AuditLineText(const AuditEntry& entry);
bool ParseAuditLine(std::string_view text, AuditEntry& entry);

// Appends the entries to the shop's Audit.dat, synced. Throws IoError when
// it cannot.
void appendAudit(const std::string& dataDir, const AuditEntry& entry);
void appendAudit(const std::string& dataDir, const std::vector<AuditEntry>& entries);

// Audit.dat's text with the entries added, for a change that commits
// several files at once to stage.
std::string AuditTextWith(const std::string& dataDir, const std::vector<AuditEntry>& entries);

// The lines of Audit.dat that read; the others are counted in `unreadable`.
std::vector<AuditEntry> ReadAuditTrail(const std::string& dataDir, size_t* unreadable = nullptr);

// The files a change through the program may touch, read before it; after
// it, record() appends a line for each file that differs, and nothing for
// the others.
class AuditSnapshot {
  public:
    AuditSnapshot(std::string dataDir, const std::vector<std::string>& files);
    // Throws IoError when Audit.dat cannot be written.
    void record(const DateTime& at, const std::string& action,
                const std::string& who = AuditOwner) const;

  private:
    std::string m_dataDir;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_before;
};
