#pragma once

#include <stdexcept>
#include <string>

// A reason the consolidation stops before it has changed anything; the text
// is shown to the operator as it is.
class ConsolidationError : public std::runtime_error {
  public:
    explicit ConsolidationError(const std::string& text) : std::runtime_error(text) {}
};

// The text for a line of a data file that cannot be read.
std::string UnreadableLineText(const std::string& path, size_t lineNumber);
