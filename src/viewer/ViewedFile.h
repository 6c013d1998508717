#pragma once

#include "platform/FileDialog.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A whole text file as the viewer shows it and, in edit mode, writes it back.
// The viewer knows nothing of the files' layouts; it only keeps what it needs
// to give back an unchanged line exactly as it came: its own line end.

// The open dialog's two entries, .dat and .tot. The shops' files were named
// on a file system that ignores case, so "Balance.Tot" must be offered too.
std::vector<FileDialog::Filter> ViewerFileFilters();
// "*.dat" -> "*.[dD][aA][tT]": a pattern that matches letters in either case.
std::string CaseBlindPattern(std::string_view pattern);

struct ViewedText {
    enum class End : char { None, Lf, CrLf };
    // The lines joined by "\n", without their line ends.
    std::string display;
    // The end of each line; only the last may be None.
    std::vector<End> ends;
};
ViewedText SplitLines(std::string_view bytes);
// The edited text ("\n" between lines) as file bytes: a line keeps the end of
// the line at its place in the original, new lines get CR LF, and the text
// ends with a line end only where the original did.
std::string JoinLines(std::string_view edited, const ViewedText& original);

// A file's date and time stamp, and the same as the 32-bit date-time value of
// the old file systems (local time, 2-second steps), which the screen shows.
struct FileStamp {
    std::filesystem::file_time_type time;
    std::uint32_t packed = 0;
};
std::optional<FileStamp> ReadStamp(const std::string& path);
std::uint32_t PackedDateTime(std::filesystem::file_time_type time);

// Writes `bytes` over the file in one step (temporary file, flushed, renamed),
// keeping its mode, then gives it the stamp. False, with nothing written,
// when the file may not be written to; IoError when the write fails.
bool RewriteKeepingStamp(const std::string& path, std::string_view bytes, const FileStamp& stamp);

// Where a file is printed to when no printer is installed: beside the data
// files, named after it ("Balance.Tot" -> "Balance.Tot.pdf").
std::string PdfPathFor(const std::string& dataDir, const std::string& path);
