#pragma once

#include "platform/FileDialog.h"

// The open dialog of the desktop.
class QtFileDialog : public FileDialog {
  public:
    std::optional<std::string> open(const std::string& title, const std::string& directory,
                                    const std::vector<Filter>& filters) override;
};
