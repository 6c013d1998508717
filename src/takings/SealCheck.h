#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The check of the sealed books: the journal's chain over every journal,
// live and archived, every takings line and archive against its seal, and
// every lasting file against its last seal: changed, missing, or there
// without one. A difference that a line of Audit.dat explains (the file as
// it stands is what that change left) is listed apart. It only reads.
struct SealCheck {
    // One line per finding, naming the file and, for a line, its number.
    std::vector<std::string> findings;
    // The differences Audit.dat explains, each "EXPLAINED ...".
    std::vector<std::string> explained;
    // The files named by the findings, each once.
    std::vector<std::string> findingFiles;
    size_t journalLines = 0;
    size_t takingsLines = 0;
    size_t files = 0;
    bool unreadableShop = false;
};

SealCheck CheckSeals(const std::string& dataDir);

// The exit status of zorvi-verify: 0 when all holds (explained differences
// included), 1 when something differs, 2 when the shop cannot be read.
int SealCheckStatus(const SealCheck& check);

// What the check prints: its findings, or one OK line with what it checked;
// then the differences explained.
std::vector<std::string> SealCheckReport(const SealCheck& check);
