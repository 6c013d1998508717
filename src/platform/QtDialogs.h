#pragma once

#include "platform/Dialogs.h"

class QWidget;

// Message boxes on the desktop. A box takes no key in its first 300 ms: keys
// typed ahead for the screen are dropped with a beep, never taken as an answer.
class QtDialogs : public Dialogs {
  public:
    static constexpr int TypeAheadMilliseconds = 300;

    void message(const std::string& text) override;
    Answer confirm(const std::string& text, Buttons buttons,
                   std::optional<Position> at = std::nullopt) override;
    std::optional<std::string> askText(const std::string& text) override;
    void beep() override;
    std::optional<std::string> askSecret(const std::string& text) override;

  private:
    std::optional<std::string> ask(const std::string& text, bool secret);
};
