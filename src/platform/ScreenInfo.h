#pragma once

// The display the screens open on, in the units the screens are laid out in.
class ScreenInfo {
  public:
    virtual ~ScreenInfo() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // How many of the display's pixels one pixel of a screen takes: above 1
    // when the screens are drawn larger to suit a large display.
    virtual double scale() const = 0;
};
