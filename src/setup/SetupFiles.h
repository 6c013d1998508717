#pragma once

#include <string>

struct Configuration;

// The files the setup screen looks after besides the configuration's layout.
namespace SetupFiles {

// Erases Docket.Dat from the data directory, whatever the case of its name;
// anything by that name that is not a plain file (a folder) is left alone.
void EraseDocketDat(const std::string& dataDir);

// Writes Configur.dat. A file that cannot be written, or one the shop has
// made read-only, throws IoError naming it: the operator must learn that the
// settings were not stored.
void SaveConfiguration(const std::string& path, const Configuration& config);

} // namespace SetupFiles
