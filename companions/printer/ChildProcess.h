#pragma once

#include "printer/Deadline.h"

#include <string>
#include <string_view>
#include <vector>

// Runs a program (found on PATH, no shell in between) with `input` on its
// standard input, collecting what it says, and ends it at the deadline.
// Used for the print system's commands; their messages come in the C locale.
struct ChildResult {
    bool started = false;  // false: the program is not installed
    bool finished = false; // false: it was still running at the deadline
    int exitCode = -1;
    std::string output;
    std::string errors;
};

ChildResult RunChild(const std::vector<std::string>& argv, std::string_view input,
                     const Deadline& deadline);

// The first non-empty line of what a program said, for a message.
std::string FirstLine(const std::string& text);
