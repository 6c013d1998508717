#pragma once

#include "platform/Dialogs.h"

class QWidget;

// Message boxes on the desktop.
class QtDialogs : public Dialogs {
  public:
    void message(const std::string& text) override;
    Answer confirm(const std::string& text, Buttons buttons,
                   std::optional<Position> at = std::nullopt) override;
};
