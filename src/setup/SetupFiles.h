#pragma once

#include <cstddef>
#include <string>

class Options;
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

// Writes Configur.dat and Options.dat together: both new files are written in
// full first and take effect at once, so a crash leaves both old or both new.
// A read-only Configur.dat throws IoError naming it, and nothing changes.
// `stopAfter` is for tests: the commit stops after that many of its steps,
// as a crash would, and the next start finishes it.
void SaveSettings(const std::string& dataDir, const Configuration& config, const Options& options,
                  size_t stopAfter = static_cast<size_t>(-1));

} // namespace SetupFiles
