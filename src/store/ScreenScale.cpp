#include "store/ScreenScale.h"

#include <charconv>

namespace {

// The displays the screens were made for, up to twice their size, keep them
// as they are.
constexpr DisplaySize Classic{1280, 960};

bool fits(DisplaySize framed, double factor, DisplaySize display) {
    return framed.width * factor <= display.width && framed.height * factor <= display.height;
}

} // namespace

double ScreenScale(DisplaySize display, DisplaySize framed, std::string_view option) {
    double chosen = 0;
    const char* end = option.data() + option.size();
    if (auto [at, error] = std::from_chars(option.data(), end, chosen);
        error == std::errc() && at == end && chosen >= 1)
        return chosen;
    if (display.width <= Classic.width && display.height <= Classic.height) return 1.0;
    if (framed.width <= 0 || framed.height <= 0) return 1.0;
    double factor = 1.0;
    while (fits(framed, factor + 0.5, display))
        factor += 0.5;
    return factor;
}
