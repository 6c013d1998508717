#pragma once

#include <optional>
#include <string>
#include <string_view>

// The data files' Windows-1252 text in UTF-8 for files read elsewhere, and
// back. Bytes that Windows-1252 leaves unassigned pass as U+FFFD.
std::string Utf8FromCp1252(std::string_view bytes);

// The Windows-1252 bytes of UTF-8 text. On failure, `refused` names the first
// character that cannot be held ("U+4E2D") or says that the text is no UTF-8.
std::optional<std::string> Cp1252FromUtf8(std::string_view text, std::string& refused);
