#pragma once

class ScreenInfo {
  public:
    virtual ~ScreenInfo() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};
