#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The check of the sealed takings: the journal's chain over every journal,
// live and archived, and every takings line and archive against its seal.
// It only reads.
struct SealCheck {
    // One line per finding, naming the file and, for a line, its number.
    std::vector<std::string> findings;
    size_t journalLines = 0;
    size_t takingsLines = 0;
    size_t files = 0;
    bool unreadableShop = false;
};

SealCheck CheckSeals(const std::string& dataDir);

// What the check prints: its findings, or one OK line with what it checked.
std::vector<std::string> SealCheckReport(const SealCheck& check);
