#pragma once

#include <string>
#include <string_view>

// File names in the data directory are matched without regard to case, as on
// the file system the shops' data were first kept on: an existing file keeps
// its own spelling, a new one is created as named.
namespace FileNames {
// Files our code keeps only while it works, and removes when done; the next
// start clears away what a crash or a kill left (with the staging files of
// FileCommit).
inline constexpr std::string_view RewriteSuffix = ".~tmp";    // a new copy before it takes its name
inline constexpr std::string_view ProbeName = "Zorvi.~probe"; // canCreateIn's try
inline constexpr std::string_view ConsolidationLock = "Consolid.lck";
// Held by the running program from its start to its end (see ShopLock).
inline constexpr std::string_view ProgramLock = "zorvi.lck";

std::string resolve(const std::string& dir, std::string_view name);
bool exists(const std::string& path);
// A plain file (through a link), not a device or a directory.
bool regularFile(const std::string& path);
// The name is there, even as a link whose target is gone.
bool named(const std::string& path);
// Whether a new file can be created in the directory (tried, not guessed:
// permissions, a read-only medium and a full directory all count).
bool canCreateIn(const std::string& dir);
bool remove(const std::string& path);
// Throws IoError "The file is read-only" for an existing file its owner has
// made read-only: replacing it would go behind the shop's back.
void requireWritable(const std::string& path);
// Puts the directory's entries on disk, so a file created, renamed or
// deleted there survives a power cut. False (errno set) when it cannot.
bool syncDirectory(const std::string& dir);
// Gives `path` the permission bits of `model`, when there is such a file: a
// file written anew keeps the rights the shop gave the old one.
void copyPermissions(const std::string& model, const std::string& path);
// The directory part of a path, with its trailing separator.
std::string directoryOf(const std::string& path);
} // namespace FileNames
