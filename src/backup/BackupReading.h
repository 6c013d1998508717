#pragma once

#include "backup/BackupManifest.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads a backup archive from its first byte to its last: the manifest, its
// first member, then every file it lists, in its order, each checked against
// its size and SHA-256 there; and the SHA-256 of the archive's own bytes, for
// its side file. The one reader of the archive, for the check after writing,
// `verify`, `list` and `restore`.

// Receives the files as they are read (restore writes them out).
class BackupMemberSink {
  public:
    virtual ~BackupMemberSink() = default;
    // False, with the reason in `why`, stops the reading.
    virtual bool begin(const ManifestEntry& entry, unsigned mode, std::int64_t modified,
                       std::string& why) = 0;
    virtual bool data(const void* bytes, size_t size, std::string& why) = 0;
    // After the file's last byte, when its size and SHA-256 have matched.
    virtual bool end(std::string& why) = 0;
};

struct BackupReading {
    // The file could not be opened or is no backup of ours at all.
    std::string unusable;
    std::optional<std::vector<ManifestEntry>> manifest;
    // The first file that differs from the manifest ("" when none) and how.
    std::string firstDifference;
    std::string why;
    // Of every byte of the archive file, also those after where reading stopped.
    std::string archiveSha256;
    std::uint64_t archiveBytes = 0;

    bool matches() const { return unusable.empty() && manifest && firstDifference.empty(); }
};

BackupReading ReadBackup(const std::string& path, BackupMemberSink* sink = nullptr,
                         const std::atomic<bool>* cancel = nullptr);

// The SHA-256 of a whole file; empty with the reason in `why` when it cannot
// be read.
std::string FileSha256(const std::string& path, std::string& why);
