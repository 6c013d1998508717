#pragma once

#include <functional>
#include <optional>
#include <string>

// A screen font as the font dialog hands it over.
struct FontChoice {
    std::string family;
    double pointSize = 0;
    bool bold = false;
    bool italic = false;
};

// The system's font dialog, offering fixed-pitch fonts only, with an Apply
// button that lets the operator try a font before closing the dialog.
class FontDialog {
  public:
    virtual ~FontDialog() = default;
    // The font chosen with OK, or nothing on Cancel. `apply` is called with
    // the dialog's font at each press of Apply.
    virtual std::optional<FontChoice>
    choose(const FontChoice& initial, const std::function<void(const FontChoice&)>& apply) = 0;
};
