#pragma once

#include "backup/BackupName.h"

#include <vector>

// Which backups stay: the last of each of the last `days` days that have a
// backup, the last of each of the last `months` months, the last of each of
// the last `years` years, and always the newest of all. The others go.
struct GenerationCounts {
    long days = 14;
    long months = 12;
    long years = 100;
};

// One answer per stamp, in the stamps' order: true when it stays.
std::vector<bool> KeptGenerations(const std::vector<BackupStamp>& stamps,
                                  const GenerationCounts& counts);
