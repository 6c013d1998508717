#pragma once

#include <optional>
#include <string>
#include <string_view>

// A printer or release code of a docket row as Configur.dat keeps it: decimal
// byte values 0 to 255 separated by commas ("27,33,48"), blanks allowed around
// each; "?" or nothing means no code. Returns the bytes, or nothing when the
// text is no such list.
std::optional<std::string> ParseByteList(std::string_view text);
