#pragma once

#include "forms/ZorviScreen.h"

// A screen that is not built yet: it has its caption and size, and Esc (like
// its close button) returns to the main screen.
class PlaceholderScreen : public ZorviScreen {
    Q_OBJECT
  public:
    PlaceholderScreen(ProgramState& state, Services& services, const QString& caption, int width,
                      int height, QWidget* parent = nullptr);

    // The consolidation's stand-in: it stays centred, and leaving it ends the
    // day, so the main screen closes the program when it is shown again.
    void setEndsTheDay(bool on) { m_endsTheDay = on; }
    void leaveToMain() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool followsSharedPosition() const override { return !m_endsTheDay; }

  private:
    bool m_endsTheDay = false;
};
