#pragma once

#include <optional>
#include <string>
#include <vector>

// The lines of a help file, addressed by index from 0; nothing when the file
// cannot be read.
std::optional<std::vector<std::string>> LoadHelpLines(const std::string& path);

// The message for a help file that is missing.
std::string HelpFileMissingText(const std::string& path);
