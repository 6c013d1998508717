#pragma once

#include <string_view>

// How large the screens are drawn. They are fixed layouts made for a
// 640 x 480 display; on today's larger displays they would be a small island
// in the corner, so they are drawn larger by a whole or half factor, fonts
// and layout together.

struct DisplaySize {
    int width = 0;
    int height = 0;
};

// Every screen, with its window frame, fits a 640 x 480 display.
inline constexpr DisplaySize FramedScreenSize{640, 480};

// The factor for the Options.dat value `scale` ("auto", "1", "1.5", "2",
// "2.5" or "3"). A number is taken as it stands. "auto" (and anything else)
// draws the screens as laid out on a display of at most 1280 x 960, and on a
// display wider or higher than that at the largest whole or half factor at
// which `framed` still fits it. A display of unknown size (0 x 0) is taken
// for a small one.
double ScreenScale(DisplaySize display, DisplaySize framed, std::string_view option);
