#pragma once

#include <string>
#include <string_view>

// The lines of a file's text already in memory, without their line ends (CR
// LF, or a bare LF), numbered from 1. A last line without a line end counts;
// the empty rest after the last line end does not.
template <typename F> void ForEachLine(std::string_view text, F&& f) {
    size_t number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        if (end > start && text[end - 1] == '\r') --end;
        f(text.substr(start, end - start), ++number);
        start = next;
    }
}

// Reads a whole file of the data directory; empty when there is none. Throws
// IoError when it is there but cannot be opened or read.
std::string ReadWholeFile(const std::string& path);
