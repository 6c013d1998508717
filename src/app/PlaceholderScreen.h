#pragma once

#include "forms/ZorviScreen.h"

// A screen that is not built yet: it has its caption and size, and Esc (like
// its close button) returns to the main screen.
class PlaceholderScreen : public ZorviScreen {
    Q_OBJECT
  public:
    PlaceholderScreen(ProgramState& state, Services& services, const QString& caption, int width,
                      int height, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};
