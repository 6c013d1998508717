#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The codes of a list of lines, indexed so that the first line carrying a
// code is found in one probe or a few: the double-entry check and the
// inventory realignment look up every line of lists of 100,000 in it. The
// index keeps views of the caller's codes, which must outlive it.
class CodeIndex {
  public:
    explicit CodeIndex(const std::vector<std::string_view>& codes);
    // The first line with this code, or npos.
    size_t find(std::string_view code) const;
    // The first line with the code of line i (i itself when it is the first).
    size_t firstOf(size_t i) const { return m_first[i]; }

  private:
    size_t slotOf(std::string_view code) const;

    const std::vector<std::string_view>& m_codes;
    std::vector<uint32_t> m_slots; // line index + 1; 0 is empty
    std::vector<uint32_t> m_first;
    size_t m_mask = 0;
};

// The lines of a file read whole, as views into its bytes, by the rules of
// TextReader::readFullLine: a line ends at LF and loses a CR at its end. False
// when the file cannot be opened or read.
bool ReadWholeLines(const std::string& path, std::string& bytes,
                    std::vector<std::string_view>& lines);
