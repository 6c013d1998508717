#pragma once

#include <string>

// The directory of the running program, with its trailing separator: the
// companion programs keep their files beside themselves, in the data directory.
std::string ProgramDirectory();
