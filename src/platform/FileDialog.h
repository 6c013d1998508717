#pragma once

#include <optional>
#include <string>
#include <vector>

// The system's open dialog. Paths are in the file system's own encoding, like
// every path the program composes.
class FileDialog {
  public:
    struct Filter {
        std::string label;   // what the operator sees, ".dat"
        std::string pattern; // the names it selects, "*.[dD][aA][tT]"
    };

    virtual ~FileDialog() = default;
    // The path the operator chose (it need not exist), or nothing on Cancel.
    virtual std::optional<std::string> open(const std::string& title, const std::string& directory,
                                            const std::vector<Filter>& filters) = 0;
};
