#pragma once

#include "platform/DateTime.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// One folder under tests/golden/: the files of a shop's data directory before
// (input/), what is done to them (case.txt) and the files afterwards
// (expected/). case.txt holds one instruction a line, a word and the rest of
// the line; "#" starts a comment. The runners say which words they take.
struct GoldenCase {
    struct Step {
        int line = 0;
        std::string word;
        std::string rest;
    };
    std::string name;
    std::vector<Step> steps;
    std::map<std::string, std::string> input, expected;

    // The first step of that word, or nullptr.
    const Step* find(const std::string& word) const;
};

using GoldenFiles = std::map<std::string, std::string>;

// Every file under a directory by its path there ("Acks/T01/ack-..."), with
// its bytes; none when the directory is missing.
GoldenFiles GoldenFilesIn(const std::filesystem::path& dir);
GoldenCase ReadGoldenCase(const std::filesystem::path& dir);
// Every case folder under tests/golden/.
std::vector<GoldenCase> ReadGoldenCases();
// "YYYY-MM-DD" into the date of `into`; false when it is no date.
bool ParseGoldenDate(const std::string& text, DateTime& into);
// A text argument, with "\r", "\n", "\t" and "\\" as escapes; a text wholly
// in double quotes loses them, so blanks at either end stay.
std::string GoldenText(std::string text);
