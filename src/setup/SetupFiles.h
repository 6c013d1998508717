#pragma once

#include "store/Configuration.h"
#include "store/Options.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The files the setup screen looks after besides the configuration's layout.
namespace SetupFiles {

// Erases Docket.Dat from the data directory, whatever the case of its name;
// anything by that name that is not a plain file (a folder) is left alone.
void EraseDocketDat(const std::string& dataDir);

// A sales person whose code changes while Spersons.dat holds figures under
// the old one: the consolidation credits figures by code, so they would leave
// the month's figures unless they move with the person.
struct CodeChange {
    size_t person; // 0..4
    std::string from;
    std::string to; // empty: the person has no code any more
};
std::vector<CodeChange> CodeChangesWithFigures(const std::string& dataDir,
                                               const Configuration& before,
                                               const Configuration& after);
std::string MoveQuestion(const CodeChange& change);
// What becomes of figures that stay under the old code.
std::string StayNote(const CodeChange& change, const Configuration& after);
// Spersons.dat with the figures of the persons marked in `move` under their
// new codes.
std::string MovedFigures(const std::string& dataDir, const Configuration& before,
                         const Configuration& after, const std::array<bool, 5>& move);

// What one save of the setup changes.
struct SettingsChange {
    Configuration config;
    // None: Options.dat stays as it is.
    std::optional<Options> options;
    // The new Spersons.dat, when figures move to new codes.
    std::optional<std::string> salesPersons;
};

// Writes Configur.dat, and Options.dat and Spersons.dat when they change,
// together: every new file is written in full first and all take effect at
// once, so a crash leaves all old or all new. A read-only file among them
// throws IoError naming it, and nothing changes. `stopAfter` is for tests:
// the commit stops after that many of its steps, as a crash would, and the
// next start finishes it.
void SaveSettings(const std::string& dataDir, const SettingsChange& change,
                  size_t stopAfter = static_cast<size_t>(-1));

} // namespace SetupFiles
