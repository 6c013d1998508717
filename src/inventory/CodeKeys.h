#pragma once

#include <string>

// The rules of a code field: "/", digits and capitals build the code (small
// letters are taken as capitals), Backspace takes the last character back,
// every other key is dropped; Enter completes a code that is not empty, and
// the 13th character completes it at once, as a scanned EAN-13 ends.
enum class CodeKey { Dropped, Typed, Completed, EnterOnEmpty };

// Applies one typed key to EnteredCode. `key` comes back as the field should
// take it: a capital, Backspace, or 0 when the field takes nothing.
CodeKey TakeCodeKey(std::string& EnteredCode, char& key);
