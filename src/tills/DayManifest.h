#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Manifest.txt: what a closed day sent from a till holds. CR LF lines:
//
//   till=2
//   date=20261207              the day, YYYYMMDD
//   z=41                       the day's Z number
//   file=NAME SIZE SHA256      one line per file of the folder, by name
//
// The office merges a day only when every file is there with its size and
// digest, and nothing else is. This module is the file's only reader and
// writer, and owns the day folder's name, YYYYMMDD-Tnn-Zn.

struct ManifestFile {
    std::string name;
    std::uint64_t size = 0;
    std::string sha256; // 64 lower-case hex digits
};

struct DayManifest {
    int till = 0;
    std::string date;
    long z = 0;
    std::vector<ManifestFile> files;
};

constexpr std::string_view ManifestName = "Manifest.txt";
// A day folder is written under its name with this added, which Syncthing
// is told to ignore, and renamed when it is whole.
constexpr std::string_view PartialSuffix = ".partial";

// The entry of a file with these bytes.
ManifestFile ManifestEntry(const std::string& name, std::string_view bytes);
std::string ManifestText(const DayManifest& manifest);
// The manifest in `text`; nothing, with `fault` saying which line and why,
// when it is not one.
std::optional<DayManifest> ParseManifest(std::string_view text, std::string& fault);

// "20261207-T02-Z41".
std::string DayFolderName(int till, const std::string& date, long z);
// The till, date and Z of a folder name; nothing for any other name.
std::optional<DayManifest> ParseDayFolderName(std::string_view name);
