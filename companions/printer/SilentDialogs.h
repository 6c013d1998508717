#pragma once

#include "platform/Dialogs.h"

// The companion programs run hidden: nobody would see a box, so they say
// nothing and answer Cancel.
class SilentDialogs : public Dialogs {
  public:
    void message(const std::string&) override {}
    Answer confirm(const std::string&, Buttons, std::optional<Position>) override {
        return Answer::Cancel;
    }
};
