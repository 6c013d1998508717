#include "store/ScreenScale.h"

#include <gtest/gtest.h>

TEST(ScreenScale, TheLargestHalfStepThatFitsAboveTheClassicDisplays) {
    struct Case {
        DisplaySize display;
        DisplaySize framed;
        const char* option;
        double factor;
    } cases[] = {
        {{640, 480}, FramedScreenSize, "auto", 1},
        {{1024, 768}, FramedScreenSize, "auto", 1},  // 1.5 would fit: a classic display
        {{1280, 960}, FramedScreenSize, "auto", 1},  // the last classic one
        {{1280, 1024}, FramedScreenSize, "auto", 2}, // exactly twice as wide
        {{1366, 768}, FramedScreenSize, "auto", 1.5},
        {{1600, 900}, FramedScreenSize, "auto", 1.5}, // twice would be 960 high
        {{1920, 1080}, FramedScreenSize, "auto", 2},
        {{2560, 1440}, FramedScreenSize, "auto", 3}, // fits exactly
        {{3840, 2160}, FramedScreenSize, "auto", 4.5},
        {{5120, 1080}, FramedScreenSize, "auto", 2}, // two displays side by side
        {{1920, 1080}, {700, 560}, "auto", 1.5},     // a taller screen
        {{1920, 1080}, {0, 0}, "auto", 1},
        {{0, 0}, FramedScreenSize, "auto", 1}, // size unknown
        // The owner's choice stands, fitting or not.
        {{1920, 1080}, FramedScreenSize, "1", 1},
        {{640, 480}, FramedScreenSize, "2.5", 2.5},
        {{1920, 1080}, FramedScreenSize, "3", 3},
        {{1920, 1080}, FramedScreenSize, "", 2},
        {{1920, 1080}, FramedScreenSize, "0.5", 2},
        {{1920, 1080}, FramedScreenSize, "2x", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScreenScale(c.display, c.framed, c.option), c.factor)
            << c.display.width << "x" << c.display.height << " framed " << c.framed.width << "x"
            << c.framed.height << " scale=" << c.option;
}
