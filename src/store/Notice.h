#pragma once

#include <string>
#include <vector>

// What logic has to tell the operator. Logic never shows anything itself: it
// returns its notices, and the screen that called it shows them, as a message
// box or, for a note that only informs, in its prompt area. Texts are
// Windows-1252 bytes; "\r" and "\r\n" break lines.
struct Notice {
    enum class Kind {
        Message, // the operator must read it before going on: a message box
        Note,    // it only informs: the prompt area, never a box that takes keys
    };
    std::string text;
    Kind kind = Kind::Message;
};

using Notices = std::vector<Notice>;
