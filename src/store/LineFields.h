#pragma once

#include <string>
#include <string_view>

// One line already read from a file, taken apart by the same rules as
// TextReader's reads: a text of at most N characters stops at the end of the
// line, a number skips blanks and control characters before it and ends at
// the next one. Unlike a read from the file, nothing here can run on into
// the next line, so a faulty line never takes its neighbour with it.
class LineFields {
  public:
    explicit LineFields(std::string_view line) : m_line(line) {}

    // A blank at the end of the line.
    char readChar();
    std::string_view readText(size_t maxChars);
    bool readInteger(long& value);
    bool readReal(double& value);
    // Passes over a number as readReal reads it, without working out its
    // value: for the fields a reader checks but does not use.
    bool skipReal();
    // True once a number could not be read.
    bool failed() const { return m_failed; }

  private:
    std::string_view readToken();
    bool readRealInto(double* value);

    std::string_view m_line;
    size_t m_pos = 0;
    bool m_failed = false;
};
