#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The two checksum files of a backup. This module is their only reader and
// writer.
//
// The manifest, the archive's last member: what the archive must hold, one
// file a line as "SHA256 SIZE NAME" (the name last, so it may hold blanks),
// after a first line that says what the file is.
//
// The side file NAME.sha256 beside the archive: the archive's own SHA-256 in
// the form sha256sum writes and checks ("SHA256  NAME"), so that
// `sha256sum -c` works on it too.

struct ManifestEntry {
    std::string name; // relative to the shop's directory, "/" between folders
    std::uint64_t size = 0;
    std::string sha256;
};

namespace BackupManifest {
inline constexpr std::string_view MemberName = "zorvi-backup.manifest";

std::string text(const std::vector<ManifestEntry>& entries);
// Empty when the text is not a manifest.
std::optional<std::vector<ManifestEntry>> parse(std::string_view text);

std::string sideFileText(const std::string& sha256, const std::string& archiveName);
// The SHA-256 the side file gives for `archiveName`; empty when it gives none.
std::optional<std::string> parseSideFile(std::string_view text, const std::string& archiveName);
} // namespace BackupManifest
