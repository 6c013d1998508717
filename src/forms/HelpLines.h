#pragma once

#include <string>
#include <vector>

class Dialogs;

// A screen's help lines, loaded from its help file when it is activated.
class HelpLines {
  public:
    explicit HelpLines(Dialogs& dialogs) : m_dialogs(dialogs) {}
    // Loads the file; a missing one is reported and leaves every line empty.
    bool load(const std::string& path);
    // The line at index i (from 0), empty when there is none.
    std::string line(size_t i) const;
    const std::vector<std::string>& lines() const { return m_lines; }

  private:
    Dialogs& m_dialogs;
    std::vector<std::string> m_lines;
};
